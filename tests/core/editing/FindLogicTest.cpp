// Finding alarms: the whole XML text is searched, hidden groups never, and searches within results narrow.
#include "editing/FindLogic.h"
#include "alarms/Alarm.h"
#include "fakes/GroupTestServices.h"
#include "fakes/RecordingChangeListener.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "groups/AlarmGroupCollection.h"
#include "text/CaseFolding.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

class FindLogicTest : public ::testing::Test {
protected:
    FindLogicTest() {
        add(group("Home", false), {"Water the plants", "Call Alarm Service"});
        add(group("Work", false), {"Stand-up", "Plants order"});
        add(group("Secret", true), {"Hidden plants"});
    }
    std::shared_ptr<AlarmGroup> group(const std::string& name, bool hidden) {
        auto g = AlarmGroup::createDefaultAlarmGroup(setUp.services);
        g->name = name;
        g->hidden = hidden;
        groups.alarmGroups.addElement(g);
        return g;
    }
    void add(const std::shared_ptr<AlarmGroup>& g, std::initializer_list<const char*> names) {
        for (const char* n : names) {
            auto a = Alarm::createAlarm(g);
            a->name = n;
            g->alarms.addElement(a);
        }
    }
    std::vector<std::string> found() const {
        std::vector<std::string> names;
        for (int i = 0; i < finder.results().numberOfElements(); ++i) {
            names.push_back(finder.results().elementAt(i)->name);
        }
        return names;
    }

    test::TempHome home;
    test::GroupTestServices setUp{home.path()};
    test::RecordingChangeListener listener;
    AlarmGroupCollection groups{setUp.services, listener};
    FindLogic finder{groups};
};

TEST_F(FindLogicTest, TextIsFoundAnywhereInTheAlarmButNeverInHiddenGroups) {
    EXPECT_EQ(finder.find("plants", false, false), 2);
    EXPECT_EQ(found(), (std::vector<std::string>{"Water the plants", "Plants order"}));
    EXPECT_EQ(finder.find("Plants", true, false), 1);
    // "ALARM" and "alarm" find the same without matching case; the tag name "name" is in every alarm.
    EXPECT_EQ(finder.find("ALARM", false, false), finder.find("alarm", false, false));
    EXPECT_EQ(finder.find("<name>", false, false), 4);
    EXPECT_EQ(finder.find("", false, false), 4);

    // Every letter's case folds, not only A to Z.
    add(groups.alarmGroups.elementAt(0), {"\xC3\x84rzt anrufen", "\xD0\x9C\xD0\x90\xD0\x9C\xD0\x90"});
    EXPECT_EQ(finder.find("\xC3\xA4rzt", false, false), 1);                      // "ärzt" finds "Ärzt"
    EXPECT_EQ(finder.find("\xD0\xBC\xD0\xB0\xD0\xBC\xD0\xB0", false, false), 1); // "мама" finds "МАМА"
    EXPECT_EQ(finder.find("\xC3\xA4rzt", true, false), 0);
}

TEST(CaseFolding, CapitalsOfEachAlphabetFoldToTheirSmallLetters) {
    EXPECT_EQ(CaseFolding::lower(U'\u00C9'), U'\u00E9'); // É
    EXPECT_EQ(CaseFolding::lower(U'\u00D7'), U'\u00D7'); // × has no case
    EXPECT_EQ(CaseFolding::lower(U'\u0141'), U'\u0142'); // Ł, in the run that starts odd
    EXPECT_EQ(CaseFolding::lower(U'\u0160'), U'\u0161'); // Š
    EXPECT_EQ(CaseFolding::lower(U'\u0178'), U'\u00FF'); // Ÿ
    EXPECT_EQ(CaseFolding::lower(U'\u03A3'), U'\u03C3'); // Σ
    EXPECT_EQ(CaseFolding::lower(U'\u0401'), U'\u0451'); // Ё
    EXPECT_EQ(CaseFolding::folded("Gr\xC3\x9C\xC3\x9F \xFF"), "gr\xC3\xBC\xC3\x9F \xFF"); // ß and a stray byte stay
}

TEST_F(FindLogicTest, SearchingWithinResultsNarrowsAndIsUnavailableAfterNothingWasFound) {
    finder.find("plants", false, false);
    EXPECT_EQ(finder.find("water", false, true), 1);
    EXPECT_EQ(found(), std::vector<std::string>{"Water the plants"});
    EXPECT_EQ(finder.find("order", false, true), 0); // "Plants order" was no longer a candidate
    EXPECT_FALSE(finder.withinResultsAvailable());
}

TEST_F(FindLogicTest, DeletedAndUnloadedAlarmsLeaveTheResults) {
    ASSERT_EQ(finder.find("plants", false, false), 2);
    EXPECT_FALSE(finder.forgetUnloaded());
    auto home = groups.alarmGroups.elementAt(0);
    home->alarms.remove(home->alarms.elementAt(0)); // "Water the plants" deleted
    EXPECT_TRUE(finder.forgetUnloaded());
    EXPECT_EQ(found(), std::vector<std::string>{"Plants order"});

    groups.alarmGroups.remove(groups.alarmGroups.elementAt(1)); // "Work" unloaded
    EXPECT_EQ(finder.find("order", false, true), 0);            // within results: the unloaded alarm is no candidate
    EXPECT_EQ(finder.find("plants", false, false), 0);
}

} // namespace
} // namespace halvika
