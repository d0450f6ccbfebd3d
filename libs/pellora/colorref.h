#pragma once

#include "pellora_export.h"

#include <QColor>
#include <QString>

namespace Pellora {

// Skin colours are COLORREF values, 0x00BBGGRR: red in the low byte, blue in the third.
constexpr unsigned long MakeColorRef(int red, int green, int blue)
{
    return static_cast<unsigned long>(red & 0xff) | (static_cast<unsigned long>(green & 0xff) << 8)
        | (static_cast<unsigned long>(blue & 0xff) << 16);
}

// The colour a COLORREF stands for; the byte above blue is ignored.
PELLORA_EXPORT QColor ColorRefToQColor(unsigned long colorRef);
PELLORA_EXPORT unsigned long QColorToColorRef(const QColor& color);

// Reads a hexadecimal number the way "%x" does: leading blanks, an optional "+" and
// "0x", then as many hexadecimal digits as there are. False (value untouched) when no
// digit is found, for a minus sign, and for a number above 32 bits.
PELLORA_EXPORT bool ParseColorRef(const QString& text, unsigned long* value);

} // namespace Pellora
