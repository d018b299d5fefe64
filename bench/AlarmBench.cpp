// The next-moment computation: cost against anchor distance, and cold and warm queries over many alarms.
#include "alarms/Alarm.h"
#include "dates/DateUnits.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using halvika::Alarm;
using halvika::Date;

const Date kAsked = Date::fromParts(2026, 3, 7, 12, 0, 30);

std::shared_ptr<Alarm> perMinute(const Date& anchor) {
    auto a = Alarm::createAlarm(nullptr);
    a->momentKind = 1;
    a->everyAmount = 1;
    a->everyUnit = halvika::unitMinute;
    a->nextDate = anchor;
    return a;
}

void coldQuery(benchmark::State& state, const Date& anchor) {
    auto a = perMinute(anchor);
    for (auto _ : state) {
        a->invalidateCaches();
        benchmark::DoNotOptimize(a->hasNextAlarmDateAfter(kAsked));
    }
}

void coldPerMinuteAnchoredTenYearsBack(benchmark::State& state) {
    coldQuery(state, halvika::dateAddUnit(kAsked, -10, halvika::unitYear));
}

void coldPerMinuteAnchoredOneDayBack(benchmark::State& state) {
    coldQuery(state, halvika::dateAddUnit(kAsked, -1, halvika::unitDay));
}

// A realistic mix: one-time alarms, daily ones, weekday alarms, monthly ones, windows, expressions,
// corrections and snoozes.
std::vector<std::shared_ptr<Alarm>> mixedAlarms() {
    std::vector<std::shared_ptr<Alarm>> alarms;
    for (int i = 0; i < 20480; ++i) {
        auto a = Alarm::createAlarm(nullptr);
        const Date anchor = Date::fromParts(2020 + i % 7, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0);
        a->nextDate = anchor;
        a->onceDate = halvika::dateAddUnit(kAsked, i % 1000 - 300, halvika::unitHour);
        a->everyAmount = 1 + i % 3;
        a->startDate = a->endDate = Date::none();
        switch (i % 8) {
        case 0:
        case 1:
            a->momentKind = 0;
            break;
        case 2:
            a->momentKind = 1;
            a->everyUnit = halvika::unitDay;
            break;
        case 3:
            a->momentKind = 1;
            a->everyUnit = halvika::unitDay;
            a->activePeriod = Alarm::periodWeekdays;
            a->weekDays = 62; // Monday to Friday
            break;
        case 4:
            a->momentKind = 1;
            a->everyUnit = halvika::unitMonth;
            break;
        case 5:
            a->momentKind = 1;
            a->everyUnit = halvika::unitDay;
            a->activePeriod = Alarm::periodAdvanced;
            a->activeAdvanced = "WEEKDAY==MONDAY&&DAYOFMONTH<=7";
            break;
        case 6:
            a->momentKind = 1;
            a->everyUnit = halvika::unitHour;
            a->activePeriod = Alarm::periodWindow;
            a->startDate = Date::fromParts(2026, 1, 1);
            a->endDate = Date::fromParts(2026, 12, 31);
            a->correctionAmount = -10;
            a->correctionUnit = halvika::unitMinute;
            break;
        default:
            a->momentKind = 1;
            a->everyUnit = halvika::unitWeek;
            a->snooze(halvika::dateAddUnit(kAsked, 5, halvika::unitMinute));
            break;
        }
        alarms.push_back(a);
    }
    return alarms;
}

void queryAll(benchmark::State& state, bool cold) {
    auto alarms = mixedAlarms();
    for (auto& a : alarms) {
        a->hasNextAlarmDateAfter(kAsked);
    }
    for (auto _ : state) {
        for (auto& a : alarms) {
            if (cold) {
                a->invalidateCaches();
            }
            benchmark::DoNotOptimize(a->hasNextAlarmDateAfter(kAsked));
        }
    }
    state.counters["per_alarm"] =
        benchmark::Counter(static_cast<double>(alarms.size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void coldQueries20480MixedAlarms(benchmark::State& state) {
    queryAll(state, true);
}
void warmQueries20480MixedAlarms(benchmark::State& state) {
    queryAll(state, false);
}

} // namespace

BENCHMARK(coldPerMinuteAnchoredTenYearsBack);
BENCHMARK(coldPerMinuteAnchoredOneDayBack);
BENCHMARK(coldQueries20480MixedAlarms)->Unit(benchmark::kMillisecond);
BENCHMARK(warmQueries20480MixedAlarms)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
