// The iCalendar plug-in: importing calendars as other programs write them, exporting valid RFC 5545, the
// round trip, and the command-line import through the plug-in compared with libical's own expansion.
#include "CliCommands.h"
#include "ICalExporter.h"
#include "ICalImporter.h"
#include "alarms/Alarm.h"
#include "dates/DateUnits.h"
#include "fakes/DatePrinter.h"
#include "fakes/TempHome.h"
#include "text/TextFile.h"

#include <libical/ical.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <sstream>

namespace halvika {
namespace {

std::string fixture(const std::string& name) {
    return TextFile::readBytes(HALVIKA_SOURCE_DIR "/tests/plugins/ical/" + name).value_or("");
}

class ICalPluginTest : public ::testing::Test {
protected:
    ICalPluginTest() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    /// The imported alarms by name.
    std::map<std::string, std::shared_ptr<Alarm>> importFamily() {
        const auto result = ICalImporter::importText(fixture("family.ics"), "family");
        notes = result.notes;
        std::map<std::string, std::shared_ptr<Alarm>> alarms;
        if (result.group) {
            groupName = result.group->getString("name");
            for (int i = 0; i < result.group->getNumberOfNodesWithName("alrm"); ++i) {
                auto a = Alarm::createFromXML(*result.group->getNode("alrm", i), nullptr);
                alarms[a->name] = a;
            }
        }
        return alarms;
    }
    static std::vector<Date> nextMoments(Alarm& a, Date after, int count, bool calendar) {
        std::vector<Date> moments;
        for (int i = 0; i < count && a.hasNextAlarmDateAfter(after, calendar); ++i) {
            after = a.getNextAlarmDateAfter();
            if (after >= Date::gaveUp()) {
                break;
            }
            moments.push_back(after);
        }
        return moments;
    }
    static std::string message(const Alarm& a) {
        return a.actions.numberOfElements() > 0 ? a.actions.elementAt(0)->settings->getString("s") : "";
    }
    bool noted(const std::string& alarm, const std::string& words) const {
        for (const auto& n : notes) {
            if (n.rfind("\"" + alarm, 0) == 0 && n.find(words) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> notes;
    std::string groupName;
};

Date at(int y, int mo, int d, int h = 0, int mi = 0) {
    return Date::fromParts(y, mo, d, h, mi, 0);
}

TEST_F(ICalPluginTest, EventsBecomeAlarmsInLocalTimeWithTheirMessagesDurationsAndCorrections) {
    auto alarms = importFamily();
    EXPECT_EQ(groupName, "Family");
    ASSERT_EQ(alarms.size(), 12u); // eleven events and the to-do with a due time

    const auto& eve = alarms.at("Christmas Eve"); // all day: at nine in the morning, not at midnight
    EXPECT_EQ(eve->momentKind, 0);
    EXPECT_EQ(eve->onceDate, at(2026, 12, 24, 9));
    EXPECT_EQ(eve->durationAmount, 1); // and lasting the day
    EXPECT_EQ(eve->durationUnit, unitDay);
    // The hour is the user's setting; a setting that cannot be read keeps nine.
    EXPECT_EQ(ICalImporter::allDayMinutesFrom("# mine\nallDayTime=07:30\n"), 7 * 60 + 30);
    for (const char* bad : {"", "allDayTime=25:00", "allDayTime=7.30", "allDayTime=07:30x", "xallDayTime=07:30"}) {
        EXPECT_EQ(ICalImporter::allDayMinutesFrom(bad), 9 * 60) << bad;
    }
    const auto early = ICalImporter::importText(fixture("family.ics"), "family", 7 * 60 + 30);
    bool found = false;
    for (int i = 0; i < early.group->getNumberOfNodesWithName("alrm"); ++i) {
        const auto alarm = Alarm::createFromXML(*early.group->getNode("alrm", i), nullptr);
        if (alarm->name == "Christmas Eve") {
            found = true;
            EXPECT_EQ(alarm->onceDate, at(2026, 12, 24, 7, 30));
        }
    }
    EXPECT_TRUE(found);

    const auto& berlin = alarms.at("Call with Berlin"); // 09:00 in Berlin in winter is 08:00 UTC
    EXPECT_EQ(berlin->onceDate, at(2026, 12, 7, 8));
    EXPECT_EQ(berlin->durationAmount, 60);
    EXPECT_EQ(message(*berlin), "Call with Berlin\r\nQuarterly planning. Bring the figures, please.\r\n"
                                "Konferenzraum S\xC3\xBC"
                                "d");
    EXPECT_EQ(alarms.at("Launch window")->onceDate, at(2026, 12, 8, 14, 30));
    EXPECT_EQ(alarms.at("Submit tax return")->onceDate, at(2026, 12, 10, 17));

    const auto& choir = alarms.at("Choir rehearsal"); // Tuesdays and Thursdays until March, 30 minutes early
    EXPECT_EQ(choir->everyUnit, unitDay);
    EXPECT_EQ(choir->weekDays, (1 << 2) | (1 << 4));
    EXPECT_EQ(choir->correctionAmount, -30);
    EXPECT_EQ(choir->correctionUnit, unitMinute);
    EXPECT_EQ(choir->durationAmount, 90);
    EXPECT_EQ(choir->endDate, at(2027, 3, 1));
    EXPECT_EQ(nextMoments(*choir, at(2026, 12, 5), 3, false),
              (std::vector<Date>{at(2026, 12, 8, 18), at(2026, 12, 10, 18), at(2026, 12, 15, 18)}));

    EXPECT_EQ(alarms.at("Bins: first Monday")->activeAdvanced, "WEEKDAY==MONDAY&&DAYOFMONTH<=7");
    const auto& drinks = alarms.at("Last Friday drinks");
    EXPECT_EQ(drinks->activeAdvanced, "WEEKDAY==FRIDAY&&DAYSBEFORENEXTMONTH<=7");
    EXPECT_EQ(drinks->endDate, at(2027, 5, 28, 17)); // the sixth occurrence
    EXPECT_EQ(nextMoments(*drinks, at(2027, 5, 1), 5, true), std::vector<Date>{at(2027, 5, 28, 17)});
    EXPECT_EQ(alarms.at("Pay day")->activeAdvanced, "(DAYOFMONTH==15)||(DAYSBEFORENEXTMONTH==1)");
    EXPECT_EQ(nextMoments(*alarms.at("Every other morning"), at(2026, 12, 16), 5, true),
              (std::vector<Date>{at(2026, 12, 17, 7), at(2026, 12, 19, 7)}));

    const std::string birthday = "Anna's birthday \xE2\x80\x94 \xF0\x9F\x8E\x82 Geburtstag";
    ASSERT_EQ(alarms.count(birthday), 1u);
    EXPECT_EQ(alarms.at(birthday)->correctionAmount, -1);
    EXPECT_EQ(alarms.at(birthday)->correctionUnit, unitDay);
    EXPECT_EQ(alarms.count("Lunch club with a very long summary that goes on and on so that the line must be "
                           "folded by the writer of the file"),
              1u);

    // What could not be carried over is listed, alarm by alarm.
    EXPECT_TRUE(noted("Lunch club", "EXDATE"));
    EXPECT_TRUE(noted("Last workday report", "BYSETPOS"));
    EXPECT_TRUE(noted("Anna's birthday", "several reminders"));
    EXPECT_TRUE(noted("Someday: learn the cello", "no due time"));
    EXPECT_EQ(notes.size(), 4u);

    EXPECT_FALSE(ICalImporter::importText("this is not a calendar", "x").group);
}

TEST_F(ICalPluginTest, ZonedAndUtcTimesBecomeTheUsersLocalTimeAndFloatingTimesStayAsWritten) {
    setenv("TZ", "America/New_York", 1);
    tzset();
    auto alarms = importFamily();
    EXPECT_EQ(alarms.at("Call with Berlin")->onceDate, at(2026, 12, 7, 3));  // 09:00 CET is 03:00 EST
    EXPECT_EQ(alarms.at("Launch window")->onceDate, at(2026, 12, 8, 9, 30)); // 14:30 UTC
    EXPECT_EQ(alarms.at("Christmas Eve")->onceDate, at(2026, 12, 24, 9));    // a day is a day everywhere
    EXPECT_EQ(alarms.at("Choir rehearsal")->nextDate, at(2026, 12, 1, 18, 30));
}

/// Every occurrence libical expands from the file's events between the two moments, as "name\tmoment".
std::vector<std::string> libicalOccurrences(const std::string& text, const Date& from, const Date& to,
                                            const std::vector<std::string>& skipped) {
    std::vector<std::string> out;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    const time_t fromT = static_cast<time_t>(from.serialSeconds() - Date::fromParts(1970, 1, 1).serialSeconds());
    const time_t toT = static_cast<time_t>(to.serialSeconds() - Date::fromParts(1970, 1, 1).serialSeconds());
    for (icalcomponent* ev = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); ev != nullptr;
         ev = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const std::string name = icalcomponent_get_summary(ev);
        bool skip = false;
        for (const auto& s : skipped) {
            skip = skip || name.rfind(s, 0) == 0;
        }
        if (skip) {
            continue;
        }
        const icaltimetype start = icalcomponent_get_dtstart(ev);
        const auto add = [&](const icaltimetype& t) {
            const time_t when = icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone());
            if (when > fromT && when <= toT) {
                const Date d = Date::fromSerialSeconds(when + Date::fromParts(1970, 1, 1).serialSeconds());
                out.push_back(name + "\t" + d.toFileString());
            }
        };
        icalproperty* rule = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY);
        if (rule == nullptr) {
            add(start);
            continue;
        }
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t); t = icalrecur_iterator_next(it)) {
            t.zone = start.zone;
            if (icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone()) > toT) {
                break;
            }
            add(t);
        }
        icalrecur_iterator_free(it);
    }
    icalcomponent_free(calendar);
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(ICalPluginTest, EveryFewWeeksOnSeveralWeekdaysIsImportedExactly) {
    const std::string text = fixture("fortnightly.ics");
    const auto result = ICalImporter::importText(text, "fortnightly");
    ASSERT_TRUE(result.group);
    for (const auto& n : result.notes) {
        ADD_FAILURE() << "nothing here is approximate, but: " << n;
    }
    const Date after = at(2026, 12, 1);
    const Date until = dateAddUnit(after, 90, unitDay);
    std::vector<std::string> imported;
    for (int i = 0; i < result.group->getNumberOfNodesWithName("alrm"); ++i) {
        auto a = Alarm::createFromXML(*result.group->getNode("alrm", i), nullptr);
        for (const Date& d : nextMoments(*a, after, 200, true)) {
            if (d <= until) {
                imported.push_back(a->name + "\t" + d.toFileString());
            }
        }
    }
    std::sort(imported.begin(), imported.end());
    const auto expected = libicalOccurrences(text, after, until, {});
    EXPECT_EQ(imported, expected);
    EXPECT_GT(expected.size(), 40u);
}

