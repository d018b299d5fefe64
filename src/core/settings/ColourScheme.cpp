// The colour scheme: numbered colour slots and named colours from a ".csc" file.
#include "settings/ColourScheme.h"

#include <filesystem>
#include <set>

#include "dates/DateUnits.h"

#include <cmath>

namespace halvika {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::int32_t channelsToColour(double red, double green, double blue) {
    return static_cast<std::int32_t>(std::nearbyint(red)) + 256 * static_cast<std::int32_t>(std::nearbyint(green)) +
           65536 * static_cast<std::int32_t>(std::nearbyint(blue));
}

} // namespace

std::int32_t ColourScheme::parseSchemeColour(std::string_view text) {
    if (!text.empty() && text.front() == '#') {
        if (text.size() < 7) {
            return -1;
        }
        std::int32_t channels[3];
        for (int i = 0; i < 3; ++i) {
            const int hi = hexValue(text[1 + 2 * i]);
            const int lo = hexValue(text[2 + 2 * i]);
            if (hi < 0 || lo < 0) {
                return -1;
            }
            channels[i] = hi * 16 + lo;
        }
        return channels[0] + 256 * channels[1] + 65536 * channels[2];
    }
    if (text.size() >= 3 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        std::string_view digits = text.substr(2);
        if (!digits.empty() && digits.back() == '&') {
            digits.remove_suffix(1);
        }
        if (digits.empty() || digits.size() > 8) {
            return -1;
        }
        std::uint32_t value = 0;
        for (const char c : digits) {
            const int v = hexValue(c);
            if (v < 0) {
                return -1;
            }
            value = value * 16 + static_cast<std::uint32_t>(v);
        }
        // A literal of eight digits is a signed 32-bit number: &H80000008 is a system colour.
        return static_cast<std::int32_t>(value);
    }
    return -1;
}

std::int32_t ColourScheme::shadeColour(std::int32_t colour, double fraction, bool lighten,
                                       const std::function<std::int32_t(int)>& systemColour) {
    if (fraction >= 1) {
        return 0;
    }
    if (colour < 0) {
        colour = systemColour ? systemColour(colour & 0x7FFFFFFF) : 0;
    }
    const double channels[3] = {static_cast<double>(colour % 256), static_cast<double>(colour / 256 % 256),
                                static_cast<double>(colour / 65536 % 256)};
    double shaded[3];
    for (int i = 0; i < 3; ++i) {
        shaded[i] = lighten ? channels[i] + (255 - channels[i]) * fraction : channels[i] - channels[i] * fraction;
    }
    return channelsToColour(shaded[0], shaded[1], shaded[2]);
}

std::string ColourScheme::schemePath() const {
    return m_paths.findFile(m_name + ".csc");
}

std::string ColourScheme::loadColourScheme(const std::string& name) {
    m_name = name;
    resetSchemeColours();
    const std::string path = name.empty() ? std::string() : schemePath();
    if (path.empty()) {
        m_name.clear();
        return m_name;
    }
    m_ini->forget(path); // a scheme chosen again is read again
    for (int n = 0; n < kSlots; ++n) {
        const std::string value = m_ini->getIniFileValue(path, section, "s" + std::to_string(n), "-1");
        m_slots[static_cast<std::size_t>(n)] = value == "-1" ? -1 : parseSchemeColour(value);
    }
    return m_name;
}

std::int32_t ColourScheme::getSchemeColour(int slot, std::int32_t def) const {
    if (m_name.empty() || slot < 0 || slot >= kSlots || m_slots[static_cast<std::size_t>(slot)] == -1) {
        return def;
    }
    return m_slots[static_cast<std::size_t>(slot)];
}

std::string ColourScheme::getSchemeColourText(int slot, std::int32_t def) const {
    return std::to_string(getSchemeColour(slot, def));
}

std::string ColourScheme::getNamedSchemeColourText(const std::string& key, std::int32_t def) const {
    if (!m_name.empty()) {
        const std::int32_t colour = parseSchemeColour(m_ini->getIniFileValue(schemePath(), section, key, "-1"));
        if (colour != -1) {
            return std::to_string(colour);
        }
    }
    return std::to_string(def);
}

std::string ColourScheme::getTimeGradientColourText(const Date& first, const Date& second, int slotA, int slotB) const {
    if (m_name.empty()) {
        return "";
    }
    double d = static_cast<double>(second.serialSeconds() - first.serialSeconds());
    if (d >= 315360000.0) {
        d = 315360000.0;
    }
    d /= 10;
    if (d < 0) {
        d = -d;
    }
    if (d == 0) {
        d = 1;
    }
    double t = std::log10(d) / 7.5;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const std::int32_t a = getSchemeColour(slotA, 0);
    const std::int32_t b = getSchemeColour(slotB, 0);
    const double red = (1 - t) * (a & 255) + t * (b & 255);
    const double green = ((1 - t) * (a & 65280) + t * (b & 65280)) / 256;
    const double blue = ((1 - t) * (a & 16711680) + t * (b & 16711680)) / 65536;
    return std::to_string(channelsToColour(red, green, blue));
}

std::vector<std::string> ColourScheme::listSchemes(const std::vector<std::string>& folders) {
    std::set<std::string> names;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().extension() == ".csc") {
                names.insert(entry.path().stem().string());
            }
        }
    }
    return {names.begin(), names.end()};
}

} // namespace halvika
