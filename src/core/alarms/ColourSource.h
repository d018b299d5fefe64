// Where alarm and action descriptions find their colours; the colour scheme is one.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <string>

namespace halvika {

/// Colours are 32-bit numbers red + 256 green + 65536 blue; -1 means "not defined", and a negative
/// number is a system colour whose low 31 bits index the desktop's palette.
class ColourSource {
public:
    /// The system's window-text colour.
    static constexpr std::int32_t windowText = -2147483640;

    virtual ~ColourSource() = default;

    /// "" when no scheme is chosen.
    virtual const std::string& schemeName() const = 0;
    /// A numbered slot's colour as text; `def` when the slot is undefined.
    virtual std::string getSchemeColourText(int slot, std::int32_t def) const = 0;
    virtual std::string getNamedSchemeColourText(const std::string& key, std::int32_t def) const = 0;
    /// A mix of slots A and B by how far apart the moments are; "" when no scheme is loaded.
    virtual std::string getTimeGradientColourText(const Date& first, const Date& second, int slotA,
                                                  int slotB) const = 0;

protected:
    ColourSource() = default;
    ColourSource(const ColourSource&) = default;
    ColourSource& operator=(const ColourSource&) = default;
};

} // namespace halvika
