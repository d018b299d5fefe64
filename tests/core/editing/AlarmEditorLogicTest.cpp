// The alarm editor: one alarm checked and written whole, several written only where touched, the date window
// put in order, the follow-up questions and the change reports.
#include "editing/AlarmEditorLogic.h"
#include "fakes/DatePrinter.h"
#include "fakes/SoundingTestRig.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

const Date eight = Date::fromParts(2026, 3, 7, 8, 0, 0);

class AlarmEditorLogicTest : public ::testing::Test, protected test::SoundingTestRig {
protected:
    AlarmEditorLogicTest() {
        clock.set(eight);
        group->Active = true;
    }
    AlarmEditorLogic editorFor(std::initializer_list<std::shared_ptr<Alarm>> alarms,
                               AlarmEditorLogic::Mode mode = AlarmEditorLogic::existingAlarms) {
        AlarmEditorLogic editor({clock, setUp.texts, setUp.messages, groups, watch, settings});
        Vector<Alarm> v;
        for (const auto& a : alarms) {
            v.addElement(a);
        }
        editor.setAlarms(v, mode);
        return editor;
    }
    std::vector<std::string> asked() const {
        std::vector<std::string> texts;
        for (const auto& shown : setUp.dialogs.shown()) {
            texts.push_back(shown.text);
        }
        return texts;
    }
    std::shared_ptr<Alarm> nineOClock(const std::string& name) {
        auto a = alarmWith(1, "Hello", Date::fromParts(2026, 3, 7, 9, 0, 0));
        a->name = name;
        a->Active = true;
        return a;
    }
};

TEST_F(AlarmEditorLogicTest, OneAlarmFillsTheFormAndIsWrittenWholeWithTheWindowInOrder) {
    auto tea = nineOClock("Tea");
    tea->weekDays = 0b0100010; // Monday and Friday
    tea->activePeriod = Alarm::periodWeekdays;
    tea->importance = 1;
    AlarmEditorLogic editor = editorFor({tea});
    EXPECT_EQ(editor.form.name, "Tea");
    EXPECT_EQ(editor.form.dateTexts[0], "2026/03/07 09:00:00");
    EXPECT_TRUE(editor.form.restrictions[1]);
    EXPECT_TRUE(editor.form.weekdays[1]);
    EXPECT_TRUE(editor.form.weekdays[5]);
    EXPECT_EQ(editor.form.importanceIndex, 1);
    EXPECT_EQ(editor.actions.numberOfElements(), 1);
    EXPECT_FALSE(editor.removeAllActionsVisible());
    EXPECT_TRUE(editor.replaceActions());

    editor.form.name = "Green tea";
    editor.form.dateTexts = {"2026/03/08 10:30:00", "2026/03/10 00:00:00", "2026/03/01 00:00:00"};
    editor.form.restrictions[0] = true;
    editor.form.periodUnitPosition = 4; // weeks
    ASSERT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Closed);
    EXPECT_EQ(tea->name, "Green tea");
    EXPECT_EQ(tea->onceDate, Date::fromParts(2026, 3, 8, 10, 30, 0));
    EXPECT_EQ(tea->nextDate, tea->onceDate); // the one-time moment is also the period's anchor
    EXPECT_EQ(tea->startDate, Date::fromParts(2026, 3, 1));
    EXPECT_EQ(tea->endDate, Date::fromParts(2026, 3, 10));
    EXPECT_EQ(tea->activePeriod, Alarm::periodWindow | Alarm::periodWeekdays);
    EXPECT_EQ(tea->everyUnit, 6);
    EXPECT_EQ(tea->actions.numberOfElements(), 1); // replaced by the editor's copy, not doubled
    EXPECT_NE(tea->actions.elementAt(0).get(), editor.actions.elementAt(0).get());
    EXPECT_TRUE(tea->changed);
    EXPECT_TRUE(asked().empty());
}

