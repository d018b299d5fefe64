// Fuzzes what users type into command actions: special commands, time-teller commands and typed dates.
#include "dates/DateFormat.h"
#include "dates/DateText.h"
#include "sounding/SpecialCommand.h"
#include "sounding/clsTimeTeller.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const halvika::Date now = halvika::Date::fromParts(2026, 3, 7, 14, 5, 9);
    (void)halvika::clsTimeTeller::sentenceFor(text, now);
    (void)halvika::clsTimeTeller::formatSpan(text, now, halvika::Date::fromParts(100, 1, 1));
    const halvika::SpecialCommand command = halvika::SpecialCommand::parse(text);
    // The three parts never hold more than the text.
    if (command.word.size() + command.first.size() + command.second.size() > text.size()) {
        std::abort();
    }
    if (auto date = halvika::DateText::parse(text)) {
        // A typed date reads back from its own display form.
        if (halvika::DateText::parse(halvika::formatDate("yyyy/mm/dd hh:nn:ss", *date)) != date &&
            date->dayNumber() != 0) {
            std::abort();
        }
    }
    return 0;
}
