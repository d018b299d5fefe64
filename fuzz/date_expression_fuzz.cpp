// Fuzzes the date-expression evaluator: any text either evaluates or raises ExpressionError.
#include "alarms/ExpressionError.h"
#include "alarms/clsAdvancedDate.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    const halvika::clsAdvancedDate evaluator;
    for (const auto& moment : {halvika::Date::fromParts(2026, 3, 2, 7, 5, 0), halvika::Date::fromParts(2028, 2, 29),
                               halvika::Date::fromParts(9999, 12, 31, 23, 59, 59)}) {
        try {
            (void)evaluator.getDateEval(moment, expression);
        } catch (const halvika::ExpressionError&) {
            // A malformed expression is reported, never anything worse.
        }
    }
    return 0;
}
