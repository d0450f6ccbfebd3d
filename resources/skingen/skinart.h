#pragma once

#include "theme.h"

#include <QImage>

// The pictures of one default skin, drawn at the sizes the controls use them. Pictures
// are transparent where the skin bitmap will be magenta.

enum class FaceLook { Normal, Hover, Press };
enum class ArrowLook { Normal, Press, Disable };

// Colours the pictures are mostly seen on (their soft edges are laid over these).
QColor ToolbarMidColor(const Theme& t);
QColor TabStripColor(const Theme& t);

QImage ToolbarBackground(const Theme& t);              // 200 x 72, tiled across the toolbar
QImage TabStripBackground(const Theme& t);             // 40 x 31
QImage TabArrow(const Theme& t, bool forward, ArrowLook look); // 19 x 25
QImage TabWhole(const Theme& t, bool active);          // 24 x 25: left 8, middle 8, right 8
QImage TabClose(const Theme& t);                       // 16 x 16
QImage FieldWhole(const Theme& t);                     // 32 x 32: left 12, middle 8, right 12
QImage FieldButton(const Theme& t, bool pressed);      // 22 x 18
QImage DialogTitleWhole(const Theme& t);               // 58 x 15: left 24, middle 10, right 24
QImage DialogBorder(const Theme& t, bool right);       // 15 x 15
QImage DialogBottomWhole(const Theme& t);              // 58 x 15
QImage ButtonWhole(const Theme& t, FaceLook look);     // 28 x 30: left 10, middle 8, right 10
QImage PreviewDialogBackground(const Theme& t);        // 480 x 360
QImage PreviewCard(const Theme& t, FaceLook look);     // 132 x 100