TEST_F(AlarmEditorLogicTest, SeveralAlarmsGetOnlyTheTouchedFieldsAndTheAddedActions) {
    auto a = nineOClock("A"), b = nineOClock("B"), c = nineOClock("C");
    b->correctionAmount = 5;
    AlarmEditorLogic editor = editorFor({a, b, c});
    EXPECT_TRUE(editor.removeAllActionsVisible());
    EXPECT_EQ(editor.actions.numberOfElements(), 0);
    editor.form.importanceIndex = 0; // importance 2
    editor.touch(AlarmEditorLogic::touchImportance);
    editor.form.name = "ignored, not touched";
    editor.actions.addElement(clsAction::Create(nullptr, ActionKind::Speak, setUp.texts));
    ASSERT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Closed);
    for (const auto& alarm : {a, b, c}) {
        EXPECT_EQ(alarm->importance, 2);
        EXPECT_EQ(alarm->onceDate, Date::fromParts(2026, 3, 7, 9, 0, 0));
        ASSERT_EQ(alarm->actions.numberOfElements(), 2);
        EXPECT_EQ(alarm->actions.elementAt(1)->action, 2);
        EXPECT_EQ(alarm->actions.elementAt(1)->al, alarm.get());
    }
    EXPECT_EQ(a->name, "A");
    EXPECT_EQ(b->correctionAmount, 5);
    // Each alarm has its own copy of the new action.
    EXPECT_NE(a->actions.elementAt(1).get(), b->actions.elementAt(1).get());

    // With "remove all actions" the editor's list replaces theirs.
    AlarmEditorLogic replacing = editorFor({a, b});
    replacing.removeAllActions();
    replacing.actions.addElement(clsAction::Create(nullptr, ActionKind::AlarmClock, setUp.texts));
    replacing.ok();
    ASSERT_EQ(a->actions.numberOfElements(), 1);
    EXPECT_EQ(a->actions.elementAt(0)->action, 17);
}

TEST_F(AlarmEditorLogicTest, ChecksStopAtBadDatesAndControlCharactersAndAskAboutShortPeriods) {
    auto tea = nineOClock("Tea");
    AlarmEditorLogic editor = editorFor({tea});
    editor.form.dateTexts[2] = "2026/02/30 00:00:00";
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Stay);
    EXPECT_EQ(editor.invalidDateEntry(), 2);
    EXPECT_EQ(asked().back(), "This date is not valid.");
    editor.form.dateTexts[2] = "9999/12/31 00:00:00";
    editor.form.name = std::string("Te\1a");
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Stay);
    EXPECT_EQ(asked().back(), "The name and the expression cannot contain control characters.");
    editor.form.name = "Tea";

    // Every 30 seconds: question 4; No keeps the dialog open.
    editor.form.momentIndex = 1;
    editor.form.periodAmount = 30;
    editor.form.periodUnitPosition = 0;
    setUp.dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Stay);
    EXPECT_EQ(setUp.dialogs.shown().back().style, 52);
    // Every 2 hours with sound-after-inactivity: question 5 only.
    editor.form.periodAmount = 2;
    editor.form.periodUnitPosition = 2;
    editor.form.soundAfterInactive = true;
    const std::size_t before = asked().size();
    setUp.dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Stay);
    ASSERT_EQ(asked().size(), before + 1);
    EXPECT_NE(asked().back().find("more often than once a day"), std::string::npos);
    // Every 2 days: neither; a bad expression stops with message 6.
    editor.form.periodUnitPosition = 3;
    editor.form.restrictions[2] = true;
    editor.form.advanced = "WEEKDAY==";
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Stay);
    EXPECT_TRUE(editor.expressionInvalid());
    EXPECT_EQ(asked().size(), before + 2);
}

