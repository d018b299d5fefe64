// Fuzzes reading an alarm element and asking its next moments: results, or the two documented errors.
#include "alarms/Alarm.h"
#include "alarms/ExpressionError.h"
#include "dates/ArithmeticError.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto alarm = halvika::Alarm::createFromXML(*halvika::XMLNode::createFromXML(text), nullptr);
    // Writing and reading back keeps every stored field. Element names are written as they are, so an
    // action's settings holding a child named with markup characters cannot come back the same; only a
    // document that reads back as itself is held to this.
    const std::string written = alarm->toXML("alrm")->toString();
    const auto reread = halvika::XMLNode::createFromXML(written);
    if (reread->toString() == written &&
        halvika::Alarm::createFromXML(*reread, nullptr)->toXML("alrm")->toString() != written) {
        std::abort();
    }
    halvika::Date from = halvika::Date::fromParts(2026, 3, 7, 7, 5, 0);
    for (int i = 0; i < 3; ++i) {
        try {
            if (!alarm->hasNextAlarmDateAfter(from, i == 1)) {
                break;
            }
            const halvika::Date next = alarm->getNextAlarmDateAfter();
            if (next <= from && next != halvika::Date::none() && !alarm->snoozing) {
                std::abort(); // "after" is strict
            }
            from = next;
        } catch (const halvika::ArithmeticError&) {
            break;
        } catch (const halvika::ExpressionError&) {
            break;
        }
    }
    return 0;
}
