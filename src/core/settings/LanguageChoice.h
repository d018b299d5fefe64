// Which language file the first-run dialog proposes.
#pragma once

#include <string>
#include <vector>

namespace halvika {

class LanguageChoice {
public:
    struct File {
        std::string name; ///< base name: "English"
        int msid = -1;    ///< "msid" of its "Language" section
    };

    /// The Windows language id of a locale name ("de_DE.UTF-8" -> 1031); 1033 when not known.
    static int languageIdOf(const std::string& localeName);
    /// The user's language id from LC_ALL, LC_MESSAGES or LANG.
    static int userLanguageId();
    /// The position to propose: the last file whose msid (not negative) equals the user's, else the last file
    /// named "English", else the first; -1 when there is none.
    static int choose(const std::vector<File>& files, int userId);
    /// Every "*.lng" of the folders (a name in an earlier folder wins), with its msid.
    static std::vector<File> listLanguageFiles(const std::vector<std::string>& folders);
};

} // namespace halvika
