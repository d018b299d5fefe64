// Numbered texts from the chosen language file.
#include "settings/modTranslation.h"

#include "text/TextFile.h"

namespace halvika {

std::string modTranslation::getLanguageFilePath() const {
    const std::string name = m_language + ".lng";
    const std::string found = m_paths.findFile(name);
    return found.empty() ? m_paths.homeFile(name) : found;
}

bool modTranslation::languageFileExists() const {
    return TextFile::exists(getLanguageFilePath());
}

std::string modTranslation::getText(const std::string& section, int number) {
    const std::string key = "s" + std::to_string(number);
    m_ini.setIniFile(getLanguageFilePath());
    return m_ini.getIniSectionValue(section, key, "String [" + section + "] " + key + " not found");
}

std::string modTranslation::getCaption(const std::string& section, const std::string& fallback) {
    m_ini.setIniFile(getLanguageFilePath());
    return m_ini.getIniSectionValue(section, section, fallback);
}

} // namespace halvika
