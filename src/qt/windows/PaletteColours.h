// Colour numbers (red in the lowest byte, system colours with the sign bit) drawn with the desktop's palette.
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>
#include <string>

namespace halvika {

class PaletteColours {
public:
    /// A system colour (negative) takes the palette role that stands for it; any other number is RGB.
    static QColor fromNumber(std::int32_t number, const QPalette& palette);
    /// Decimal text as the core writes it; "" (no scheme colour) is the palette's text colour. A colour
    /// too close to the base colour to be read is moved towards the text colour, so that a scheme made for
    /// light desktops stays legible on a dark one.
    static QColor forText(const std::string& number, const QPalette& palette);
    /// As `forText`, for a number already read.
    static QColor legibleOn(const QColor& colour, const QPalette& palette);
};

} // namespace halvika
