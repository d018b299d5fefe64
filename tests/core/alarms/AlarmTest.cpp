// The alarm record: constructors, its XML element, actions, snooze and sounding.
#include "alarms/Alarm.h"
#include "alarms/ActionRunner.h"
#include "fakes/TempHome.h"
#include "fakes/XmlTestHelpers.h"
#include "settings/modTranslation.h"

#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>

#include <vector>

namespace halvika {
namespace {

TEST(Alarm, EmptyElementReadsAsDefaults) {
    auto a = Alarm::createFromXML(*XMLNode::createFromXML("<alrm></alrm>"), nullptr);
    EXPECT_EQ(a->name, "");
    EXPECT_EQ(a->momentKind, 0);
    EXPECT_EQ(a->onceDate, Date::none());
    EXPECT_EQ(a->nextDate, Date::none());
    EXPECT_EQ(a->everyAmount, 1);
    EXPECT_EQ(a->everyUnit, 3);
    EXPECT_EQ(a->durationUnit, 1);
    EXPECT_EQ(a->correctionUnit, 0);
    EXPECT_TRUE(a->Active);
    EXPECT_TRUE(a->soundAfterInactive);
    EXPECT_FALSE(a->snoozing);
    EXPECT_FALSE(a->lastSnoozeSet);
    EXPECT_EQ(a->actions.numberOfElements(), 0);
    EXPECT_FALSE(a->changed);
    // Never due: its moment is the "none" date.
    a->hasNextAlarmDateAfter(Date::fromParts(2026, 3, 7));
    EXPECT_EQ(a->getNextAlarmDateAfter(), Date::none());
}

TEST(Alarm, BadValuesFallBackToDefaultsAndOrderDoesNotMatter) {
    auto a = Alarm::createFromXML(*XMLNode::createFromXML("<alrm><stat>abc</stat><perl></perl><peru>77</peru>"
                                                          "<datk>99999999</datk><oncd>soon</oncd>"
                                                          "<name>first</name><name>second</name></alrm>"),
                                  nullptr);
    EXPECT_TRUE(a->Active);
    EXPECT_EQ(a->everyAmount, 1);
    EXPECT_EQ(a->everyUnit, 77); // an unknown unit is kept; the computation copes with it
    EXPECT_EQ(a->momentKind, 0);
    EXPECT_EQ(a->onceDate, Date::none());
    EXPECT_EQ(a->name, "first");
}

TEST(Alarm, ElementChildOrderAndConditionalChildren) {
    auto a = Alarm::createAlarm(nullptr);
    a->name = "Stand-up & coffee";
    a->everyAmount = 1;
    a->durationUnit = 1;
    a->actions.addElement(clsAction::createFromXML(
        *XMLNode::createFromXML("<acti><acid>1</acid><plug></plug><sett><s>Hi</s></sett></acti>"), a.get()));
    const XMLNodePtr x = a->toXML("alrm");
    EXPECT_EQ(test::childNames(*x),
              (std::vector<std::string>{"name", "datk", "perl", "peru", "oncd", "nexd", "actp", "stad", "endd", "wkds",
                                        "adva", "adda", "addu", "acti", "saia", "stat", "snoz", "snod", "rdon"}));
    EXPECT_EQ(x->getNode("acti")->toString(), "<acti><acid>1</acid><plug></plug><sett><s>Hi</s></sett></acti>");

    a->importance = 2;
    a->durationAmount = 30;
    a->durationUnit = 0;
    a->lastSnoozeSet = true;
    a->lastSnoozeAmount = 0;
    const XMLNodePtr more = a->toXML("alrm");
    const auto names = test::childNames(*more);
    EXPECT_EQ(std::vector<std::string>(names.end() - 6, names.end()),
              (std::vector<std::string>{"impr", "dura", "duru", "lsa", "lsu", "lsat"}));
    auto back = Alarm::createFromXML(*more, nullptr);
    EXPECT_TRUE(back->lastSnoozeSet);
    EXPECT_EQ(back->lastSnoozeAmount, 0);
    EXPECT_EQ(back->importance, 2);
    EXPECT_EQ(back->durationAmount, 30);
    EXPECT_EQ(back->durationUnit, 0);

    // A synchronised alarm keeps its identity and its last change; others write neither.
    a->syncModified = 1'900'000'000;
    EXPECT_EQ(a->toXML("alrm")->getNumberOfNodesWithName("smod"), 0);
    a->syncId = "c152a45f@halvika";
    const XMLNodePtr synced = a->toXML("alrm");
    const auto syncedNames = test::childNames(*synced);
    EXPECT_EQ(std::vector<std::string>(syncedNames.end() - 2, syncedNames.end()),
              (std::vector<std::string>{"suid", "smod"}));
    back = Alarm::createFromXML(*synced, nullptr);
    EXPECT_EQ(back->syncId, "c152a45f@halvika");
    EXPECT_EQ(back->syncModified, 1'900'000'000); // beyond 2038 as well

    // An identity of characters a file cannot carry is written as none, so the text reads back as itself.
    a->syncId = "\x11";
    const std::string unwritable = a->toXML("alrm")->toString();
    EXPECT_EQ(unwritable.find("suid"), std::string::npos);
    EXPECT_EQ(Alarm::createFromXML(*XMLNode::createFromXML(unwritable), nullptr)->toXML("alrm")->toString(),
              unwritable);
}

TEST(Alarm, RoundTripKeepsEveryStoredField) {
    auto a = Alarm::createAlarm(nullptr);
    a->name = "Pay rent";
    a->momentKind = 1;
    a->everyAmount = 1;
    a->everyUnit = 4;
    a->onceDate = Date::fromParts(2026, 1, 1);
    a->nextDate = Date::fromParts(2026, 1, 31, 9, 0, 0);
    a->activePeriod = 14;
    a->startDate = Date::fromParts(2026, 1, 1);
    a->endDate = Date::fromParts(2027, 1, 1);
    a->weekDays = 62;
    a->activeAdvanced = "DAYOFMONTH<=7";
    a->correctionAmount = -10;
    a->correctionUnit = 1;
    a->Active = false;
    a->soundAfterInactive = false;
    a->importance = 3;
    a->durationAmount = 2;
    a->durationUnit = 2;
    a->snooze(Date::fromParts(2026, 2, 1, 9, 5, 0));
    a->lastSnoozeSet = true;
    a->lastSnoozeAmount = 5;
    a->lastSnoozeUnit = 1;
    a->lastSnoozeAddTo = 1;
    a->readOnly = true;
    const std::string text = a->toXML("alrm")->toString();
    auto b = Alarm::createFromXML(*XMLNode::createFromXML(text), nullptr);
    EXPECT_EQ(b->toXML("alrm")->toString(), text);
    EXPECT_EQ(b->nextSnoozeAlarmDate, Date::fromParts(2026, 2, 1, 9, 5, 0));
    EXPECT_TRUE(b->snoozing);
    EXPECT_TRUE(b->readOnly);
    EXPECT_FALSE(b->changed);
}

TEST(Alarm, Constructors) {
    test::TempHome home;
    home.write("English.lng", "[Alarm]\ns101=New alarm\n[Action]\n1e=<s>Time is up!</s>\n");
    AppPaths paths(home.path(), {});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);

    auto d = Alarm::createDefaultAlarm(texts);
    EXPECT_EQ(d->name, "New alarm");
    EXPECT_TRUE(d->Active);
    EXPECT_TRUE(d->changed);
    EXPECT_TRUE(d->soundAfterInactive);
    EXPECT_EQ(d->everyUnit, 3);
    EXPECT_EQ(d->durationUnit, 0); // all numbers of a fresh alarm are 0; it is written, and read back
    EXPECT_EQ(Alarm::createFromXML(*d->toXML("alrm"), nullptr)->durationUnit, 0);
    EXPECT_EQ(d->endDate, Date::none());
    ASSERT_EQ(d->actions.numberOfElements(), 1);
    EXPECT_EQ(d->actions.elementAt(0)->action, 1);
    EXPECT_EQ(d->actions.elementAt(0)->al, d.get());
    EXPECT_EQ(d->actions.elementAt(0)->settings->getString("s"), "Time is up!");
    EXPECT_TRUE(d->showsMessage());

    auto h = Alarm::createDefaultHiddenAlarm(nullptr, "template");
    EXPECT_TRUE(h->hidden);
    EXPECT_EQ(h->name, "template");
    EXPECT_EQ(h->everyUnit, 0);
    EXPECT_EQ(h->actions.numberOfElements(), 0);
    EXPECT_FALSE(h->showsMessage());

    // Kinds without defaults in the file, and plug-in actions, start with empty settings.
    auto speak = clsAction::Create(h.get(), ActionKind::Speak, texts);
    EXPECT_EQ(speak->settings->toString(), "<sett></sett>");
    auto plug = clsAction::Create(h.get(), ActionKind::Plugin, texts);
    EXPECT_EQ(plug->settings->getNumberOfNodes(), 0);
}

class RecordingRunner : public ActionRunner {
public:
    void countSoundedAlarm() override { ++counted; }
    void doAction(clsAction& action, const Date& when, bool real) override {
        ran.push_back(action.action);
        lastReal = real;
        lastWhen = when;
    }
    void stopSounds() override {}
    void releaseFinishedSpeech() override {}
    int counted = 0;
    std::vector<int> ran;
    bool lastReal = false;
    Date lastWhen;
};

TEST(Alarm, SoundingRunsEveryActionInOrderAndCountsRealOnes) {
    auto a = Alarm::createAlarm(nullptr);
    for (int kind : {1, 7, 13, 2}) {
        auto action = std::make_shared<clsAction>();
        action->action = static_cast<std::int16_t>(kind);
        a->actions.addElement(action);
    }
    RecordingRunner runner;
    const Date when = Date::fromParts(2026, 3, 7, 8, 0, 0);
    a->soundAlarm(when, false, runner);
    EXPECT_EQ(runner.counted, 0);
    EXPECT_EQ(runner.ran, (std::vector<int>{1, 7, 13, 2}));
    EXPECT_FALSE(runner.lastReal);
    a->soundAlarm(when, true, runner);
    EXPECT_EQ(runner.counted, 1);
    EXPECT_EQ(runner.lastWhen, when);
}

TEST(Alarm, SnoozeLeavesTheCacheUntilItIsCleared) {
    auto a = Alarm::createAlarm(nullptr);
    a->onceDate = Date::fromParts(2026, 3, 7, 9, 0, 0);
    const Date da = Date::fromParts(2026, 3, 7, 8, 0, 0);
    ASSERT_TRUE(a->hasNextAlarmDateAfter(da));
    a->snooze(Date::fromParts(2026, 3, 7, 8, 5, 0));
    ASSERT_TRUE(a->hasNextAlarmDateAfter(da));
    EXPECT_EQ(a->getNextAlarmDateAfter(), Date::fromParts(2026, 3, 7, 9, 0, 0));
    a->setChanged();
    ASSERT_TRUE(a->hasNextAlarmDateAfter(da));
    EXPECT_EQ(a->getNextAlarmDateAfter(), Date::fromParts(2026, 3, 7, 8, 5, 0));
}

} // namespace
} // namespace halvika
