// The first-run dialog: its proposal, translation on choosing, refusing every close but OK, what it stores.
#include "fakes/TempHome.h"
#include "qt/QtTestApp.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "windows/frmFirstTimeSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(FirstTimeSettings, ProposesTranslatesAndStores) {
    test::ensureQtApp();
    test::TempHome home;
    home.write("Deutsch.lng", "[Language]\nmsid=1031\n[frmFirstTimeSettings]\nfrmFirstTimeSettings=Willkommen\n"
                              "s1=Tag/Monat/Jahr\ns2=Monat/Tag/Jahr\ns3=Jahr/Monat/Tag\ns4=Jahr/Tag/Monat\n"
                              "s11=24 Stunden\ns12=12 Stunden\n");
    AppPaths paths(home.path(), {HALVIKA_SOURCE_DIR "/data"});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    const auto files = LanguageChoice::listLanguageFiles({home.path(), HALVIKA_SOURCE_DIR "/data"});
    frmFirstTimeSettings dialog(texts, files, 1033);

    auto* language = dialog.findChild<QComboBox*>("cmbLanguage");
    auto* dates = dialog.findChild<QComboBox*>("cmbDateFormat");
    auto* times = dialog.findChild<QComboBox*>("cmbTimeFormat");
    ASSERT_TRUE(language && dates && times);
    EXPECT_EQ(language->currentText(), "English"); // proposed for en_US
    EXPECT_EQ(dates->itemText(1), "month/day/year");
    EXPECT_FALSE(dialog.findChild<QLabel*>("lblExplanation")->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.startWithSession()); // starting with the session is proposed

    language->setCurrentText("Deutsch");
    EXPECT_EQ(dialog.windowTitle(), "Willkommen");
    EXPECT_EQ(dates->itemText(0), "Tag/Monat/Jahr");

    dates->setCurrentIndex(2);
    times->setCurrentIndex(1);
    dialog.show();
    dialog.reject(); // Escape, the close box: refused
    EXPECT_TRUE(dialog.isVisible());
    dialog.findChild<QPushButton*>("cmdOk")->click();
    EXPECT_FALSE(dialog.isVisible());

    SettingsStore settings;
    dialog.storeInto(settings);
    EXPECT_EQ(settings.language, "Deutsch");
    EXPECT_EQ(settings.dateOrder, 2);
    EXPECT_EQ(settings.timeFormat, 1);
    EXPECT_EQ(settings.displayFormats[2], "dddd yyyy/m/d h:nn:ss AM/PM");
}

TEST(FirstTimeSettings, SaysSoWhenThereIsNoLanguageFile) {
    test::ensureQtApp();
    test::TempHome home;
    AppPaths paths(home.path(), {});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    frmFirstTimeSettings dialog(texts, {}, 1033);
    auto* explanation = dialog.findChild<QLabel*>("lblExplanation");
    EXPECT_TRUE(explanation->isVisibleTo(&dialog));
    EXPECT_EQ(explanation->text(), "No language file was found. You need a language file to use the program.");
}

} // namespace
} // namespace halvika