TEST_F(ICalPluginTest, AReminderWhoseTextIsOnlyInItsAlarmKeepsThatText) {
    const auto result = ICalImporter::importText(fixture("reminders.ics"), "reminders");
    ASSERT_TRUE(result.group);
    ASSERT_EQ(result.group->getNumberOfNodesWithName("alrm"), 3);
    auto pill = Alarm::createFromXML(*result.group->getNode("alrm", 0), nullptr);
    EXPECT_EQ(pill->name, "Take the blood pressure pill");
    EXPECT_EQ(message(*pill), "Take the blood pressure pill");
    EXPECT_EQ(pill->momentKind, 1);

    auto plain = Alarm::createFromXML(*result.group->getNode("alrm", 1), nullptr);
    EXPECT_EQ(plain->name, "Event");
    notes = result.notes;
    EXPECT_TRUE(noted("Event", "neither a title"));

    // A title of its own wins over the reminder's text.
    auto evening = Alarm::createFromXML(*result.group->getNode("alrm", 2), nullptr);
    EXPECT_EQ(evening->name, "Parents' evening");
    EXPECT_EQ(message(*evening), "Parents' evening");
}

TEST_F(ICalPluginTest, TheCommandLineImportsThroughThePluginAndListsWhatLibicalExpands) {
    test::TempHome home;
    home.write("family.ics", fixture("family.ics"));
    std::ostringstream out, err;
    ASSERT_EQ(CliCommands::run({"import", home.file("family.ics"), "--to", home.path()}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("Family\t"), std::string::npos);
    EXPECT_NE(err.str().find("EXDATE"), std::string::npos); // the notes reach the user

    const Date after = at(2026, 12, 5, 12);
    const Date until = dateAddUnit(after, 30, unitDay);
    std::ostringstream next, nextErr;
    ASSERT_EQ(CliCommands::run(
                  {"next", home.file("usg_0.agx"), "--after", after.toFileString(), "--count", "100", "--calendar"},
                  next, nextErr),
              0)
        << nextErr.str();
    std::vector<std::string> listed;
    std::istringstream lines(next.str());
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        const auto moment = Date::fromFileString(line.substr(tab + 1));
        if (moment && *moment <= until && line.rfind("Lunch club", 0) != 0 &&
            line.rfind("Last workday report", 0) != 0 && line.rfind("Submit tax return", 0) != 0) {
            listed.push_back(line);
        }
    }
    std::sort(listed.begin(), listed.end());
    // The events whose rules have an exact form; the two with EXDATE and BYSETPOS are listed as approximate.
    auto expected = libicalOccurrences(fixture("family.ics"), after, until, {"Lunch club", "Last workday"});
    for (std::string& line : expected) {
        if (line == "Christmas Eve\t2026/12/24 00:00:00") {
            line = "Christmas Eve\t2026/12/24 09:00:00"; // an all-day event reminds in the morning
        }
    }
    EXPECT_EQ(listed, expected);
    EXPECT_GT(expected.size(), 20u);
}

