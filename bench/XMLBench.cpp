// Parsing and writing back a 5 MB alarm-group document, with XMLNode and, as a yardstick, pugixml.
#include "xml/XMLNode.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

namespace {

// An alarm group file as the program writes it: one line, many alarms, each with its fields and actions.
const std::string& alarmGroupDocument() {
    static const std::string doc = [] {
        auto root = halvika::XMLNode::Create("algr");
        root->addString("name", "Work & home");
        root->addBoolean("stat", true);
        root->addLong("colr", 16711680);
        std::size_t written = root->toString().size();
        for (int i = 0; written < 5u * 1024 * 1024; ++i) {
            auto al = halvika::XMLNode::Create("al");
            al->addString("name", "Alarm number " + std::to_string(i) + " <daily> & \"quoted\"");
            al->addInteger("datk", static_cast<std::int16_t>(i % 2));
            al->addDate("once", halvika::Date::fromParts(2026, 3, 7, 7, 5, i % 60));
            al->addDate("next", halvika::Date::fromParts(2026, 3, 8, 7, 5, 0));
            al->addLong("evam", 1 + i % 7);
            al->addInteger("evun", static_cast<std::int16_t>(i % 7));
            al->addInteger("actp", 6);
            al->addDate("stda", halvika::Date::none());
            al->addDate("enda", halvika::Date::none());
            al->addInteger("wkdy", 62);
            al->addString("adva", "WEEKDAY==2&&DAYOFMONTH<=7");
            al->addLong("coam", -5);
            al->addInteger("coun", 1);
            al->addLong("duam", 30);
            al->addInteger("duun", 1);
            al->addInteger("impo", 2);
            al->addBoolean("stat", true);
            al->addSingle("volu", 0.75f);
            for (int a = 0; a < 2; ++a) {
                auto ac = halvika::XMLNode::Create("ac");
                ac->addInteger("kind", static_cast<std::int16_t>(1 + a));
                ac->addString("text", "Time to stand up and stretch; the meeting starts in ten minutes.");
                ac->addString("file", "/usr/share/sounds/halvika/ring.wav");
                ac->addBoolean("rept", a == 1);
                al->addNode(ac);
            }
            written += al->toString().size();
            root->addNode(al);
        }
        return root->toString();
    }();
    return doc;
}

void halvikaParse(benchmark::State& state) {
    const std::string& doc = alarmGroupDocument();
    for (auto _ : state) {
        auto node = halvika::XMLNode::createFromXML(doc);
        benchmark::DoNotOptimize(node);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

void pugixmlParse(benchmark::State& state) {
    const std::string& doc = alarmGroupDocument();
    for (auto _ : state) {
        pugi::xml_document d;
        const pugi::xml_parse_result r =
            d.load_buffer(doc.data(), doc.size(), pugi::parse_default, pugi::encoding_utf8);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

void halvikaParseAndWrite(benchmark::State& state) {
    const std::string& doc = alarmGroupDocument();
    for (auto _ : state) {
        auto node = halvika::XMLNode::createFromXML(doc);
        std::string out = node->toString();
        if (out != doc) {
            state.SkipWithError("round trip changed the document");
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void pugixmlParseAndWrite(benchmark::State& state) {
    const std::string& doc = alarmGroupDocument();
    for (auto _ : state) {
        pugi::xml_document d;
        d.load_buffer(doc.data(), doc.size(), pugi::parse_default, pugi::encoding_utf8);
        StringWriter w;
        w.out.reserve(doc.size());
        d.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        benchmark::DoNotOptimize(w.out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

} // namespace

BENCHMARK(halvikaParse)->Unit(benchmark::kMillisecond);
BENCHMARK(pugixmlParse)->Unit(benchmark::kMillisecond);
BENCHMARK(halvikaParseAndWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(pugixmlParseAndWrite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
