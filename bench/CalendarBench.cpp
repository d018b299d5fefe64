// Filling the calendar's views from many alarms, from the gathering of occurrences to the painted grid,
// offscreen: 100 groups of 200 alarms each, as the main window's showCalendars does it.
#include "alarms/Alarm.h"
#include "base/AppPaths.h"
#include "calendar/HalvikaCalendarLogic.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroup.h"
#include "settings/modIniFileHandling.h"
#include "settings/modTranslation.h"
#include "windows/HGrid.h"
#include "windows/HalvikaCalendar.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <random>

namespace halvika {
namespace {

/// Per group: 196 one-time alarms spread over three years, two monthly and two yearly ones, some lasting.
Vector<AlarmGroup> manyGroups(int groupCount, int alarmsPerGroup) {
    std::mt19937 random(7);
    const Date start = Date::fromParts(2025, 6, 1);
    std::uniform_int_distribution<std::int64_t> within(0, 3 * 365 * 86400LL);
    Vector<AlarmGroup> groups;
    for (int g = 0; g < groupCount; ++g) {
        auto group = std::make_shared<AlarmGroup>();
        group->name = "Group " + std::to_string(g);
        group->Active = true;
        group->Color = static_cast<std::int32_t>(random() & 0xffffff);
        for (int a = 0; a < alarmsPerGroup; ++a) {
            auto alarm = Alarm::createAlarm(group);
            alarm->name = "Alarm " + std::to_string(a);
            alarm->Active = true;
            alarm->startDate = alarm->endDate = Date::none();
            if (a < alarmsPerGroup - 4) {
                alarm->onceDate = Date::fromSerialSeconds(start.serialSeconds() + within(random) / 60 * 60);
            } else {
                alarm->momentKind = 1;
                alarm->everyAmount = 1;
                alarm->everyUnit = a < alarmsPerGroup - 2 ? unitMonth : unitYear;
                alarm->nextDate = Date::fromSerialSeconds(start.serialSeconds() + within(random) / 60 * 60);
                alarm->onceDate = Date::none();
            }
            if (a % 10 == 0) {
                alarm->durationAmount = 90;
                alarm->durationUnit = unitMinute;
            }
            group->alarms.addElement(alarm);
        }
        groups.addElement(group);
    }
    return groups;
}

void BM_ShowCalendarsMonthView(benchmark::State& state) {
    const Vector<AlarmGroup> groups = manyGroups(100, 200);
    const AppPaths paths("/tmp", {HALVIKA_SOURCE_DIR "/data"});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    texts.setLanguage("English");
    HalvikaCalendarLogic logic;
    XMLNode none;
    logic.setSettings(none, Date::fromParts(2026, 3, 10, 9, 0, 0)); // a month view and a four-day view
    HalvikaCalendar calendar(logic, texts);
    calendar.resize(1100, 800);
    calendar.show();
    QApplication::processEvents();
    for (auto _ : state) {
        // The alarms' answers are cached per query; a real refill follows a change that empties them.
        for (int g = 0; g < groups.numberOfElements(); ++g) {
            const auto& alarms = groups.elementAt(g)->alarms;
            for (int a = 0; a < alarms.numberOfElements(); ++a) {
                alarms.elementAt(a)->invalidateCaches();
            }
        }
        for (int v = 0; v < logic.getNumberOfViews(); ++v) {
            logic.fillView(v, groups, true);
            calendar.viewChanged(v);
        }
        calendar.grid(0)->repaint(); // painted now, not at the next turn of the event loop
    }
    state.counters["occurrences"] = logic.calendar(0).NumberOfEntries();
    state.counters["alarms"] = 100 * 200;
}
BENCHMARK(BM_ShowCalendarsMonthView)->Unit(benchmark::kMillisecond)->MinTime(3.0);

/// The painting alone, of the same month view once filled.
void BM_PaintMonthView(benchmark::State& state) {
    const Vector<AlarmGroup> groups = manyGroups(100, 200);
    const AppPaths paths("/tmp", {HALVIKA_SOURCE_DIR "/data"});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    HalvikaCalendarLogic logic;
    XMLNode none;
    logic.setSettings(none, Date::fromParts(2026, 3, 10, 9, 0, 0));
    HalvikaCalendar calendar(logic, texts);
    calendar.resize(1100, 800);
    calendar.show();
    logic.fillView(0, groups, true);
    calendar.viewChanged(0);
    QApplication::processEvents();
    for (auto _ : state) {
        calendar.grid(0)->repaint();
    }
    state.counters["occurrences"] = logic.calendar(0).NumberOfEntries();
}
BENCHMARK(BM_PaintMonthView)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
} // namespace halvika

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
