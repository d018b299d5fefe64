// The home folder and where shipped data files are looked up.
#include "app/AppPaths.h"

#include "text/TextFile.h"

#include <cerrno>
#include <sys/stat.h>

namespace halvika {

AppPaths::AppPaths(std::string home, std::vector<std::string> dataFolders)
    : m_home(std::move(home)), m_dataFolders(std::move(dataFolders)) {}

std::string AppPaths::resolveHome(const std::string& homeOption, const std::string& halvikaHome,
                                  const std::string& xdgDataHome, const std::string& userHome) {
    if (!homeOption.empty()) {
        return homeOption;
    }
    if (!halvikaHome.empty()) {
        return halvikaHome;
    }
    if (!xdgDataHome.empty()) {
        return xdgDataHome + "/halvika";
    }
    return userHome + "/.local/share/halvika";
}

bool AppPaths::ensureFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') {
            const std::string part = path.substr(0, pos);
            if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string AppPaths::homeFile(const std::string& name) const {
    return m_home + "/" + name;
}

std::string AppPaths::findFile(const std::string& name) const {
    if (TextFile::exists(homeFile(name))) {
        return homeFile(name);
    }
    for (const auto& folder : m_dataFolders) {
        const std::string path = folder + "/" + name;
        if (TextFile::exists(path)) {
            return path;
        }
    }
    return "";
}

} // namespace halvika
