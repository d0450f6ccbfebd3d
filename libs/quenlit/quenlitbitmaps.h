#pragma once

#include "quenlit_export.h"

#include <QImage>
#include <QPixmap>
#include <QRegion>

namespace Quenlit {

// The library's own bitmaps, drawn in code once and kept for the life of the process.
namespace Bitmap {
enum Id : int {
    DialogCornerBottomRight = 1000,
    TitleLeft = 1002,
    TitleRight = 1003,
    BorderBottom = 1004,
    BorderLeft = 1005,
    DialogCornerBottomLeft = 1006,
    BorderRight = 1007,
    TitleMiddle = 1008,
    TabButtonBack = 1009,
    ButtonNormalLeft = 1010,
    ButtonNormalMiddle = 1011,
    ButtonNormalRight = 1012,
    ButtonHoverLeft = 1013,
    ButtonHoverMiddle = 1014,
    ButtonHoverRight = 1015,
    ButtonPressLeft = 1016,
    ButtonPressMiddle = 1017,
    ButtonPressRight = 1018,
    RadioNormal = 1019,
    RadioHover = 1020,
    RadioChecked = 1021,
    HeaderBack = 1022,
    HeaderLeft = 1023,
    HeaderRight = 1024,
    // Page-button icons; pure red is their transparent colour.
    IconGeneral = 134,
    IconTime = 159,
    IconPassword = 160,
    IconRecommend = 161,
    IconHistory = 162,
    IconAbout = 163,
};
} // namespace Bitmap

// The transparent colour of the page-button icons.
inline constexpr QRgb kIconTransparentColor = 0xffff0000;

// The bitmap with that id, or a null image (reported once per id) for an id the library
// does not have.
QUENLIT_EXPORT QImage LoadQuenlitBitmap(int id);

// The image with every pixel of the key colour made transparent.
QUENLIT_EXPORT QPixmap KeyedPixmap(const QImage& image, QRgb transparentColor);

// A rectangle with its corners rounded by ellipses of the given size, as a window region.
QUENLIT_EXPORT QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight);

// Dialog units of the dialogs' font turned into pixels (a unit is a quarter of the average
// character width across and an eighth of the character height down).
QUENLIT_EXPORT QRect DialogUnitsToPixels(const QRect& units);
QUENLIT_EXPORT QSize DialogUnitsToPixels(const QSize& units);

} // namespace Quenlit
