// The XDG autostart entry that starts Halvika with the desktop session, minimised to the tray:
// $XDG_CONFIG_HOME/autostart/halvika.desktop (~/.config when that variable is empty).
#pragma once

#include <string>

namespace halvika {

class AutostartEntry {
public:
    AutostartEntry(const std::string& xdgConfigHome, const std::string& userHome);

    const std::string& path() const { return m_path; }
    bool exists() const;
    /// Writes the entry for the program and home folder; false when it could not be written.
    bool write(const std::string& program, const std::string& homeFolder) const;
    /// Removes it; true also when there was none.
    bool remove() const;
    /// Writes or removes it.
    bool set(bool on, const std::string& program, const std::string& homeFolder) const;

    /// The entry's text: the program started with --hidden and --home, quoted as desktop entries want.
    static std::string contents(const std::string& program, const std::string& homeFolder);

private:
    std::string m_path;
};

} // namespace halvika
