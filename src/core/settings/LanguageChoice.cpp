// Which language file the first-run dialog proposes.
#include "settings/LanguageChoice.h"

#include "settings/IniFile.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

namespace halvika {

int LanguageChoice::languageIdOf(const std::string& localeName) {
    static const std::map<std::string, int> exact = {
        {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105}, {"de_DE", 1031}, {"de_AT", 3079},
        {"de_CH", 2055}, {"fr_FR", 1036}, {"fr_BE", 2060}, {"fr_CA", 3084}, {"nl_NL", 1043}, {"nl_BE", 2067},
        {"es_ES", 3082}, {"es_MX", 2058}, {"it_IT", 1040}, {"pt_PT", 2070}, {"pt_BR", 1046}, {"sv_SE", 1053},
        {"da_DK", 1030}, {"nb_NO", 1044}, {"fi_FI", 1035}, {"pl_PL", 1045}, {"cs_CZ", 1029}, {"hu_HU", 1038},
        {"ru_RU", 1049}, {"tr_TR", 1055}, {"el_GR", 1032}, {"ja_JP", 1041}, {"zh_CN", 2052}, {"ko_KR", 1042}};
    static const std::map<std::string, int> byLanguage = {
        {"en", 1033}, {"de", 1031}, {"fr", 1036}, {"nl", 1043}, {"es", 3082}, {"it", 1040}, {"pt", 2070},
        {"sv", 1053}, {"da", 1030}, {"nb", 1044}, {"no", 1044}, {"fi", 1035}, {"pl", 1045}, {"cs", 1029},
        {"hu", 1038}, {"ru", 1049}, {"tr", 1055}, {"el", 1032}, {"ja", 1041}, {"zh", 2052}, {"ko", 1042}};
    const std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (const auto it = exact.find(name); it != exact.end()) {
        return it->second;
    }
    if (const auto it = byLanguage.find(name.substr(0, name.find('_'))); it != byLanguage.end()) {
        return it->second;
    }
    return 1033;
}

int LanguageChoice::userLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
            return languageIdOf(value);
        }
    }
    return 1033;
}

int LanguageChoice::choose(const std::vector<File>& files, int userId) {
    int english = -1;
    int matching = -1;
    for (int i = 0; i < static_cast<int>(files.size()); ++i) {
        const File& f = files[static_cast<std::size_t>(i)];
        if (f.msid >= 0 && f.msid == userId) {
            matching = i;
        }
        if (f.name == "English") {
            english = i;
        }
    }
    if (matching >= 0) {
        return matching;
    }
    if (english >= 0) {
        return english;
    }
    return files.empty() ? -1 : 0;
}

std::vector<LanguageChoice::File> LanguageChoice::listLanguageFiles(const std::vector<std::string>& folders) {
    std::vector<File> files;
    std::set<std::string> seen;
    for (const auto& folder : folders) {
        std::vector<std::filesystem::path> found;
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            if (it->path().extension() == ".lng") {
                found.push_back(it->path());
            }
        }
        std::sort(found.begin(), found.end());
        for (const auto& path : found) {
            const std::string name = path.stem().string();
            if (!seen.insert(name).second) {
                continue;
            }
            const auto ini = IniFile::load(path.string());
            const std::string msid = ini ? ini->value("Language", "msid").value_or("-1") : "-1";
            files.push_back({name, NumberText::parseLong(msid).value_or(-1)});
        }
    }
    return files;
}

} // namespace halvika
