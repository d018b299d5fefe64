// Whole-file reading and atomic whole-file replacement.
#include "text/TextFile.h"

#include "text/Encoding.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace halvika {

namespace {

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

std::optional<std::string> TextFile::readBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kMaxFileSize) {
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

std::optional<std::string> TextFile::readText(const std::string& path) {
    auto bytes = readBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return Encoding::decodeFileText(*bytes);
}

bool TextFile::writeAtomically(const std::string& path, const std::string& content) {
    if (path.empty()) {
        return false;
    }
    std::string tmpl = path + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp creates the file 0600; a replaced file keeps the usual permissions.
    ::fchmod(fd, 0644);
    const bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(tmpl.c_str(), path.c_str()) != 0) {
        ::unlink(tmpl.c_str());
        return false;
    }
    return true;
}

bool TextFile::exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

} // namespace halvika
