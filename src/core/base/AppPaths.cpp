// The home folder and where shipped data files are looked up.
#include "base/AppPaths.h"

#include "text/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
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

std::vector<std::string> AppPaths::sounds() const {
    std::vector<std::string> folders{m_home};
    folders.insert(folders.end(), m_dataFolders.begin(), m_dataFolders.end());
    std::map<std::string, std::string> byName;
    for (const auto& folder : folders) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder + "/sounds", error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file(error)) {
                byName.emplace(it->path().filename().string(), it->path().string());
            }
        }
    }
    std::vector<std::string> paths;
    for (const auto& [name, path] : byName) {
        paths.push_back(path);
    }
    return paths;
}

std::string AppPaths::soundsFolder() const {
    std::vector<std::string> folders{m_home};
    folders.insert(folders.end(), m_dataFolders.begin(), m_dataFolders.end());
    for (const auto& folder : folders) {
        std::error_code error;
        if (std::filesystem::is_directory(folder + "/sounds", error)) {
            return folder + "/sounds";
        }
    }
    return m_home;
}

} // namespace halvika
