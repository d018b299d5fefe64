// Number text forms, independent of the user's locale.
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>

namespace halvika {
namespace {

TEST(NumberText, WhatCountsAsANumber) {
    EXPECT_EQ(NumberText::parseDecimal("12"), 12.0);
    EXPECT_EQ(NumberText::parseDecimal(" -1.5e2 "), -150.0);
    EXPECT_EQ(NumberText::parseDecimal("+.5"), 0.5);
    EXPECT_EQ(NumberText::parseDecimal("5."), 5.0);
    for (const char* bad : {"", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", ".", "1 2"}) {
        EXPECT_FALSE(NumberText::parseDecimal(bad).has_value()) << bad;
    }
}

TEST(NumberText, RoundingAndRanges) {
    EXPECT_EQ(NumberText::parseInteger("0.5"), 0);
    EXPECT_EQ(NumberText::parseInteger("1.5"), 2);
    EXPECT_EQ(NumberText::parseInteger("-2.5"), -2);
    EXPECT_EQ(NumberText::parseInteger("32767.4"), 32767);
    EXPECT_FALSE(NumberText::parseInteger("32767.5").has_value());
    EXPECT_FALSE(NumberText::parseInteger("-32769").has_value());
    EXPECT_EQ(NumberText::parseLong("-2147483648"), INT32_MIN);
    EXPECT_FALSE(NumberText::parseLong("1e10").has_value());
}

TEST(NumberText, WrittenFormsDoNotDependOnTheLocale) {
    // A locale with a decimal comma must not leak into files.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(NumberText::formatSingle(1.5f), "1.5");
    EXPECT_EQ(NumberText::parseSingle("1.5"), 1.5f);
    std::setlocale(LC_NUMERIC, saved.c_str());

    EXPECT_EQ(NumberText::formatSingle(0.0001f), "0.0001");
    EXPECT_EQ(NumberText::formatSingle(1e-5f), "1E-05");
    EXPECT_EQ(NumberText::formatSingle(1234567.0f), "1234567");
    EXPECT_EQ(NumberText::formatSingle(-0.0f), "0");
    EXPECT_EQ(NumberText::formatDouble(123456789012345.0), "123456789012345");
    EXPECT_EQ(NumberText::formatDouble(1e15), "1E+15");
    EXPECT_EQ(NumberText::formatDouble(1.0 / 3.0), "0.333333333333333");
}

} // namespace
} // namespace halvika
