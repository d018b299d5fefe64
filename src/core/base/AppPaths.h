// The home folder and where shipped data files are looked up.
#pragma once

#include <string>
#include <vector>

namespace halvika {

/// Files are looked up in the home folder first, then in the data folders in order, so that a user's
/// own file wins over a shipped one of the same name.
class AppPaths {
public:
    AppPaths(std::string home, std::vector<std::string> dataFolders);

    /// `--home` when given, else $HALVIKA_HOME, else $XDG_DATA_HOME/halvika, else $HOME/.local/share/halvika.
    /// Empty arguments count as not given.
    static std::string resolveHome(const std::string& homeOption, const std::string& halvikaHome,
                                   const std::string& xdgDataHome, const std::string& userHome);
    /// Creates the folder and its parents when missing. False when it still is not a folder.
    static bool ensureFolder(const std::string& path);

    const std::string& home() const { return m_home; }
    const std::vector<std::string>& dataFolders() const { return m_dataFolders; }
    /// home + "/" + name.
    std::string homeFile(const std::string& name) const;
    /// The first existing file of that name in the home folder or a data folder; "" when there is none.
    std::string findFile(const std::string& name) const;
    /// The sound files shipped or added by the user in a "sounds" folder, each name once (the user's own
    /// first), sorted by name.
    std::vector<std::string> sounds() const;
    /// The first "sounds" folder there is (where a sound file dialog starts); the home folder when none.
    std::string soundsFolder() const;

private:
    std::string m_home;
    std::vector<std::string> m_dataFolders;
};

} // namespace halvika
