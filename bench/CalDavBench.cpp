// The CalDAV synchronisation against a Radicale started on the loopback address: a first synchronisation of
// 1,000 alarms, one with nothing changed, and one with ten changes.
#include "CalDavSync.h"
#include "DavClient.h"
#include "caldav/CalDavServers.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

namespace {

using halvika::CalDavSync;
using halvika::DavClient;
using halvika::XMLNode;
using halvika::XMLNodePtr;
using halvika::test::CalDavServer;

constexpr int alarmCount = 1000;

std::string group() {
    std::string alarms;
    for (int i = 0; i < alarmCount; ++i) {
        const int minute = i % 60;
        const int day = 1 + i / 60 % 28;
        alarms += "<alrm><name>A" + std::to_string(i) + "</name><datk>0</datk><oncd>2030/03/" + (day < 10 ? "0" : "") +
                  std::to_string(day) + " 08:" + (minute < 10 ? "0" : "") + std::to_string(minute) +
                  ":00</oncd><acti><acid>1</acid><plug></plug><sett><s>Alarm " + std::to_string(i) +
                  "</s></sett></acti></alrm>";
    }
    return "<algr><name>Bench</name><stat>-1</stat>" + alarms + "</algr>";
}

struct Copy {
    XMLNodePtr group;
    XMLNodePtr settings;
};

CalDavSync::Outcome sync(Copy& copy) {
    DavClient client(CalDavServer::user, CalDavServer::password, 20000);
    CalDavSync sync(client, std::time(nullptr));
    CalDavSync::Outcome out = sync.run(*copy.settings, *copy.group);
    if (out.group) {
        copy.settings = out.group->getNode("syst")->getCopy();
        copy.group = out.group;
    }
    return out;
}

std::string newCalendar(CalDavServer& server) {
    std::string problem;
    return server.newCalendar("Bench", problem);
}

void BM_FirstSync1000(benchmark::State& state) {
    CalDavServer server(CalDavServer::Kind::Radicale);
    const std::string text = group();
    for (auto _ : state) {
        state.PauseTiming();
        Copy copy{XMLNode::createFromXML(text),
                  XMLNode::createFromXML("<syst><url>" + newCalendar(server) + "</url><user>alice</user></syst>")};
        state.ResumeTiming();
        const auto out = sync(copy);
        if (!out.group || out.uploaded != alarmCount) {
            state.SkipWithError(("first sync failed: " + out.problem).c_str());
            return;
        }
        state.counters["requests"] = out.requests;
    }
}

void BM_NoChangeSync1000(benchmark::State& state) {
    CalDavServer server(CalDavServer::Kind::Radicale);
    Copy copy{XMLNode::createFromXML(group()),
              XMLNode::createFromXML("<syst><url>" + newCalendar(server) + "</url><user>alice</user></syst>")};
    sync(copy);
    sync(copy); // our own uploads come back once as changes; from then on nothing has changed
    for (auto _ : state) {
        const auto out = sync(copy);
        if (!out.group || out.uploaded + out.downloaded != 0) {
            state.SkipWithError("no-change sync moved something");
            return;
        }
        state.counters["requests"] = out.requests;
    }
}

void BM_TenChangesSync1000(benchmark::State& state) {
    CalDavServer server(CalDavServer::Kind::Radicale);
    Copy copy{XMLNode::createFromXML(group()),
              XMLNode::createFromXML("<syst><url>" + newCalendar(server) + "</url><user>alice</user></syst>")};
    sync(copy);
    sync(copy);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        for (int i = 0; i < 10; ++i) {
            copy.group->getNode("alrm", i * 97)->setString("name", "Changed " + std::to_string(round));
        }
        state.ResumeTiming();
        const auto out = sync(copy);
        if (!out.group || out.uploaded != 10) {
            state.SkipWithError("ten changes were not uploaded");
            return;
        }
        state.counters["requests"] = out.requests;
    }
}

BENCHMARK(BM_FirstSync1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_NoChangeSync1000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_TenChangesSync1000)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
