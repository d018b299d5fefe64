// The autostart entry file.
#include "app/AutostartEntry.h"

#include "text/TextFile.h"

#include <filesystem>

namespace halvika {

namespace {

/// An Exec argument: quoted when it needs to be, with the characters that are special inside quotes escaped.
std::string execArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`=%") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        // A literal percent sign is doubled in an Exec line.
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return quoted + "\"";
}

} // namespace

AutostartEntry::AutostartEntry(const std::string& xdgConfigHome, const std::string& userHome) {
    const std::string config = !xdgConfigHome.empty() ? xdgConfigHome : userHome + "/.config";
    m_path = config + "/autostart/halvika.desktop";
}

bool AutostartEntry::exists() const {
    return TextFile::exists(m_path);
}

std::string AutostartEntry::contents(const std::string& program, const std::string& homeFolder) {
    std::string exec = execArgument(program) + " --hidden";
    if (!homeFolder.empty()) {
        exec += " --home " + execArgument(homeFolder);
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Halvika\n"
           "Comment=Alarm clock and reminders\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=halvika\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool AutostartEntry::write(const std::string& program, const std::string& homeFolder) const {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
    return TextFile::writeAtomically(m_path, contents(program, homeFolder));
}

bool AutostartEntry::remove() const {
    std::error_code error;
    std::filesystem::remove(m_path, error);
    return !exists();
}

bool AutostartEntry::set(bool on, const std::string& program, const std::string& homeFolder) const {
    return on ? write(program, homeFolder) : remove();
}

} // namespace halvika
