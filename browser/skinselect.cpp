#include "skinselect.h"

#include "browserlog.h"
#include "inioperater.h"
#include "paths.h"
#include "skinfiles.h"

#include <QImage>

namespace SkinSelect {

namespace {
const QLatin1String kAppScheme("app:");
const QLatin1String kClose("closewindow@@@");
const QLatin1String kChange("OnChangeSurface@@@");
const QLatin1String kChoiceMark("@@@SC@@@");
} // namespace

AppAddress ParseAddress(const QString& address)
{
    if (!address.startsWith(kAppScheme))
        return {Action::Navigate, {}};
    if (address.contains(kClose))
        return {Action::Close, {}};
    const qsizetype change = address.indexOf(kChange);
    if (change >= 0)
        return {Action::Change, address.mid(change + kChange.size())};
    return {Action::Nothing, {}};
}

Choice SplitChoice(const QString& text)
{
    Choice choice;
    const qsizetype end = text.indexOf(QLatin1String("@@@"));
    if (end >= 0)
        choice.definition = text.left(end);
    const qsizetype mark = text.indexOf(kChoiceMark);
    if (mark >= 0)
        choice.id = text.mid(mark + kChoiceMark.size());
    return choice;
}

QList<PreviewBox> PreviewBoxes(const std::function<bool(const QString& definition)>& usable)
{
    QList<PreviewBox> boxes;
    const CINIOperater list(SkinFiles::SkinListPath());
    for (const QString& id : list.ReadSections()) {
        const QString iniFile = list.ReadString(id, QStringLiteral("INI_FILE"));
        const QString definition = GetShortPathNameA(SkinFiles::SkinDefinition(iniFile));
        if (!usable(definition)) {
            qCWarning(lcBrowser) << "the skin" << id << "is not offered:" << definition << "cannot be shown whole";
            continue;
        }
        const QString folder = definition.left(definition.lastIndexOf(QLatin1Char('/')) + 1);
        const CINIOperater skin(definition);
        const auto picture = [&](const char* key) {
            return folder + skin.ReadString(QStringLiteral("SUFACE_PREV"), QLatin1String(key));
        };
        boxes.append({picture("PREV_IMAGE_NORMAL"), picture("PREV_IMAGE_HOVER"), picture("PREV_IMAGE_PRESS"), iniFile,
                      list.ReadString(id, QStringLiteral("INI_NAME")), id});
    }
    return boxes;
}

QRegion WindowShape(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    QRegion shape;
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && (row[x] & 0xffffff) == (magenta & 0xffffff))
                ++x;
            const int start = x;
            while (x < image.width() && (row[x] & 0xffffff) != (magenta & 0xffffff))
                ++x;
            if (x > start)
                shape += QRect(start, y, x - start, 1);
        }
    }
    return shape;
}

} // namespace SkinSelect
