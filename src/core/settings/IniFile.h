// A parsed INI-style text file: sections of key = value lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace halvika {

/// Section and key names match without regard to letter case. A value comes back without the blanks
/// around it and without one pair of enclosing quotes, cut to kMaxValueLength characters. Where a section
/// or key appears twice, the first one counts. Lines starting with ";" are comments.
class IniFile {
public:
    static constexpr std::size_t kMaxValueLength = 1023;

    /// Nothing when the file cannot be read. Files that are not UTF-8 are read as Windows-1252.
    static std::optional<IniFile> load(const std::string& path);
    static IniFile parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;

private:
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_sections;
};

} // namespace halvika
