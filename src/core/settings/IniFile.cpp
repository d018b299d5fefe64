// A parsed INI-style text file: sections of key = value lines.
#include "settings/IniFile.h"

#include "text/AsciiText.h"
#include "text/Encoding.h"
#include "text/TextFile.h"

namespace halvika {

namespace {

std::string folded(std::string_view s) {
    return AsciiText::lowered(AsciiText::trimmed(s));
}

} // namespace

std::optional<IniFile> IniFile::load(const std::string& path) {
    auto text = TextFile::readText(path);
    if (!text) {
        return std::nullopt;
    }
    return parse(*text);
}

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    // Skip a UTF-8 byte-order mark written by some editors.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::unordered_map<std::string, std::string>* current = nullptr;
    bool currentIsNew = false;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = AsciiText::trimmed(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string sectionName =
                folded(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            const auto [it, inserted] = ini.m_sections.try_emplace(sectionName);
            current = &it->second;
            currentIsNew = inserted;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (current == nullptr || !currentIsNew || eq == std::string_view::npos) {
            continue;
        }
        std::string_view value = AsciiText::trimmed(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        current->try_emplace(folded(line.substr(0, eq)), Encoding::leadingCodePoints(value, kMaxValueLength));
    }
    return ini;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto s = m_sections.find(folded(section));
    if (s == m_sections.end()) {
        return std::nullopt;
    }
    const auto k = s->second.find(folded(key));
    if (k == s->second.end()) {
        return std::nullopt;
    }
    return k->second;
}

} // namespace halvika
