// Splitting special commands at "|".
#include "sounding/SpecialCommand.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(SpecialCommand, SplitsIntoWordAndTwoArguments) {
    const auto c = SpecialCommand::parse("notepad.exe|c:\\notes.txt");
    EXPECT_EQ(c.word, "notepad.exe");
    EXPECT_EQ(c.first, "c:\\notes.txt");
    EXPECT_EQ(c.second, "");
    const auto three = SpecialCommand::parse("prog|a b|/tmp|ignored");
    EXPECT_EQ(three.first, "a b");
    EXPECT_EQ(three.second, "/tmp");
    EXPECT_EQ(SpecialCommand::parse("SPEAK|Time to go").lowerWord(), "speak");
    const auto bare = SpecialCommand::parse("speak");
    EXPECT_EQ(bare.word, "speak");
    EXPECT_EQ(bare.first, "");
    const auto single = SpecialCommand::parse("|");
    EXPECT_EQ(single.word, "");
    EXPECT_EQ(single.first, "");
    EXPECT_EQ(SpecialCommand::parse("").word, "");
}

} // namespace
} // namespace halvika
