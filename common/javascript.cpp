#include "javascript.h"

#include <QWebEnginePage>

QString FormatScriptCall(const QString& format, const QStringList& texts)
{
    QString out;
    out.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar f = format.at(i + 1);
            if (f == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
            if (f == QLatin1Char('s')) {
                if (next < texts.size())
                    out += texts.at(next);
                ++next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString JavaScriptStringLiteral(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case 0x2028: out += QStringLiteral("\\u2028"); break;
        case 0x2029: out += QStringLiteral("\\u2029"); break;
        case '<': out += QStringLiteral("\\x3c"); break; // keeps "</script>" inert
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

void CallJavaScritpFunction(QWebEnginePage* page, const QString& format, const QStringList& texts)
{
    if (page)
        page->runJavaScript(FormatScriptCall(format, texts));
}