/// A group of the alarm kinds Halvika has, as an "algr" element.
std::string sampleGroup() {
    const auto alarm = [](const std::string& body) {
        const bool window = body.find("<stad>") != std::string::npos;
        return "<alrm><stat>-1</stat>" +
               (window ? "" : std::string("<stad>9999/12/31 00:00:00</stad><endd>9999/12/31 00:00:00</endd>")) + body +
               "</alrm>";
    };
    return "<algr><name>Sample &amp; more</name><stat>-1</stat>" +
           alarm("<name>Dentist</name><datk>0</datk><oncd>2026/12/11 10:30:00</oncd><dura>45</dura><duru>1</duru>"
                 "<adda>-15</adda><addu>1</addu><acti><acid>1</acid><plug></plug><sett><s>Bring the card; "
                 "really, bring it</s></sett></acti>") +
           alarm("<name>Work days</name><datk>1</datk><perl>1</perl><peru>3</peru><nexd>2026/12/01 06:45:00</nexd>"
                 "<actp>4</actp><wkds>62</wkds>") +
           alarm("<name>Fortnightly</name><datk>1</datk><perl>2</perl><peru>6</peru><nexd>2026/12/03 19:00:00</nexd>"
                 "<actp>2</actp><stad>2026/12/10 00:00:00</stad><endd>2027/06/30 00:00:00</endd>") +
           alarm("<name>First Monday</name><datk>1</datk><perl>1</perl><peru>3</peru><nexd>2026/12/01 08:00:00</nexd>"
                 "<actp>8</actp><adva>WEEKDAY==MONDAY&amp;&amp;DAYOFMONTH&lt;=7</adva>") +
           alarm("<name>Month end</name><datk>1</datk><perl>1</perl><peru>3</peru><nexd>2026/12/01 18:00:00</nexd>"
                 "<actp>8</actp><adva>DAYSBEFORENEXTMONTH==1</adva>") +
           alarm("<name>Winter Mondays</name><datk>1</datk><perl>1</perl><peru>3</peru><nexd>2026/12/01 "
                 "07:00:00</nexd><actp>8</actp><adva>(MONTH==1||MONTH==2)&amp;&amp;WEEKDAY==2</adva>") +
           alarm("<name>Monthly on Fridays</name><datk>1</datk><perl>1</perl><peru>4</peru><nexd>2026/12/04 "
                 "12:00:00</nexd><actp>4</actp><wkds>32</wkds>") +
           alarm("<name>Every 90 minutes</name><datk>1</datk><perl>90</perl><peru>1</peru><nexd>2026/12/05 "
                 "08:00:00</nexd>") +
           alarm("<name>Anniversary</name><datk>1</datk><perl>1</perl><peru>5</peru><nexd>2020/06/14 "
                 "10:00:00</nexd><adda>-1</adda><addu>3</addu>") +
           "</algr>";
}

