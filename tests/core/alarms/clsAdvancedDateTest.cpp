// The date-expression language: values, grouping, case and blank rules, and its errors.
#include "alarms/clsAdvancedDate.h"
#include "alarms/ExpressionError.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

bool eval(std::string_view expression, const Date& d) {
    return clsAdvancedDate().getDateEval(d, expression);
}

TEST(clsAdvancedDate, KeywordValues) {
    const Date d = Date::fromParts(2028, 2, 29, 13, 4, 5); // a Tuesday
    EXPECT_TRUE(eval("SECOND==5&&MINUTE==4&&HOUR==13", d));
    EXPECT_TRUE(eval("WEEKDAY==TUESDAY&&WEEKDAY==3", d));
    EXPECT_TRUE(eval("DAYOFMONTH==29&&DAYSINMONTH==29&&DAYSBEFORENEXTMONTH==1", d));
    EXPECT_TRUE(eval("DAYOFYEAR==60&&MONTH==2&&YEAR==2028", d));
    // The longer keywords are replaced before MONTH and YEAR that they contain.
    EXPECT_TRUE(eval("DAYSBEFORENEXTMONTH==28", Date::fromParts(2026, 1, 4)));
}

TEST(clsAdvancedDate, FirstMondayOfTheMonth) {
    const char* firstMonday = "WEEKDAY==MONDAY&&DAYOFMONTH<=7";
    EXPECT_TRUE(eval(firstMonday, Date::fromParts(2026, 3, 2)));
    EXPECT_FALSE(eval(firstMonday, Date::fromParts(2026, 3, 9)));
    EXPECT_FALSE(eval(firstMonday, Date::fromParts(2026, 3, 3)));
}

TEST(clsAdvancedDate, LastDayOfTheMonth) {
    EXPECT_TRUE(eval("DAYSBEFORENEXTMONTH==1", Date::fromParts(2026, 1, 31)));
    EXPECT_TRUE(eval("DAYSBEFORENEXTMONTH==1", Date::fromParts(2026, 2, 28)));
    EXPECT_TRUE(eval("DAYSBEFORENEXTMONTH==1", Date::fromParts(2028, 2, 29)));
    EXPECT_FALSE(eval("DAYSBEFORENEXTMONTH==1", Date::fromParts(2028, 2, 28)));
}

TEST(clsAdvancedDate, CaseAndBlanksDoNotMatter) {
    const char* weekend = "weekday == saturday || weekday == sunday";
    EXPECT_TRUE(eval(weekend, Date::fromParts(2026, 3, 7)));
    EXPECT_TRUE(eval(weekend, Date::fromParts(2026, 3, 8)));
    EXPECT_FALSE(eval(weekend, Date::fromParts(2026, 3, 9)));
    EXPECT_TRUE(eval("MON TH = = 3", Date::fromParts(2026, 3, 9))); // blanks even inside words
    EXPECT_TRUE(eval("true", Date::fromParts(2026, 3, 9)));
}

TEST(clsAdvancedDate, EqualPrecedenceGroupsFromTheLeft) {
    const char* e = "MONTH==12&&DAYOFMONTH==24||MONTH==12&&DAYOFMONTH==31";
    EXPECT_FALSE(eval(e, Date::fromParts(2026, 12, 24)));
    EXPECT_TRUE(eval(e, Date::fromParts(2026, 12, 31)));
    const char* grouped = "(MONTH==1||MONTH==2)&&WEEKDAY==2";
    EXPECT_TRUE(eval(grouped, Date::fromParts(2026, 1, 5)));
    EXPECT_TRUE(eval(grouped, Date::fromParts(2026, 2, 2)));
    EXPECT_FALSE(eval(grouped, Date::fromParts(2026, 3, 2)));
    EXPECT_FALSE(eval(grouped, Date::fromParts(2026, 1, 6)));
    EXPECT_TRUE(eval("((MONTH==3))&&(TRUE||FALSE)", Date::fromParts(2026, 3, 1)));
}

TEST(clsAdvancedDate, UnknownOperatorsAreFalseNotErrors) {
    const Date d = Date::fromParts(2026, 3, 7, 15, 0, 0);
    EXPECT_FALSE(eval("HOUR>12", d));
    EXPECT_FALSE(eval("HOUR<16", d));
    EXPECT_FALSE(eval("HOUR=15", d));
    EXPECT_TRUE(eval("HOUR!=14", d));
    EXPECT_FALSE(eval("", d));
    EXPECT_FALSE(eval("   ", d));
}

TEST(clsAdvancedDate, Errors) {
    const Date d = Date::fromParts(2026, 3, 7);
    for (const char* bad : {"MONTH", "1<=MONTH<=3", "YEAR>=40000", "(MONTH==3", "(MONTH)==3", "MONTH==3)", "BANANA",
                            "MONTH==BANANA", "&&TRUE", "TRUE||", "TRUE&&MAYBE"}) {
        EXPECT_THROW(eval(bad, d), ExpressionError) << bad;
    }
    EXPECT_THROW(eval(std::string(clsAdvancedDate::kMaxLength + 1, ' '), d), ExpressionError);
}

} // namespace
} // namespace halvika
