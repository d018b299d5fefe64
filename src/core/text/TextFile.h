// Whole-file reading and atomic whole-file replacement.
#pragma once

#include <optional>
#include <string>

namespace halvika {

class TextFile {
public:
    /// Files larger than this are refused rather than read into memory.
    static constexpr std::size_t kMaxFileSize = 256u * 1024u * 1024u;

    /// The raw bytes of a regular file; nothing when it is missing, unreadable, a folder or too large, and
    /// then `reason` (when given) says which, in the system's words.
    static std::optional<std::string> readBytes(const std::string& path, std::string* reason = nullptr);

    /// The file's text as UTF-8 (see Encoding::decodeFileText, which sets `repaired`).
    static std::optional<std::string> readText(const std::string& path, std::string* reason = nullptr,
                                               bool* repaired = nullptr);

    /// Replaces the file with exactly `content`: written to a temporary file in the same folder, flushed
    /// to disk and renamed over the old one, so a crash never leaves a half-written file. False on failure,
    /// in which case the old file is untouched and `reason` (when given) says why ("No space left on device").
    [[nodiscard]] static bool writeAtomically(const std::string& path, const std::string& content,
                                              std::string* reason = nullptr);

    [[nodiscard]] static bool exists(const std::string& path);

    /// Removes the temporary files that a write cut off by a crash left in the folder (".agx", ".cfx" and
    /// ".txt" files with writeAtomically's six-character suffix). Returns how many went.
    static int removeLeftoverTemporaries(const std::string& folder);
};

} // namespace halvika