TEST_F(AlarmEditorLogicTest, AWeekdayRestrictionWithoutWeekdaysIsDroppedAndNoActionsIsAskedAbout) {
    auto tea = nineOClock("Tea");
    AlarmEditorLogic editor = editorFor({tea});
    editor.form.restrictions[1] = true;
    editor.actions.clear();
    setUp.dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Stay);
    EXPECT_NE(asked().back().find("no actions"), std::string::npos);
    setUp.dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Closed);
    EXPECT_EQ(tea->activePeriod & Alarm::periodWeekdays, 0);
    EXPECT_EQ(tea->actions.numberOfElements(), 0);
}

TEST_F(AlarmEditorLogicTest, ANewAlarmJoinsItsGroupAfterTheFollowUpQuestions) {
    group->Active = false;
    auto fresh = Alarm::createAlarm(group);
    fresh->Active = false;
    fresh->name = "New";
    fresh->onceDate = Date::fromParts(2026, 3, 7, 7, 0, 0); // already past
    test::SoundingTestRig::addAction(*fresh, 1, "Hi");
    AlarmEditorLogic editor = editorFor({fresh}, AlarmEditorLogic::newAlarm);
    EXPECT_EQ(group->alarms.indexOf(fresh), -1);
    EXPECT_EQ(editor.form.dateTexts[0], "2026/03/07 07:00:00"); // the form keeps the alarm's own moment

    // A new alarm from a template that never sounds proposes the next whole hour.
    auto blank = Alarm::createAlarm(group);
    blank->onceDate = Date::none();
    EXPECT_EQ(editorFor({blank}, AlarmEditorLogic::newAlarm).form.dateTexts[0], "2026/03/07 09:00:00");
    setUp.dialogs.setNextAnswer(Dialogs::answerYes); // switch the group on
    setUp.dialogs.setNextAnswer(Dialogs::answerYes); // switch the alarm on
    ASSERT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Closed);
    EXPECT_TRUE(group->Active);
    EXPECT_TRUE(fresh->Active);
    EXPECT_NE(group->alarms.indexOf(fresh), -1);
    const auto texts = asked();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2], "This alarm will not sound again with these settings.");
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::alarmDataChanged);
}

TEST_F(AlarmEditorLogicTest, MovingToAnotherGroupAndEditingATemplateAskNothing) {
    auto tea = nineOClock("Tea");
    auto other = AlarmGroup::createDefaultAlarmGroup(setUp.services);
    other->Active = true;
    groups.alarmGroups.addElement(other);
    AlarmEditorLogic editor = editorFor({tea});
    editor.form.group = other;
    ASSERT_EQ(editor.ok(), AlarmEditorLogic::Outcome::Closed);
    EXPECT_EQ(group->alarms.indexOf(tea), -1);
    EXPECT_NE(other->alarms.indexOf(tea), -1);
    EXPECT_EQ(tea->parent.lock(), other);
    EXPECT_TRUE(group->changed);

    // Deleted while the editor was open: choosing a group must not bring it back.
    AlarmEditorLogic late = editorFor({tea});
    other->alarms.remove(tea);
    late.form.group = group;
    ASSERT_EQ(late.ok(), AlarmEditorLogic::Outcome::Closed);
    EXPECT_EQ(asked().back(), setUp.texts.getText(AlarmEditorLogic::section, AlarmEditorLogic::textAlarmGone));
    EXPECT_EQ(group->alarms.indexOf(tea), -1);
    EXPECT_EQ(other->alarms.indexOf(tea), -1);

    auto templateAlarm = Alarm::createAlarm(nullptr);
    templateAlarm->onceDate = Date::fromParts(2000, 1, 1);
    AlarmEditorLogic templateEditor = editorFor({templateAlarm}, AlarmEditorLogic::templateAlarm);
    EXPECT_FALSE(templateEditor.groupChoiceVisible());
    setUp.dialogs.setNextAnswer(Dialogs::answerYes); // no actions: keep it so
    const std::size_t before = asked().size();
    ASSERT_EQ(templateEditor.ok(), AlarmEditorLogic::Outcome::Closed);
    EXPECT_EQ(asked().size(), before + 1); // only the no-actions question; no follow-ups for a template
}

} // namespace
} // namespace halvika
