// The colour scheme: numbered colour slots and named colours from a ".csc" file.
#pragma once

#include "alarms/ColourSource.h"
#include "base/AppPaths.h"
#include "dates/Date.h"
#include "settings/modIniFileHandling.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvika {

class ColourScheme : public ColourSource {
public:
    static constexpr int kSlots = 50;
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
    const std::string& schemeName() const override { return m_name; }

    std::int32_t getSchemeColour(int slot, std::int32_t def) const;
    std::string getSchemeColourText(int slot, std::int32_t def) const override;
    std::string getNamedSchemeColourText(const std::string& key, std::int32_t def) const override;
    /// By the logarithm of the distance between the moments: closer than about ten seconds gives A, ten
    /// years or more gives B.
    std::string getTimeGradientColourText(const Date& first, const Date& second, int slotA, int slotB) const override;

private:
    std::string schemePath() const;

    const AppPaths& m_paths;
    modIniFileHandling* m_ini;
    std::string m_name;
    std::array<std::int32_t, kSlots> m_slots{};
};

} // namespace halvika
