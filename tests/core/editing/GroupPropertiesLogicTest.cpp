// The group properties: what the form shows and which change kinds writing it reports.
#include "editing/GroupPropertiesLogic.h"
#include "alarms/Alarm.h"
#include "fakes/GroupTestServices.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "groups/ChangeKinds.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(GroupPropertiesLogicTest, WritingReportsStateAndContentChangesSeparately) {
    test::TempHome home;
    test::GroupTestServices setUp(home.path());
    auto group = AlarmGroup::createDefaultAlarmGroup(setUp.services);
    group->Active = true;
    GroupForm form = GroupPropertiesLogic::formOf(*group);
    EXPECT_EQ(GroupPropertiesLogic::apply(*group, form), 0); // unchanged
    EXPECT_FALSE(group->changed);

    form.active = false;
    EXPECT_EQ(GroupPropertiesLogic::apply(*group, form), kindStateChanged);
    EXPECT_FALSE(group->Active);
    EXPECT_TRUE(group->changed);

    form.name = "Garden";
    form.colour = 0x00ff00;
    form.synchSettings->addString("url", "https://example.org/cal");
    EXPECT_EQ(GroupPropertiesLogic::apply(*group, form), kindContentChanged);
    EXPECT_EQ(group->name, "Garden");
    EXPECT_EQ(group->Color, 0x00ff00);
    EXPECT_EQ(group->synchSettings->getString("url"), "https://example.org/cal");
    // The group keeps its own copy of the settings.
    form.synchSettings->setString("url", "changed");
    EXPECT_EQ(group->synchSettings->getString("url"), "https://example.org/cal");

    // A template equal to the program's default alarm is stored as none.
    auto templateAlarm = Alarm::createDefaultAlarm(setUp.texts);
    EXPECT_EQ(GroupPropertiesLogic::templateTextOf(*templateAlarm, setUp.texts), "");
    templateAlarm->name = "Watering";
    EXPECT_NE(GroupPropertiesLogic::templateTextOf(*templateAlarm, setUp.texts).find("<name>Watering</name>"),
              std::string::npos);
}

} // namespace
} // namespace halvika
