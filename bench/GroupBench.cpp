// Loading an alarm group folder of 100 groups x 200 alarms, and saving one changed group among them.
#include "base/MessageBoxRoutine.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroupCollection.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace halvika;
using namespace halvika::bench;

struct Folder {
    Folder() {
        char tmpl[] = "/tmp/halvika-bench-XXXXXX";
        path = ::mkdtemp(tmpl);
        for (int g = 0; g < 100; ++g) {
            auto root = XMLNode::Create("algr");
            root->addString("name", "Group " + std::to_string(g));
            root->addBoolean("stat", true);
            root->addBoolean("chsi", false);
            root->addLong("colr", 255);
            root->addString("sync", "");
            root->addNode(XMLNode::Create("syst"));
            for (int a = 0; a < 200; ++a) {
                auto alarm = Alarm::createAlarm(nullptr);
                alarm->name = "Alarm " + std::to_string(a) + " of group " + std::to_string(g);
                alarm->momentKind = a % 2;
                alarm->onceDate = Date::fromParts(2026, 1 + a % 12, 1 + a % 28, a % 24, 0, 0);
                alarm->nextDate = Date::fromParts(2025, 1, 1, 7, a % 60, 0);
                alarm->everyAmount = 1;
                alarm->everyUnit = unitDay;
                alarm->startDate = alarm->endDate = Date::none();
                auto action = std::make_shared<clsAction>();
                action->setKind(ActionKind::Message);
                action->settings->addString("s", "Reminder text for alarm " + std::to_string(a));
                alarm->actions.addElement(action);
                root->addNode(alarm->toXML("alrm"));
            }
            if (root->toXMLFile(path + "/usg_" + std::to_string(g) + ".agx")) {
                throw std::runtime_error("cannot write the benchmark's groups in " + path);
            }
        }
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string path;
};

Folder& folder() {
    static Folder f;
    return f;
}

struct Program : BenchGroups {
    Program() : BenchGroups(folder().path) {}
};

void loadFolderOf100GroupsOf200Alarms(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        Program program;
        program.groups.loadAlarmGroups();
        if (program.groups.alarmGroups.numberOfElements() != 100) {
            state.SkipWithError("not every group loaded");
        }
    }
}

/// A change that does not make the file grow from one iteration to the next.
void changeOneAlarm(AlarmGroup& group) {
    group.elementAt(7)->name = group.elementAt(7)->name.back() == '!' ? "Alarm 7" : "Alarm 7!";
    group.setChanged();
}

void saveOneChangedGroupAmong100(benchmark::State& state) {
    Program program;
    program.groups.loadAlarmGroups();
    const auto group = program.groups.alarmGroups.elementAt(42);
    for (auto _ : state) {
        changeOneAlarm(*group);
        if (!program.groups.saveAlarmGroups(false)) {
            state.SkipWithError("save failed");
        }
    }
}

/// The same save as the tick makes it: the group's text is made here and handed to the writer's thread, which
/// waits for the disk outside the measured time.
void queueOneChangedGroupAmong100(benchmark::State& state) {
    Program program;
    program.groups.loadAlarmGroups();
    const auto group = program.groups.alarmGroups.elementAt(42);
    for (auto _ : state) {
        changeOneAlarm(*group);
        program.groups.queueChangedGroups();
        state.PauseTiming();
        program.groups.fileWriter().waitUntilDone();
        if (program.groups.fileWriter().reportOutcomes() != 0) {
            state.SkipWithError("save failed");
        }
        state.ResumeTiming();
    }
}

/// What the program does on the user-interface thread when a synchronisation's answer for a group of 1,000
/// alarms comes: the group as it was sent is compared with the group now, and the answer read into it.
void applySynchronisedAnswerOf1000Alarms(benchmark::State& state) {
    Program program;
    program.groups.loadAlarmGroups();
    const auto group = program.groups.alarmGroups.elementAt(0);
    auto answer = group->toXML();
    for (int copy = 1; copy < 5; ++copy) {
        const auto other = program.groups.alarmGroups.elementAt(copy)->toXML();
        for (int i = 0; i < other->getNumberOfNodesWithName("alrm"); ++i) {
            answer->addNode(other->getNode("alrm", i)->getCopy());
        }
    }
    const std::string reply = "<reply>" + answer->toString() + "</reply>";
    for (auto _ : state) {
        const std::string sent = group->toXML()->toString();
        benchmark::DoNotOptimize(sent == group->toXML()->toString());
        if (!group->applySynchronized(reply, program.services) || group->numberOfAlarms() != 1000) {
            state.SkipWithError("the answer was not applied");
        }
    }
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

} // namespace

BENCHMARK(applySynchronisedAnswerOf1000Alarms)->Unit(benchmark::kMillisecond);
BENCHMARK(loadFolderOf100GroupsOf200Alarms)->Unit(benchmark::kMillisecond);
BENCHMARK(saveOneChangedGroupAmong100)->Unit(benchmark::kMillisecond);
BENCHMARK(queueOneChangedGroupAmong100)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
