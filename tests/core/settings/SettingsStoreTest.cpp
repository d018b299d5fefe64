// The settings file: every value in file order and back, defaults, the particular rules.
#include "settings/SettingsStore.h"
#include "alarms/Alarm.h"
#include "fakes/DatePrinter.h"
#include "fakes/TempHome.h"
#include "fakes/XmlTestHelpers.h"
#include "settings/modTranslation.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStore loaded(const std::string& xml) {
        SettingsStore s;
        int step = 0;
        s.load(*XMLNode::createFromXML(xml), loading, step);
        EXPECT_EQ(step, 12);
        return s;
    }

    test::TempHome home;
    AppPaths paths{home.path(), {HALVIKA_SOURCE_DIR "/data"}};
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    const Date loading = Date::fromParts(2026, 3, 7, 12, 0, 0);
};

TEST_F(SettingsStoreTest, AnEmptyFileGivesEveryDefault) {
    const SettingsStore s = loaded("<settings></settings>");
    EXPECT_FALSE(s.blocked);
    EXPECT_EQ(s.lastCheck, loading);
    EXPECT_EQ(s.seeAlarmsUnit[1], 3);
    EXPECT_EQ(s.windowWidth, 11385);
    EXPECT_EQ(s.dividers[3], 463);
    EXPECT_EQ(s.warningLimit, 10);
    EXPECT_EQ(s.whenUnblocked, 1);
    EXPECT_EQ(s.alarmGroupPath, "<app_path>");
    EXPECT_TRUE(s.autoSave);
    EXPECT_EQ(s.firstUse, loading);
    EXPECT_EQ(s.colourScheme, "default");
    EXPECT_EQ(s.inactivityLimitMinutes, 10);
    EXPECT_EQ(s.overlapUnit, 1);
    EXPECT_EQ(s.snoozeAmount, 5);
    EXPECT_EQ(s.layouts[1]->toString(),
              "<al><clm><i>0</i><w>122</w></clm><clm><i>1</i><w>43</w></clm><clm><i>2</i><w>134</w></clm></al>");
    EXPECT_EQ(s.templateText, "");
    EXPECT_EQ(s.getDefaultTemplateAlarm(texts)->name, "New alarm");
    EXPECT_EQ(s.displayFormats[1], "ddd dd/mm/yyyy hh:nn:ss"); // never blank moments in the lists
}

TEST_F(SettingsStoreTest, FileOrderAndRoundTrip) {
    SettingsStore s = loaded("<settings></settings>");
    s.blocked = true;
    s.lastCheck = Date::fromParts(2026, 3, 7, 11, 59, 30);
    s.seeAlarmsAmount = {2, 6};
    s.windowState = 2;
    s.windowLeft = 1234.5f;
    s.timerCorrectionMs = -2500;
    s.language = "English";
    s.displayFormats = SettingsStore::displayFormatsFor(1, 1);
    s.secondaryOn = 1;
    s.secondaryRestriction = 2;
    s.attentionOn = 1;
    s.attentionRestriction = 3;
    s.attentionAlarm->name = "Wake up!";
    s.colourScheme = "calm";
    s.activePlugins->addString("plin", "HalvikaTest*GPP");
    s.inactivityLimitMinutes = 0;
    s.snoozeUnit = 6;
    s.templateText = "<tmpl><name>Pill</name></tmpl>";
    s.wakeOn = true;
    s.wakeRestriction = 2;
    s.wakeLeadSeconds = 90;

    const XMLNodePtr file = s.toXML(Date::fromParts(2026, 3, 7, 12, 10, 0));
    EXPECT_EQ(test::childNames(*file),
              (std::vector<std::string>{"bl",    "lsd",  "sa",    "mw",   "ftf",   "wl",   "wu",   "so",   "agp",
                                        "as",    "tc",   "vd",    "aw",   "sta",   "font", "ds",   "lng",  "tmpl",
                                        "lst",   "df",   "sca",   "ata",  "cls",   "acpl", "acv",  "igc",  "ibw",
                                        "osvol", "svol", "ovvol", "vvol", "ovspd", "vspd", "tiia", "acmm", "acst",
                                        "auc",   "cao",  "stt",   "odt",  "ola",   "olu",  "olp",  "epa",  "ofrm",
                                        "dsa",   "dsu",  "dsat",  "uoaw", "wko",   "wki",  "wkl"}));
    EXPECT_EQ(
        test::childNames(*file->getNode("mw")),
        (std::vector<std::string>{"view", "halvikacal", "v", "s", "x", "y", "w", "h", "dv1", "dv2", "dv3", "dv4"}));
    EXPECT_EQ(test::childNames(*file->getNode("sca")), (std::vector<std::string>{"s", "s", "al"}));
    EXPECT_EQ(file->getNode("sta")->getLong("s1"), 600); // ten minutes of this run

    SettingsStore back = loaded(file->toString());
    EXPECT_TRUE(back.blocked);
    EXPECT_EQ(back.lastCheck, s.lastCheck);
    EXPECT_EQ(back.seeAlarmsAmount[1], 6);
    EXPECT_EQ(back.windowState, 2);
    EXPECT_FLOAT_EQ(back.windowLeft, 1234.5f);
    EXPECT_EQ(back.timerCorrectionMs, -2500);
    EXPECT_EQ(back.displayFormats[2], "dddd m/d/yyyy h:nn:ss AM/PM");
    EXPECT_EQ(back.secondaryRestriction, 2);
    EXPECT_EQ(back.attentionRestriction, 3);
    EXPECT_EQ(back.attentionAlarm->name, "Wake up!");
    EXPECT_TRUE(back.wakeOn);
    EXPECT_EQ(back.wakeRestriction, 2);
    EXPECT_EQ(back.wakeLeadSeconds, 90);
    EXPECT_EQ(back.activePlugins->getString("plin"), "HalvikaTest*GPP");
    EXPECT_EQ(back.inactivityLimitMinutes, 0);
    EXPECT_EQ(back.snoozeUnit, 6);
    EXPECT_EQ(back.getDefaultTemplateAlarm(texts)->name, "Pill");
    back.runStart = s.runStart = Date::fromParts(2026, 3, 7, 12, 0, 0);
    EXPECT_EQ(back.toXML(loading)->getNode("sta")->getLong("s1"), 600);
}

