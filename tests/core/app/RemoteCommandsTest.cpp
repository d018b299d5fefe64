// The commands scripts send to a running Halvika, on the real core over a temporary home.
#include "app/RemoteCommands.h"

#include "alarms/Alarm.h"
#include "dates/DateUnits.h"
#include "fakes/CoreTestRig.h"
#include "fakes/DatePrinter.h"
#include "groups/AlarmGroup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

namespace halvika {
namespace {

class RemoteCommandsTest : public ::testing::Test, protected test::CoreTestServices {
protected:
    RemoteCommandsTest() {
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><lng>English</lng></settings>");
        home.write("usg_0.agx", "<algr><name>Home</name><stat>-1</stat>"
                                "<alrm><name>Tea</name><stat>-1</stat><oncd>2026/03/07 16:30:00</oncd>"
                                "<acti><acid>1</acid><plug></plug><sett><s>Tea!</s></sett></acti></alrm>"
                                "<alrm><name>Off</name><stat>0</stat><oncd>2026/03/07 13:00:00</oncd></alrm>"
                                "<alrm><name>Walk</name><stat>-1</stat><datk>1</datk><perl>1</perl><peru>3</peru>"
                                "<nexd>2026/03/01 13:00:00</nexd></alrm></algr>");
        home.write("usg_1.agx", "<algr><name>Work</name><stat>-1</stat>"
                                "<alrm><name>Stand-up</name><stat>-1</stat><oncd>2026/03/09 09:15:00</oncd></alrm>"
                                "</algr>");
        core.mainStart(false);
    }
    static std::vector<std::string> names(const std::vector<RemoteCommands::Entry>& entries) {
        std::vector<std::string> out;
        for (const auto& e : entries) {
            out.push_back(e.name + "@" + e.moment.toFileString().substr(8, 5) + "/" + e.group);
        }
        return out;
    }

    /// Adds as a script does and waits for the answer, the disk's included.
    std::string add(const std::string& name, const std::string& moment, const std::string& message,
                    const std::string& group) {
        std::optional<std::string> answer;
        commands.addAlarm(name, moment, message, group, [&answer](const std::string& problem) { answer = problem; });
        for (int i = 0; i < 1000 && !answer; ++i) {
            core.groups().fileWriter().waitUntilDone();
            core.groups().fileWriter().reportOutcomes();
        }
        return answer.value_or("no answer");
    }

    CoreSubsystems core = makeCore();
    RemoteCommands commands{core, clock};
};

TEST_F(RemoteCommandsTest, TheUpcomingAlarmsComeSoonestFirstAndTheStatusCountsEverything) {
    EXPECT_EQ(names(commands.upcoming(10)),
              (std::vector<std::string>{"Walk@07 13/Home", "Tea@07 16/Home", "Stand-up@09 09/Work"}));
    EXPECT_EQ(names(commands.upcoming(1)), std::vector<std::string>{"Walk@07 13/Home"});

    RemoteCommands::Status s = commands.status();
    EXPECT_EQ(s.next, Date::fromParts(2026, 3, 7, 13, 0, 0));
    EXPECT_EQ(s.nextNames, std::vector<std::string>{"Walk"});
    EXPECT_FALSE(s.blocked);
    EXPECT_EQ(s.groups, 2);
    EXPECT_EQ(s.alarms, 4);
    commands.setBlocked(true);
    EXPECT_TRUE(commands.status().blocked);
    commands.setBlocked(false);

    // Tested by name: sounded at once, not for real.
    EXPECT_TRUE(commands.testAlarm("Tea"));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Tea"});
    EXPECT_FALSE(commands.testAlarm("No such alarm"));
}

TEST_F(RemoteCommandsTest, ANewAlarmJoinsTheNamedGroupWithItsMessageAndIsOnDiskWhenAcknowledged) {
    EXPECT_EQ(add("x", "tomorrow", "m", ""), "\"tomorrow\" is not a moment of the form yyyy/mm/dd hh:nn:ss");
    EXPECT_EQ(add("x", "2026/03/07 11:00:00", "m", ""), "the moment 2026/03/07 11:00:00 has passed");
    EXPECT_EQ(add("x", "2026/03/07 14:00:00", "m", "Garden"), "there is no alarm group named \"Garden\"");

    // The disk's answer comes through the file writer, which asks for a report once it is in: nothing waits.
    std::optional<std::string> answer;
    std::atomic<bool> woken = false;
    core.groups().fileWriter().setConfirmationWaker([&woken] { woken = true; });
    commands.addAlarm("", "2026/03/07 14:00:00", "Call the plumber", "Work",
                      [&answer](const std::string& problem) { answer = problem; });
    EXPECT_FALSE(answer.has_value());
    core.groups().fileWriter().waitUntilDone();
    EXPECT_TRUE(woken);
    EXPECT_FALSE(answer.has_value());
    core.groups().fileWriter().reportOutcomes();
    core.groups().fileWriter().setConfirmationWaker({});
    EXPECT_EQ(answer, "");
    const auto work = core.groups().alarmGroups.elementAt(1);
    ASSERT_EQ(work->alarms.numberOfElements(), 2);
    const auto added = work->alarms.elementAt(1);
    EXPECT_EQ(added->name, "Call the plumber"); // named by its message
    EXPECT_EQ(added->onceDate, Date::fromParts(2026, 3, 7, 14, 0, 0));
    ASSERT_GE(added->actions.numberOfElements(), 1);
    EXPECT_EQ(added->actions.elementAt(0)->settings->getString("s"), "Call the plumber");
    EXPECT_EQ(names(commands.upcoming(3))[1], "Call the plumber@07 14/Work");

    // Acknowledged means written: no tick is needed.
    EXPECT_NE(home.read("usg_1.agx").find("<name>Call the plumber</name>"), std::string::npos);
    // Without a group name: the first group.
    EXPECT_EQ(add("Post", "2026/03/08 10:00:00", "Letters", ""), "");
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0)->alarms.elementAt(3)->name, "Post");
    EXPECT_NE(home.read("usg_0.agx").find("<name>Post</name>"), std::string::npos);

