// File-dialog filters in the language files' form: "text|patterns|text|patterns", patterns joined by ";".
#pragma once

#include <string>
#include <vector>

namespace halvika {

class FileDialogFilter {
public:
    struct Entry {
        std::string label;                 ///< without a "(patterns)" of its own
        std::vector<std::string> patterns; ///< "*.agx", "*.*"
    };

    /// The entries in order; a text without its patterns, and empty patterns, are left out.
    static std::vector<Entry> parse(const std::string& filter);
    /// "label (pattern pattern)", the form desktop file dialogs show and match by.
    static std::string shownForm(const Entry& entry);
    /// The path with the entry's extension added when its file name has none and the entry names exactly
    /// one extension ("*.ics"): a name typed without one is saved in the chosen format.
    static std::string withChosenExtension(const std::string& path, const Entry& chosen);
};

} // namespace halvika
