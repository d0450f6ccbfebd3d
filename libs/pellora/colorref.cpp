#include "colorref.h"

namespace Pellora {

QColor ColorRefToQColor(unsigned long colorRef)
{
    return QColor(int(colorRef & 0xff), int((colorRef >> 8) & 0xff), int((colorRef >> 16) & 0xff));
}

unsigned long QColorToColorRef(const QColor& color)
{
    return MakeColorRef(color.red(), color.green(), color.blue());
}

bool ParseColorRef(const QString& text, unsigned long* value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    if (i < n && text.at(i) == QLatin1Char('+'))
        ++i;
    auto hexDigit = [&](qsizetype at) -> int {
        if (at >= n)
            return -1;
        const char16_t c = text.at(at).unicode();
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    // "0x" counts as a prefix only when a digit follows; "0xg" reads as the number 0.
    if (hexDigit(i) == 0 && i + 1 < n && (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))
        && hexDigit(i + 2) >= 0)
        i += 2;
    quint64 result = 0;
    int digits = 0;
    for (int d = hexDigit(i); d >= 0; d = hexDigit(++i)) {
        result = (result << 4) | quint64(d);
        if (result > 0xffffffffull)
            return false;
        ++digits;
    }
    if (digits == 0)
        return false;
    *value = static_cast<unsigned long>(result);
    return true;
}

} // namespace Pellora
