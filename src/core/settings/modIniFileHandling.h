// The current INI file and section, with lookups that fall back to a default.
#pragma once

#include "settings/IniFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace halvika {

/// Holds the file and section that lookups use, like the profile-string service it stands in for.
/// Each file is parsed once, at its first lookup, and read again only after `forget`: a lookup never
/// touches the disk.
class modIniFileHandling {
public:
    /// Makes the path current and notes whether a file exists there.
    void setIniFile(const std::string& path);
    void setIniSection(const std::string& section) { m_section = section; }
    const std::string& iniFile() const { return m_path; }
    bool iniFileExists() const { return m_exists; }

    std::string getIniValue(const std::string& key, const std::string& def);
    std::string getIniSectionValue(const std::string& section, const std::string& key, const std::string& def);
    /// Reads from any file, leaving the current file and section alone.
    std::string getIniFileValue(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& def);
    /// The file is read again at its next lookup (it may have changed, or a language was chosen again).
    void forget(const std::string& path) { m_cache.erase(path); }

private:
    struct Cached {
        std::optional<IniFile> ini;
    };
    const IniFile* parsed(const std::string& path);

    std::string m_path;
    std::string m_section;
    bool m_exists = false;
    std::unordered_map<std::string, Cached> m_cache;
};

} // namespace halvika
