// Fuzzes the text that becomes dates and numbers: file dates, number text, format patterns.
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "text/NumberText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto date = halvika::Date::fromFileString(text)) {
        // Every date that reads back writes in the one file form and reads again unchanged.
        if (halvika::Date::fromFileString(date->toFileString()) != date) {
            std::abort();
        }
        (void)halvika::formatDate("dddd dd mmmm yyyy hh:nn:ss AM/PM ww q y", *date);
    }
    (void)halvika::NumberText::parseInteger(text);
    (void)halvika::NumberText::parseBoolean(text);
    if (auto value = halvika::NumberText::parseDouble(text)) {
        if (halvika::NumberText::parseDouble(halvika::NumberText::formatDouble(*value)) == std::nullopt) {
            std::abort();
        }
    }
    (void)halvika::formatDate(text, halvika::Date::fromParts(2024, 2, 29, 23, 59, 59));
    (void)halvika::dateDiff(text, halvika::Date::fromParts(100, 1, 1), halvika::Date::none());
    return 0;
}
