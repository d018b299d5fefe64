// The INI reader, the current-file lookups and the numbered texts built on them.
#include "settings/IniFile.h"
#include "fakes/TempHome.h"
#include "settings/modIniFileHandling.h"
#include "settings/modTranslation.h"

#include <gtest/gtest.h>

#include <set>

namespace halvika {
namespace {

TEST(IniFile, NamesValuesAndQuotes) {
    const IniFile ini = IniFile::parse("; comment\n"
                                       "[Language]\r\n"
                                       "  MSID = 1033 \r\n"
                                       "id=\"en-us\"\n"
                                       "single='x'\n"
                                       "inner=say \"hi\"\n"
                                       "half=\"open\n"
                                       "empty=\n"
                                       "key=first\n"
                                       "KEY=second\n"
                                       "no equals sign\n"
                                       "[other]\n"
                                       "a=1\n"
                                       "[language]\n"
                                       "late=ignored\n");
    EXPECT_EQ(ini.value("language", "msid"), "1033");
    EXPECT_EQ(ini.value("LANGUAGE", "Id"), "en-us");
    EXPECT_EQ(ini.value("Language", "single"), "x");
    EXPECT_EQ(ini.value("Language", "inner"), "say \"hi\"");
    EXPECT_EQ(ini.value("Language", "half"), "\"open");
    EXPECT_EQ(ini.value("Language", "empty"), "");
    EXPECT_EQ(ini.value("Language", "key"), "first");
    EXPECT_EQ(ini.value("other", "a"), "1");
    EXPECT_FALSE(ini.value("Language", "late").has_value());
    EXPECT_FALSE(ini.value("Language", "missing").has_value());
    EXPECT_FALSE(ini.value("nosection", "a").has_value());
}

TEST(IniFile, LongValuesAreCutAt1023Characters) {
    const IniFile ini = IniFile::parse("[s]\nlong=" + std::string(1500, 'a') + "\n");
    EXPECT_EQ(ini.value("s", "long")->size(), 1023u);
    // Characters, not bytes: a two-byte character is never split.
    const IniFile accents = IniFile::parse("[s]\nv=" + std::string(1022, 'x') + "\xC3\xA9\xC3\xA9\n");
    EXPECT_EQ(*accents.value("s", "v"), std::string(1022, 'x') + "\xC3\xA9");
}

TEST(IniLookups, DefaultsWhenTheFileOrKeyIsMissing) {
    test::TempHome home;
    modIniFileHandling ini;
    ini.setIniFile(home.file("none.lng"));
    EXPECT_FALSE(ini.iniFileExists());
    EXPECT_EQ(ini.getIniSectionValue("Language", "id", "en-us"), "en-us");

    home.write("de.lng", "[Language]\nid=de-de\n[frmAbout]\nfrmAbout=\xDC"
                         "ber\n");
    ini.setIniFile(home.file("de.lng"));
    ini.setIniSection("frmAbout");
    EXPECT_EQ(ini.getIniValue("frmAbout", "?"), "\xC3\x9C"
                                                "ber"); // read as Windows-1252
    EXPECT_EQ(ini.getIniValue("missing", "?"), "?");
    EXPECT_EQ(ini.getIniSectionValue("Language", "id", "?"), "de-de");

    // A lookup never goes to the disk: a changed file is read again only once it is forgotten.
    home.write("de.lng", "[Language]\nid=de-at-longer\n");
    EXPECT_EQ(ini.getIniSectionValue("Language", "id", "?"), "de-de");
    ini.forget(home.file("de.lng"));
    EXPECT_EQ(ini.getIniSectionValue("Language", "id", "?"), "de-at-longer");

    // Another file is read without changing the current one.
    home.write("other.csc", "[Colours]\nc1=255\n");
    EXPECT_EQ(ini.getIniFileValue(home.file("other.csc"), "colours", "C1", "0"), "255");
    EXPECT_EQ(ini.getIniFileValue(home.file("gone.csc"), "colours", "C1", "0"), "0");
    EXPECT_EQ(ini.iniFile(), home.file("de.lng"));
    EXPECT_TRUE(ini.iniFileExists());
}

TEST(IniLookups, NumberedTextsAndTheirNotFoundForm) {
    test::TempHome home;
    test::TempHome shipped;
    AppPaths paths(home.path(), {shipped.path()});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    EXPECT_EQ(texts.getText("Strings", 12), "String [Strings] s12 not found");
    EXPECT_FALSE(texts.languageFileExists());

    // The file is found and read once per choice of language, not at every lookup.
    shipped.write("English.lng", "[Strings]\ns12=shipped\n[frmHalvikaMain]\nfrmHalvikaMain=Halvika Main\n");
    EXPECT_EQ(texts.getStringsText(12), "String [Strings] s12 not found");
    texts.setLanguage("English");
    EXPECT_EQ(texts.getStringsText(12), "shipped");
    EXPECT_EQ(texts.getCaption("frmHalvikaMain", "x"), "Halvika Main");
    EXPECT_EQ(texts.getMainText(1), "String [frmHalvikaMain] s1 not found");

    // The user's own file in the home folder wins over the shipped one.
    home.write("English.lng", "[Strings]\ns12=mine\n");
    texts.setLanguage("English");
    EXPECT_EQ(texts.getStringsText(12), "mine");
    // Edited and chosen again: read again.
    home.write("English.lng", "[Strings]\ns12=edited\n");
    EXPECT_EQ(texts.getStringsText(12), "mine");
    texts.setLanguage("English");
    EXPECT_EQ(texts.getStringsText(12), "edited");
    EXPECT_EQ(texts.getLanguageFilePath(), home.file("English.lng"));
}

TEST(IniLookups, AssistantPhrasesAndNumbers) {
    test::TempHome home;
    home.write("English.lng", "[assistant]\ns2r0=Good night\ns2r1=Hello, night owl\ns3r1=orphan\n"
                              "s101r0=12\ns102r0=many\n");
    AppPaths paths(home.path(), {});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        seen.insert(texts.getAssistantText(2));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"Good night", "Hello, night owl"})); // both, and nothing else
    EXPECT_EQ(texts.getAssistantText(3), ""); // variant 0 missing: nothing, even though variant 1 exists
    EXPECT_EQ(texts.getAssistantNumber(101, 5), 12);
    EXPECT_EQ(texts.getAssistantNumber(102, 5), 5);
    EXPECT_EQ(texts.getAssistantNumber(103, 5), 5);
}

} // namespace
} // namespace halvika
