#include "sounding/WildcardPath.h"

#include "base/DiskProbe.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <memory>

namespace halvika {

bool WildcardPath::hasWildcards(std::string_view path) {
    return path.find_first_of("*?") != std::string_view::npos;
}

namespace {

std::vector<std::string> listMatches(const std::string& path) {
    std::vector<std::string> found;
    const std::size_t cut = path.find_last_of("/\\");
    const std::string folderPart = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string pattern = cut == std::string::npos ? path : path.substr(cut + 1);
    if (!WildcardPath::hasWildcards(pattern)) {
        return found;
    }
    const std::string folder = folderPart.empty() ? std::string(".") : folderPart;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) {
        return found;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || fnmatch(pattern.c_str(), name.c_str(), 0) != 0) {
            continue;
        }
        struct stat info {};
        const std::string candidate = folderPart + name;
        if (stat((folderPart.empty() ? name : candidate).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            continue;
        }
        found.push_back(candidate);
    }
    return found;
}

} // namespace

std::vector<std::string> WildcardPath::matches(const std::string& path) {
    // Listed when an alarm sounds or starts its program: a folder that does not answer in time has no match.
    if (!hasWildcards(path)) {
        return {};
    }
    return DiskProbe::forAlarms()
        .ask<std::vector<std::string>>([path] { return listMatches(path); })
        .value_or(std::vector<std::string>());
}

std::string WildcardPath::choose(const std::string& path, std::mt19937& random) {
    const std::vector<std::string> found = matches(path);
    if (found.empty()) {
        return path;
    }
    std::uniform_int_distribution<std::size_t> pick(0, found.size() - 1);
    return found[pick(random)];
}

} // namespace halvika