    // It sounds in its minute, and then is among the recent ones.
    clock.set(Date::fromParts(2026, 3, 7, 14, 0, 1));
    core.watchTick();
    EXPECT_EQ(runner.names().back(), "Call the plumber");
    EXPECT_EQ(names(commands.recent()).back(), "Call the plumber@07 14/Work");
}

TEST_F(RemoteCommandsTest, WhatCannotBeAnAlarmIsRefusedAndNothingIsAdded) {
    const std::string notAMoment = " is not a moment of the form yyyy/mm/dd hh:nn:ss";
    for (const std::string moment : {"2026/02/30 10:00:00", "2026/03/07 25:61:61", "2026/03/08 10:00:00 junk",
                                     "2026/03/08 10:00", "2026-03-08 10:00:00"}) {
        EXPECT_EQ(add("x", moment, "m", ""), "\"" + moment + "\"" + notAMoment);
    }
    const std::string later = "2026/03/08 10:00:00";
    EXPECT_EQ(add("", later, "", ""), "an alarm needs a name or a message");
    EXPECT_EQ(add(" ", later, "\n", ""), "an alarm needs a name or a message");
    EXPECT_EQ(add(std::string(257, 'n'), later, "m", ""), "the name is longer than 256 bytes");
    EXPECT_EQ(add("x", later, std::string(16 * 1024 * 1024, 'm'), ""), "the message is longer than 16384 bytes");
    EXPECT_EQ(add("bell\x07", later, "m", ""), "the name or the message holds control characters");
    EXPECT_EQ(add("x", later, "two\nlines\ttabbed", ""), ""); // but line breaks are fine

    // A group that holds all it can says so.
    const auto work = core.groups().alarmGroups.elementAt(1);
    while (work->alarms.addElement(Alarm::createAlarm(work))) {
    }
    EXPECT_EQ(add("x", later, "m", "Work"), "the alarm group \"Work\" is full: it holds 20480 alarms");
    work->alarms.clear();

    // A file that cannot be written: refused, and not kept in memory either.
    core.groups().alarmGroups.elementAt(0)->path = "agPath/no/such/folder/usg_0.agx";
    const int before = core.groups().alarmGroups.elementAt(0)->numberOfAlarms();
    const std::string refused = add("x", later, "m", "Home");
    EXPECT_EQ(refused.rfind("the alarm could not be saved: ", 0), 0u) << refused;
    EXPECT_NE(refused.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0)->numberOfAlarms(), before);

    // Found by the watch while the disk had not answered yet (another change made it look again): taken out
    // of the watch's lists as well when refused, so it never sounds.
    std::optional<std::string> answer;
    commands.addAlarm("x", "2026/03/07 12:30:00", "m", "Home", [&answer](const std::string& a) { answer = a; });
    core.watch().alarmsChanged(Vector<Alarm>(), kindStateChanged);
    EXPECT_EQ(core.watch().nextAlarmMoment(), Date::fromParts(2026, 3, 7, 12, 30, 0));
    ASSERT_TRUE(core.groups().fileWriter().waitUntilDone());
    core.groups().fileWriter().reportOutcomes();
    ASSERT_TRUE(answer.has_value());
    EXPECT_NE(*answer, "");
    EXPECT_EQ(core.watch().nextAlarmMoment(), Date::fromParts(2026, 3, 7, 13, 0, 0));
}

TEST_F(RemoteCommandsTest, SnoozingNamesItsUnitAndNeedsAnOpenAlarmWindow) {
    EXPECT_EQ(commands.snooze(5, "fortnights"),
              "\"fortnights\" is not a unit: seconds, minutes, hours, days, weeks, months or years");
    EXPECT_EQ(commands.snooze(0, "minutes"), "the amount must be 1 or more");
    EXPECT_EQ(commands.snooze(5, "minutes"), "no alarm window is open");
    std::vector<std::pair<int, int>> asked;
    commands.snoozeLatestWindow = [&asked](std::int32_t amount, std::int16_t unit) {
        asked.emplace_back(amount, unit);
        return true;
    };
    EXPECT_EQ(commands.snooze(10, "minutes"), "");
    EXPECT_EQ(commands.snooze(1, "week"), "");
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{10, unitMinute}, {1, unitWeek}}));

    bool exited = false;
    commands.exitRoutine = [&exited] { exited = true; };
    commands.quit();
    EXPECT_TRUE(exited);
}

} // namespace
} // namespace halvika