TEST_F(SettingsStoreTest, ParticularRules) {
    const SettingsStore minimised = loaded("<settings><mw><s>1</s><v>-1</v></mw></settings>");
    EXPECT_EQ(minimised.windowState, 0);
    EXPECT_FALSE(minimised.windowVisible);
    EXPECT_EQ(loaded("<settings><mw><s>2</s></mw></settings>").windowState, 2);

    SettingsStore s = loaded("<settings><agp>&lt;app_path&gt;\\groups\\</agp></settings>");
    EXPECT_EQ(s.alarmGroupFolder("/home/u/.local/share/halvika"), "/home/u/.local/share/halvika/groups");
    s.alarmGroupPath = "/data/alarms";
    EXPECT_EQ(s.alarmGroupFolder("/ignored"), "/data/alarms");

    // A template equal to the default alarm is not stored.
    EXPECT_EQ(SettingsStore::templateTextFor(*Alarm::createDefaultAlarm(texts), texts), "");
    auto changed = Alarm::createDefaultAlarm(texts);
    changed->importance = 2;
    EXPECT_NE(SettingsStore::templateTextFor(*changed, texts), "");
    SettingsStore noTemplate = loaded("<settings><tmpl></tmpl></settings>");
    EXPECT_EQ(noTemplate.toXML(loading)->getNodeIndex("tmpl"), -1);

    // The run counter overflows to 0; the sounded counter stops at the top.
    SettingsStore counters = loaded("<settings><sta><s1>2147483000</s1><s2>2147483646</s2></sta></settings>");
    EXPECT_EQ(counters.toXML(Date::fromSerialSeconds(loading.serialSeconds() + 1000))->getNode("sta")->getLong("s1"),
              0);
    counters.countSoundedAlarm();
    counters.countSoundedAlarm();
    EXPECT_EQ(counters.alarmsSounded, 2147483647);

    // Values that do not convert take their defaults; unknown elements are ignored.
    const SettingsStore odd = loaded("<settings><wl>lots</wl><tiia>-</tiia><whatever>1</whatever></settings>");
    EXPECT_EQ(odd.warningLimit, 10);
    EXPECT_EQ(odd.inactivityLimitMinutes, 10);
    EXPECT_EQ(SettingsStore::loadErrorText("Overflow", "loadSettings", 7),
              "Error while loading settings: Overflow in loadSettings; flag 7; program will be terminated");
}

TEST_F(SettingsStoreTest, AbsurdValuesTakeTheirDefaults) {
    const SettingsStore absurd = loaded("<settings><tc>2147483647</tc><bl>7</bl><wl>-3</wl><wu>9</wu>"
                                        "<tiia>99999999</tiia><sa><a0>0</a0><u0>42</u0></sa><wki>9</wki>"
                                        "<wkl>-5</wkl></settings>");
    EXPECT_EQ(absurd.timerCorrectionMs, 0);
    EXPECT_FALSE(absurd.blocked);
    EXPECT_EQ(absurd.warningLimit, 10);
    EXPECT_EQ(absurd.whenUnblocked, 1);
    EXPECT_EQ(absurd.inactivityLimitMinutes, 10);
    EXPECT_EQ(absurd.seeAlarmsAmount[0], 1);
    EXPECT_EQ(absurd.seeAlarmsUnit[0], 3);
    EXPECT_EQ(absurd.wakeRestriction, 0);
    EXPECT_EQ(absurd.wakeLeadSeconds, 60);
    // What a dialog writes is kept.
    const SettingsStore sensible = loaded("<settings><tc>-2500</tc><bl>-1</bl><wl>3</wl><wu>2</wu><tiia>0</tiia>"
                                          "</settings>");
    EXPECT_EQ(sensible.timerCorrectionMs, -2500);
    EXPECT_TRUE(sensible.blocked);
    EXPECT_EQ(sensible.warningLimit, 3);
    EXPECT_EQ(sensible.whenUnblocked, 2);
    EXPECT_EQ(sensible.inactivityLimitMinutes, 0);
}

TEST_F(SettingsStoreTest, FirstRunDisplayFormats) {
    EXPECT_EQ(SettingsStore::displayFormatsFor(0, 0),
              (std::array<std::string, 4>{"ddd dd/mm/yyyy hh:nn:ss", "ddd dd/mm/yyyy hh:nn:ss", "dddd d/m/yyyy h:nn:ss",
                                          "dd/mm/yyyy hh:nn:ss"}));
    EXPECT_EQ(SettingsStore::displayFormatsFor(3, 1)[3], "yyyy/dd/mm hh:nn:ss AM/PM");
    EXPECT_EQ(SettingsStore::displayFormatsFor(2, 0)[2], "dddd yyyy/m/d h:nn:ss");
}

} // namespace
} // namespace halvika
