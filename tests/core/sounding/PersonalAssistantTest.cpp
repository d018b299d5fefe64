// The assistant's greeting by the part of the day, its summaries, and its quiet times.
#include "sounding/PersonalAssistant.h"
#include "fakes/SoundingTestRig.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

class PersonalAssistantTest : public ::testing::Test, protected test::SoundingTestRig {
protected:
    PersonalAssistant assistant{setUp.texts, groups, [this](const std::string& text) { said.push_back(text); }};
    std::vector<std::string> said;
};

TEST_F(PersonalAssistantTest, TheGreetingFitsThePartOfTheDayAndTheSummariesCountTheComingAlarms) {
    const auto greeting = [this](int hour) {
        return assistant.greetingText(Date::fromParts(2026, 3, 7, hour, 30, 0), true);
    };
    const std::string night = greeting(3);
    EXPECT_TRUE(night.rfind("Good night", 0) == 0 || night.rfind("Hello, night owl", 0) == 0) << night;
    EXPECT_NE(greeting(7).find("morning"), std::string::npos);
    EXPECT_NE(greeting(13).find("afternoon"), std::string::npos);
    EXPECT_NE(greeting(23).find("evening"), std::string::npos);

    alarmWith(1, "x", Date::fromParts(2026, 3, 7, 9, 15, 0))->name = "Dentist";
    auto later = alarmWith(1, "x", Date::fromParts(2026, 3, 8, 10, 0, 0));
    later->name = "Train";
    later->importance = 2;
    alarmWith(1, "x", Date::fromParts(2026, 3, 20, 10, 0, 0)); // beyond both periods
    const std::string text = greeting(8);
    EXPECT_NE(text.find("You have 1 alarms in the next hours. Your next alarm is Dentist at 9:15."), std::string::npos);
    EXPECT_NE(
        text.find("You have 1 important alarms in the coming days. The first of them is Train at 10:00 on Sunday."),
        std::string::npos);
}

TEST_F(PersonalAssistantTest, ItStaysQuietWhileBlockedAndWithinTwoMinutesOfTheLastGreeting) {
    const Date now = Date::fromParts(2026, 3, 7, 8, 0, 0);
    assistant.greetUser(now, true, true);
    EXPECT_TRUE(said.empty());
    assistant.greetUser(now, false, true);
    assistant.greetUser(Date::fromParts(2026, 3, 7, 8, 1, 59), false, true);
    EXPECT_EQ(said.size(), 1u);
    assistant.greetUser(Date::fromParts(2026, 3, 7, 8, 2, 0), false, true);
    EXPECT_EQ(said.size(), 2u);
    EXPECT_NE(said[0].find("You have 0 alarms"), std::string::npos);
}

} // namespace
} // namespace halvika