TEST_F(ICalPluginTest, AFileNameWithMarkupCharactersIsImportedThroughThePlugin) {
    test::TempHome home;
    const std::string name = "Tom & Jerry <\"1\"> 'a'.ics";
    home.write(name, fixture("reminders.ics"));
    std::ostringstream out, err;
    ASSERT_EQ(CliCommands::run({"import", home.file(name), "--to", home.path()}, out, err), 0) << err.str();
    EXPECT_NE(home.read("usg_0.agx").find("Take the blood pressure pill"), std::string::npos);
}

TEST_F(ICalPluginTest, ExportedCalendarsAreValidAndComeBackWithTheSameMoments) {
    const auto group = XMLNode::createFromXML(sampleGroup());
    const auto exported = ICalExporter::exportGroup(*group, 1'800'000'000);
    // libical reads it without errors and finds it valid by RFC 5545's restrictions.
    icalcomponent* calendar = icalparser_parse_string(exported.text.c_str());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0);
    EXPECT_EQ(icalrestriction_check(calendar), 1) << exported.text;
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0) << exported.text;
    EXPECT_EQ(icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT), 9);
    icalcomponent_free(calendar);
    EXPECT_NE(exported.text.find("RRULE:FREQ=MONTHLY;BYDAY=1MO"), std::string::npos);
    EXPECT_NE(exported.text.find("RRULE:FREQ=MONTHLY;BYMONTHDAY=-1"), std::string::npos);
    EXPECT_NE(exported.text.find("RRULE:FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"), std::string::npos);
    EXPECT_NE(exported.text.find("TRIGGER:-PT15M"), std::string::npos);
    EXPECT_NE(exported.text.find("X-HALVIKA-EXPRESSION:(MONTH==1||MONTH==2)&&WEEKDAY==2"), std::string::npos);
    EXPECT_NE(exported.text.find("X-WR-CALNAME:Sample & more"), std::string::npos);
    ASSERT_EQ(exported.notes.size(), 2u) << ::testing::PrintToString(exported.notes); // the two expressions
    EXPECT_NE(exported.notes[0].find("Winter Mondays"), std::string::npos);
    EXPECT_NE(exported.notes[1].find("Monthly on Fridays"), std::string::npos);

    const auto back = ICalImporter::importText(exported.text, "x");
    ASSERT_TRUE(back.group);
    ASSERT_EQ(back.group->getNumberOfNodesWithName("alrm"), 9);
    // From a moment after every alarm's anchor: iCalendar has nothing before an event's start.
    for (int i = 0; i < 9; ++i) {
        auto original = Alarm::createFromXML(*group->getNode("alrm", i), nullptr);
        auto imported = Alarm::createFromXML(*back.group->getNode("alrm", i), nullptr);
        EXPECT_EQ(imported->name, original->name);
        EXPECT_EQ(nextMoments(*imported, at(2026, 12, 6), 12, false),
                  nextMoments(*original, at(2026, 12, 6), 12, false))
            << original->name;
    }
}

} // namespace
} // namespace halvika
