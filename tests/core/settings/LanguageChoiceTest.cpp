// The first-run dialog's proposal of a language.
#include "settings/LanguageChoice.h"
#include "fakes/TempHome.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(LanguageChoice, LocaleNamesToLanguageIds) {
    EXPECT_EQ(LanguageChoice::languageIdOf("en_US.UTF-8"), 1033);
    EXPECT_EQ(LanguageChoice::languageIdOf("de_DE.UTF-8"), 1031);
    EXPECT_EQ(LanguageChoice::languageIdOf("de_LU@euro"), 1031);
    EXPECT_EQ(LanguageChoice::languageIdOf("nl_BE"), 2067);
    EXPECT_EQ(LanguageChoice::languageIdOf("C"), 1033);
    EXPECT_EQ(LanguageChoice::languageIdOf(""), 1033);
}

TEST(LanguageChoice, MatchingIdThenEnglishThenTheFirst) {
    const std::vector<LanguageChoice::File> files = {
        {"Deutsch", 1031}, {"English", 1033}, {"Nederlands", 1043}, {"Oldenglish", 1033}};
    EXPECT_EQ(LanguageChoice::choose(files, 1031), 0);
    EXPECT_EQ(LanguageChoice::choose(files, 1033), 3); // the last match
    EXPECT_EQ(LanguageChoice::choose(files, 1036), 1); // no match: English
    EXPECT_EQ(LanguageChoice::choose({{"Deutsch", 1031}, {"Unknown", -1}}, -1), 0);
    EXPECT_EQ(LanguageChoice::choose({}, 1033), -1);
}

TEST(LanguageChoice, ListsLanguageFilesWithTheirIds) {
    test::TempHome mine;
    test::TempHome shipped;
    mine.write("English.lng", "[Language]\nmsid=2057\n");
    shipped.write("English.lng", "[Language]\nmsid=1033\n");
    shipped.write("Deutsch.lng", "[Language]\nmsid=1031\n");
    shipped.write("Broken.lng", "no sections at all");
    shipped.write("notes.txt", "");
    const auto files = LanguageChoice::listLanguageFiles({mine.path(), shipped.path()});
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "English");
    EXPECT_EQ(files[0].msid, 2057); // the user's own file wins
    EXPECT_EQ(files[1].name, "Broken");
    EXPECT_EQ(files[1].msid, -1);
    EXPECT_EQ(files[2].msid, 1031);
}

} // namespace
} // namespace halvika
