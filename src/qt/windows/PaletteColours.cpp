#include "windows/PaletteColours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace halvika {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop colour indexes of the colour numbers, in index order.
constexpr std::array<SystemRole, 31> systemRoles{{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Window},          // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Highlight},     // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Window},          // active border
    {QPalette::Inactive, QPalette::Window},        // inactive border
    {QPalette::Active, QPalette::Dark},            // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Mid},             // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::WindowText},    // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // dark shadow
    {QPalette::Active, QPalette::Midlight},        // light 3D
    {QPalette::Active, QPalette::ToolTipText},     // tool tip text
    {QPalette::Active, QPalette::ToolTipBase},     // tool tip background
    {QPalette::Active, QPalette::Window},          // (unused index)
    {QPalette::Active, QPalette::Link},            // hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // active caption gradient
    {QPalette::Inactive, QPalette::Highlight},     // inactive caption gradient
    {QPalette::Active, QPalette::Highlight},       // menu highlight
    {QPalette::Active, QPalette::Window},          // menu bar
}};

QColor systemColour(int index, const QPalette& palette) {
    if (index < 0 || index >= static_cast<int>(systemRoles.size())) {
        return palette.color(QPalette::Active, QPalette::Text);
    }
    const SystemRole& r = systemRoles[static_cast<std::size_t>(index)];
    return palette.color(r.group, r.role);
}

double luminance(const QColor& colour) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Below this a coloured word is hard to read; the usual guideline for large text.
constexpr double minimumContrast = 3.0;

} // namespace

QColor PaletteColours::fromNumber(std::int32_t number, const QPalette& palette) {
    if (number < 0) {
        return systemColour(number & 0x7FFFFFFF, palette);
    }
    return QColor(number & 0xff, (number >> 8) & 0xff, (number >> 16) & 0xff);
}

QColor PaletteColours::legibleOn(const QColor& colour, const QPalette& palette) {
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    if (contrast(colour, base) >= minimumContrast || contrast(text, base) < minimumContrast) {
        return colour;
    }
    // Mix in the text colour step by step, keeping as much of the scheme's hue as legibility allows.
    for (int step = 1; step <= 4; ++step) {
        const double t = step / 4.0;
        const QColor mixed(static_cast<int>(std::lround(colour.red() * (1 - t) + text.red() * t)),
                           static_cast<int>(std::lround(colour.green() * (1 - t) + text.green() * t)),
                           static_cast<int>(std::lround(colour.blue() * (1 - t) + text.blue() * t)));
        if (contrast(mixed, base) >= minimumContrast) {
            return mixed;
        }
    }
    return text;
}

QColor PaletteColours::forText(const std::string& number, const QPalette& palette) {
    if (number.empty()) {
        return palette.color(QPalette::Active, QPalette::Text);
    }
    const long value = std::strtol(number.c_str(), nullptr, 10);
    return legibleOn(fromNumber(static_cast<std::int32_t>(value), palette), palette);
}

} // namespace halvika
