// Where alarms and actions find their numbered texts; the language file is one.
#pragma once

#include <string>

namespace halvika {

class TextSource {
public:
    virtual ~TextSource() = default;

    virtual std::string getText(const std::string& section, int number) = 0;
    /// Any key; `def` when missing.
    virtual std::string getValue(const std::string& section, const std::string& key, const std::string& def) = 0;
    std::string getStringsText(int number) { return getText("Strings", number); }

protected:
    TextSource() = default;
    TextSource(const TextSource&) = default;
    TextSource& operator=(const TextSource&) = default;
};

} // namespace halvika
