// Numbered texts from the chosen language file.
#pragma once

#include "alarms/TextSource.h"
#include "base/AppPaths.h"
#include "dates/DateNames.h"
#include "settings/modIniFileHandling.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace halvika {

/// Looks texts up by section and number in `<language>.lng`, found in the home folder or a data folder.
/// A missing file or key gives "String [section] sN not found", so a missing text shows on screen.
class modTranslation : public TextSource {
public:
    modTranslation(const AppPaths& paths, modIniFileHandling& ini) : m_paths(paths), m_ini(ini) {}

    /// Chooses the language; its file is found and read afresh at the next lookup.
    void setLanguage(const std::string& language);
    const std::string& language() const { return m_language; }
    /// The language file's tag ("de-de"); "en-us" without one.
    std::string languageTag() { return getValue("Language", "id", "en-us"); }

    /// The language file's path; in the home folder when no such file exists anywhere.
    std::string getLanguageFilePath() const;
    bool languageFileExists() const;
    std::string getText(const std::string& section, int number) override;
    /// Day and month names in this language ("Strings" 11-17, 31-37, 41-52, 61-72); a name the file does
    /// not have comes from `fallback`.
    DateNames dateNames(const DateNames& fallback);
    std::string getMainText(int number) { return getText("frmHalvikaMain", number); }
    /// Any key of the language file; `def` when the file or key is missing.
    std::string getValue(const std::string& section, const std::string& key, const std::string& def) override;
    /// One of the variants "s<n>r0", "s<n>r1", ... of section "assistant", chosen at random; "" when
    /// variant 0 is missing.
    std::string getAssistantText(int number);
    /// getAssistantText as a number; `def` when missing or not a number.
    std::int16_t getAssistantNumber(int number, std::int16_t def);
    /// Called with the section and key of every numbered text that the language file lacks.
    void setMissingTextObserver(std::function<void(const std::string&, const std::string&)> observer) {
        m_missing = std::move(observer);
    }
    /// A window's caption (key = section name); `fallback` when missing.
    std::string getCaption(const std::string& section, const std::string& fallback);

private:
    /// The language file, found once per language.
    const std::string& languageFile();

    const AppPaths& m_paths;
    modIniFileHandling& m_ini;
    std::string m_language = "English";
    std::string m_languageFile;
    std::mt19937 m_random{std::random_device{}()};
    std::function<void(const std::string&, const std::string&)> m_missing;
};

} // namespace halvika
