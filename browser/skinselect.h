#pragma once

#include <QList>
#include <QRegion>
#include <QString>

#include <functional>

class QImage;

// The rules of the skin dialog: what the preview page's special addresses mean, which
// skins it shows, and the dialog's shape.
namespace SkinSelect {

enum class Action {
    Navigate, // not an "app:" address: the page goes there as usual
    Close,    // "closewindow@@@": the dialog closes, nothing changes
    Change,   // "OnChangeSurface@@@" + INI_FILE + "@@@SC@@@" + identifier
    Nothing,  // any other "app:" address
};
struct AppAddress {
    Action action;
    QString choice; // for Change: the text after "OnChangeSurface@@@"
};
AppAddress ParseAddress(const QString& address);

// A choice "<program folder>/skin/<INI_FILE>@@@SC@@@<identifier>" taken apart: the path
// up to the first "@@@", the identifier after the first "@@@SC@@@". Either is empty
// when the text lacks its marker.
struct Choice {
    QString definition;
    QString id;
};
Choice SplitChoice(const QString& text);

// One skin of the skin list as the preview page shows it.
struct PreviewBox {
    QString normal, hover, press; // full paths of the three preview pictures
    QString iniFile, iniName, id;
};
// Every skin of the skin list in file order, without those `usable` turns down (a
// skin whose definition or pictures are missing cannot be put on).
QList<PreviewBox> PreviewBoxes(const std::function<bool(const QString& definition)>& usable);

// The window's shape: every pixel that is not pure magenta, gathered row by row from
// the bottom row up, one rectangle for each run.
QRegion WindowShape(const QImage& picture);

} // namespace SkinSelect
