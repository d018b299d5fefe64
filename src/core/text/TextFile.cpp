// Whole-file reading and atomic whole-file replacement.
#include "text/TextFile.h"

#include "text/Encoding.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace halvika {

namespace {

/// Sets the reason from errno (or the given text) and answers false.
bool failed(std::string* reason, const char* text = nullptr) {
    if (reason != nullptr) {
        *reason = text != nullptr ? text : std::strerror(errno);
    }
    return false;
}

bool writeAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> TextFile::readBytes(const std::string& path, std::string* reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        failed(reason);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kMaxFileSize) {
        failed(reason, S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a file of a size that can be read");
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    content.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    for (;;) {
        if (done == content.size()) {
            // The file may have grown since fstat; read on in steps, within the size limit.
            if (content.size() >= kMaxFileSize) {
                failed(reason, "it is too large");
                ::close(fd);
                return std::nullopt;
            }
            content.resize(content.size() + 4096);
        }
        const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            failed(reason);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    content.resize(done);
    return content;
}

std::optional<std::string> TextFile::readText(const std::string& path, std::string* reason, bool* repaired) {
    auto bytes = readBytes(path, reason);
    if (!bytes) {
        return std::nullopt;
    }
    return Encoding::decodeFileText(*bytes, repaired);
}

bool TextFile::writeAtomically(const std::string& path, const std::string& content, std::string* reason) {
    if (path.empty()) {
        return failed(reason, "no file name");
    }
    std::string tmpl = path + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        return failed(reason);
    }
    // mkstemp creates the file 0600; a replaced file keeps the usual permissions.
    ::fchmod(fd, 0644);
    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    if (!ok) {
        failed(reason);
    }
    if (::close(fd) != 0 && ok) {
        ok = failed(reason);
    }
    if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) {
        ok = failed(reason);
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
    }
    return ok;
}

int TextFile::removeLeftoverTemporaries(const std::string& folder) {
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || name.size() - dot != 7 || !it->is_regular_file(error)) {
            continue;
        }
        const std::string kept = name.substr(0, dot);
        const bool ours =
            kept.size() > 4 && (kept.ends_with(".agx") || kept.ends_with(".cfx") || kept.ends_with(".txt"));
        const bool suffix = std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                                        [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
        std::error_code ignored;
        if (ours && suffix && std::filesystem::remove(it->path(), ignored)) {
            ++removed;
        }
    }
    return removed;
}

bool TextFile::exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

} // namespace halvika
