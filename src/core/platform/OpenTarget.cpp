#include "platform/OpenTarget.h"

#include <cctype>
#include <sys/stat.h>
#include <unistd.h>

namespace halvika {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

/// A scheme of two or more letters, so that "C:\x" of an old Windows setting is not taken for one.
bool isAddress(const std::string& target) {
    const auto colon = target.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(target[0]))) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(target[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

OpenTarget fileTarget(const std::string& path) {
    if (isExecutableFile(path)) {
        return {OpenTarget::Kind::Program, path};
    }
    if (exists(path)) {
        return {OpenTarget::Kind::Document, path};
    }
    return {OpenTarget::Kind::Missing, path};
}

} // namespace

OpenTarget OpenTarget::resolve(const std::string& target, const std::string& workingFolder,
                               const std::string& searchPath) {
    if (target.empty()) {
        return {};
    }
    if (target.front() == '/') {
        return fileTarget(target);
    }
    if (isAddress(target)) {
        return {Kind::Address, target};
    }
    if (!workingFolder.empty()) {
        const OpenTarget inFolder = fileTarget(workingFolder + "/" + target);
        if (inFolder.kind != Kind::Missing) {
            return inFolder;
        }
    }
    if (target.find('/') != std::string::npos) {
        return fileTarget(target); // relative to where the program runs, as before
    }
    std::string::size_type start = 0;
    while (start <= searchPath.size()) {
        auto end = searchPath.find(':', start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        const std::string folder = searchPath.substr(start, end - start);
        if (!folder.empty() && isExecutableFile(folder + "/" + target)) {
            return {Kind::Program, folder + "/" + target};
        }
        start = end + 1;
    }
    return fileTarget(target);
}

} // namespace halvika
