// The current INI file and section, with lookups that fall back to a default.
#include "settings/modIniFileHandling.h"

#include "text/TextFile.h"

namespace halvika {

void modIniFileHandling::setIniFile(const std::string& path) {
    if (path == m_path && !path.empty()) {
        return;
    }
    m_path = path;
    m_exists = !path.empty() && TextFile::exists(path);
}

const IniFile* modIniFileHandling::parsed(const std::string& path) {
    auto found = m_cache.find(path);
    if (found == m_cache.end()) {
        // A file that cannot be read is remembered as such too, until it is forgotten.
        found = m_cache.emplace(path, Cached{IniFile::load(path)}).first;
    }
    return found->second.ini ? &*found->second.ini : nullptr;
}

std::string modIniFileHandling::getIniValue(const std::string& key, const std::string& def) {
    return getIniSectionValue(m_section, key, def);
}

std::string modIniFileHandling::getIniSectionValue(const std::string& section, const std::string& key,
                                                   const std::string& def) {
    if (!m_exists) {
        return def;
    }
    return getIniFileValue(m_path, section, key, def);
}

std::string modIniFileHandling::getIniFileValue(const std::string& file, const std::string& section,
                                                const std::string& key, const std::string& def) {
    const IniFile* ini = parsed(file);
    if (ini == nullptr) {
        return def;
    }
    return ini->value(section, key).value_or(def);
}

} // namespace halvika
