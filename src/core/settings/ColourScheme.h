// The colour scheme: numbered colour slots and named colours from a ".csc" file.
#pragma once

#include "app/AppPaths.h"
#include "dates/Date.h"
#include "settings/modIniFileHandling.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvika {

/// Colours are 32-bit numbers red + 256 green + 65536 blue; -1 means "not defined", and a negative
/// number is a system colour whose low 31 bits index the desktop's palette.
class ColourScheme {
public:
    static constexpr int kSlots = 50;
    /// The system's window-text colour.
    static constexpr std::int32_t windowText = -2147483640;
    static constexpr const char* section = "Colors";

    ColourScheme(const AppPaths& paths, modIniFileHandling& ini) : m_paths(paths), m_ini(&ini) {}

    /// "#RRGGBB", or a "&H" hexadecimal literal taken as it stands (BBGGRR); -1 for anything else.
    static std::int32_t parseSchemeColour(std::string_view text);
    /// Lightens towards white or darkens towards black by `fraction`; fraction 1 or more gives black.
    /// System colours are first resolved through `systemColour`.
    static std::int32_t shadeColour(std::int32_t colour, double fraction, bool lighten,
                                    const std::function<std::int32_t(int)>& systemColour = {});

    /// All slots undefined.
    void resetSchemeColours() { m_slots.fill(-1); }
    /// Loads `<name>.csc`. When no such file exists the scheme name becomes "" and every lookup gives the
    /// caller's default. Returns the name now in use.
    std::string loadColourScheme(const std::string& name);
    /// The base names of the ".csc" files in the folders, each once, sorted.
    static std::vector<std::string> listSchemes(const std::vector<std::string>& folders);
    const std::string& schemeName() const { return m_name; }

    std::int32_t getSchemeColour(int slot, std::int32_t def) const;
    std::string getSchemeColourText(int slot, std::int32_t def) const;
    std::string getNamedSchemeColourText(const std::string& key, std::int32_t def) const;
    /// A mix of slots A and B by the logarithm of the distance between the moments: closer than about ten
    /// seconds gives A, ten years or more gives B. "" when no scheme is loaded.
    std::string getTimeGradientColourText(const Date& first, const Date& second, int slotA, int slotB) const;

private:
    std::string schemePath() const;

    const AppPaths& m_paths;
    modIniFileHandling* m_ini;
    std::string m_name;
    std::array<std::int32_t, kSlots> m_slots{};
};

} // namespace halvika
