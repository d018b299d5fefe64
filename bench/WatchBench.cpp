// One tick of the alarm watch over 20,480 active alarms: nothing due with warm caches, and right after every
// alarm changed (cold caches).
#include "alarms/ActionRunner.h"
#include "base/MessageBoxRoutine.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroupCollection.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmWatch.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

using namespace halvika;
using namespace halvika::bench;

class StillClock : public Clock {
public:
    Reading now() const override { return {Date::fromParts(2026, 3, 7, 12, 0, 30), 0}; }
};

class QuietTimer : public WatchTimer {
public:
    void setHandler(std::function<void()>) override {}
    void setInterval(int ms) override { m_interval = ms; }
    int interval() const override { return m_interval; }
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }

private:
    int m_interval = 0;
};

struct Program : BenchGroups {
    Program() : BenchGroups("/nonexistent"), watch(clock, timer, groups, settings, actions, chores, messages, texts) {
        // 20,480 alarms in 20 groups: daily, weekday-only and monthly alarms spread over the day, none due now.
        for (int g = 0; g < 20; ++g) {
            auto group = AlarmGroup::createDefaultAlarmGroup(services);
            for (int i = 0; i < 1024; ++i) {
                auto a = Alarm::createAlarm(group);
                a->momentKind = 1;
                a->everyAmount = 1;
                a->everyUnit = i % 3 == 2 ? unitMonth : unitDay;
                a->nextDate = Date::fromParts(2025, 1 + i % 12, 1 + i % 28, 13 + i % 10, i % 60, 0);
                a->startDate = a->endDate = Date::none();
                if (i % 3 == 1) {
                    a->activePeriod = Alarm::periodWeekdays;
                    a->weekDays = 62;
                }
                group->alarms.addElement(a);
            }
            groups.alarmGroups.addElement(group);
        }
        watch.start(clock.today(), false);
        watch.updateUpcoming();
    }
    StillClock clock;
    QuietTimer timer;
    WatchSettings settings;
    NoActions actions;
    NoChores chores;
    AlarmWatch watch;
};

void watchTickNothingDueWarm(benchmark::State& state) {
    Program p;
    for (auto _ : state) {
        p.watch.watchTick();
    }
    state.counters["alarms"] = 20480;
}

void watchTickAfterEveryAlarmChanged(benchmark::State& state) {
    Program p;
    for (auto _ : state) {
        state.PauseTiming();
        for (int g = 0; g < p.groups.alarmGroups.numberOfElements(); ++g) {
            const auto group = p.groups.alarmGroups.elementAt(g);
            for (int i = 0; i < group->numberOfAlarms(); ++i) {
                group->elementAt(i)->invalidateCaches();
            }
        }
        state.ResumeTiming();
        p.watch.watchTick();
    }
    state.counters["alarms"] = 20480;
}

} // namespace

BENCHMARK(watchTickNothingDueWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(watchTickAfterEveryAlarmChanged)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
