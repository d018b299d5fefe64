// The current INI file and section, with lookups that fall back to a default.
#include "settings/modIniFileHandling.h"

#include "text/TextFile.h"

#include <sys/stat.h>

namespace halvika {

void modIniFileHandling::setIniFile(const std::string& path) {
    m_path = path;
    m_exists = !path.empty() && TextFile::exists(path);
}

const IniFile* modIniFileHandling::parsed(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return nullptr;
    }
    const std::int64_t modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    Cached& cached = m_cache[path];
    if (cached.modified != modified || cached.size != st.st_size) {
        cached.modified = modified;
        cached.size = st.st_size;
        cached.ini = IniFile::load(path);
    }
    return cached.ini ? &*cached.ini : nullptr;
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
