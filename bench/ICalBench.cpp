// Importing a 5,000-event iCalendar file: the conversion alone, and the whole call to the shipped plug-in
// program as Halvika makes it (start, request, reading the file, reply, the group read back).
#include "ICalImporter.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "text/TextFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

/// 5,000 events as calendar programs write them: one-time events in UTC and in a named zone, weekly and
/// monthly rules, yearly birthdays with reminders, all-day events.
std::string calendarOf(int events) {
    std::string text = "BEGIN:VCALENDAR\r\nPRODID:-//Bench//EN\r\nVERSION:2.0\r\nX-WR-CALNAME:Bench\r\n"
                       "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\n"
                       "TZOFFSETTO:+0100\r\nDTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
                       "END:STANDARD\r\nBEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
                       "DTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
                       "END:VTIMEZONE\r\n";
    for (int i = 0; i < events; ++i) {
        const int day = 1 + i % 28;
        const int month = 1 + (i / 28) % 12;
        char date[32];
        std::snprintf(date, sizeof date, "2027%02d%02dT%02d%02d00", month, day, 6 + i % 14, (i * 7) % 60);
        text += "BEGIN:VEVENT\r\nUID:event-" + std::to_string(i) + "@bench\r\nDTSTAMP:20260101T000000Z\r\n";
        text += "SUMMARY:Event number " + std::to_string(i) + "\r\nDESCRIPTION:Something to remember\\, really.\r\n";
        switch (i % 5) {
        case 0:
            text += std::string("DTSTART:") + date + "Z\r\n";
            break;
        case 1:
            text += std::string("DTSTART;TZID=Europe/Berlin:") + date + "\r\nDTEND;TZID=Europe/Berlin:" + date + "\r\n";
            break;
        case 2:
            text += std::string("DTSTART:") + date +
                    "\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20281231T000000\r\n";
            break;
        case 3:
            text += std::string("DTSTART:") + date + "\r\nRRULE:FREQ=MONTHLY;BYDAY=-1FR;COUNT=24\r\n";
            break;
        default:
            text += std::string("DTSTART;VALUE=DATE:") + std::string(date).substr(0, 8) +
                    "\r\nRRULE:FREQ=YEARLY\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Soon\r\n"
                    "TRIGGER:-P1D\r\nEND:VALARM\r\n";
        }
        text += "END:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void importFiveThousandEvents(benchmark::State& state) {
    const std::string text = calendarOf(5000);
    for (auto _ : state) {
        const auto result = halvika::ICalImporter::importText(text, "bench");
        if (!result.group || result.group->getNumberOfNodesWithName("alrm") != 5000) {
            state.SkipWithError("not every event was imported");
        }
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

void importThroughThePluginProgram(benchmark::State& state) {
    char tmpl[] = "/tmp/halvika-ical-bench-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string file = folder + "/big.ics";
    if (!halvika::TextFile::writeAtomically(file, calendarOf(5000))) {
        state.SkipWithError("cannot write the calendar to import");
        return;
    }
    halvika::PosixPluginProcess process;
    halvika::PluginHost host(process, {ICAL_PLUGIN_FOLDER}, false);
    for (auto _ : state) {
        const std::string reply = host.methodCall("HalvikaICal*ICalImport", "GetAlarmgroupFromFile",
                                                  host.lang() + "<path>" + file + "</path>", false);
        const auto answer = halvika::XMLNode::createFromXML(reply);
        if (answer->getNode("algr")->getNumberOfNodesWithName("alrm") != 5000) {
            state.SkipWithError("the plug-in did not import every event");
        }
    }
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(importFiveThousandEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(importThroughThePluginProgram)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
