// Numbered texts from the chosen language file.
#include "settings/modTranslation.h"

#include "text/NumberText.h"
#include "text/TextFile.h"

#include <vector>

namespace halvika {

std::string modTranslation::getLanguageFilePath() const {
    const std::string name = m_language + ".lng";
    const std::string found = m_paths.findFile(name);
    return found.empty() ? m_paths.homeFile(name) : found;
}

void modTranslation::setLanguage(const std::string& language) {
    if (!m_languageFile.empty()) {
        m_ini.forget(m_languageFile);
    }
    m_language = language;
    m_languageFile.clear();
    m_ini.setIniFile("");
}

const std::string& modTranslation::languageFile() {
    if (m_languageFile.empty()) {
        m_languageFile = getLanguageFilePath();
        m_ini.forget(m_languageFile);
    }
    return m_languageFile;
}

bool modTranslation::languageFileExists() const {
    return TextFile::exists(getLanguageFilePath());
}

std::string modTranslation::getText(const std::string& section, int number) {
    const std::string key = "s" + std::to_string(number);
    m_ini.setIniFile(languageFile());
    // A sentinel no file holds tells a missing text from one that happens to read like the default.
    static const std::string missing = std::string("\x01missing\x01");
    std::string text = m_ini.getIniSectionValue(section, key, missing);
    if (text == missing) {
        if (m_missing) {
            m_missing(section, key);
        }
        return "String [" + section + "] " + key + " not found";
    }
    return text;
}

DateNames modTranslation::dateNames(const DateNames& fallback) {
    DateNames names = fallback;
    const auto take = [this](int number, std::string& name) {
        name = getValue("Strings", "s" + std::to_string(number), name);
    };
    for (std::size_t i = 0; i < 7; ++i) {
        take(11 + static_cast<int>(i), names.longDays[i]);
        take(31 + static_cast<int>(i), names.shortDays[i]);
    }
    for (std::size_t i = 0; i < 12; ++i) {
        take(41 + static_cast<int>(i), names.longMonths[i]);
        take(61 + static_cast<int>(i), names.shortMonths[i]);
    }
    return names;
}

std::string modTranslation::getValue(const std::string& section, const std::string& key, const std::string& def) {
    m_ini.setIniFile(languageFile());
    return m_ini.getIniSectionValue(section, key, def);
}

std::string modTranslation::getAssistantText(int number) {
    // A variant is missing when the lookup returns this sentinel.
    static const std::string missing = "!@#";
    std::vector<std::string> variants;
    for (int variant = 0;; ++variant) {
        std::string text = getValue("assistant", "s" + std::to_string(number) + "r" + std::to_string(variant), missing);
        if (text == missing) {
            break;
        }
        variants.push_back(std::move(text));
    }
    if (variants.empty()) {
        return "";
    }
    std::uniform_int_distribution<std::size_t> pick(0, variants.size() - 1);
    return variants[pick(m_random)];
}

std::int16_t modTranslation::getAssistantNumber(int number, std::int16_t def) {
    return NumberText::parseInteger(getAssistantText(number)).value_or(def);
}

std::string modTranslation::getCaption(const std::string& section, const std::string& fallback) {
    m_ini.setIniFile(languageFile());
    return m_ini.getIniSectionValue(section, section, fallback);
}

} // namespace halvika
