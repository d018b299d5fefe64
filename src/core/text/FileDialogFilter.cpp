#include "text/FileDialogFilter.h"

#include <algorithm>

namespace halvika {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::vector<FileDialogFilter::Entry> FileDialogFilter::parse(const std::string& filter) {
    const std::vector<std::string> parts = split(filter, '|');
    std::vector<Entry> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        Entry entry;
        entry.label = trimmed(parts[i]);
        // The label's own "(…)" repeats the patterns; it is written again from them when shown.
        if (!entry.label.empty() && entry.label.back() == ')') {
            const auto open = entry.label.rfind('(');
            if (open != std::string::npos) {
                entry.label = trimmed(entry.label.substr(0, open));
            }
        }
        for (const std::string& pattern : split(parts[i + 1], ';')) {
            const std::string p = trimmed(pattern);
            if (!p.empty() && std::find(entry.patterns.begin(), entry.patterns.end(), p) == entry.patterns.end()) {
                entry.patterns.push_back(p);
            }
        }
        if (!entry.patterns.empty()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::string FileDialogFilter::shownForm(const Entry& entry) {
    std::string patterns;
    for (const std::string& p : entry.patterns) {
        patterns += (patterns.empty() ? "" : " ") + p;
    }
    return entry.label.empty() ? patterns : entry.label + " (" + patterns + ")";
}

std::string FileDialogFilter::withChosenExtension(const std::string& path, const Entry& chosen) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos || chosen.patterns.size() != 1) {
        return path;
    }
    const std::string& pattern = chosen.patterns.front();
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 ||
        pattern.find_first_of("*?[", 2) != std::string::npos) {
        return path;
    }
    return path + pattern.substr(1);
}

} // namespace halvika
