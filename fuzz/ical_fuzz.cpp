// Fuzzes the iCalendar plug-in: any text read as a calendar, and the group it gives written back.
#include "ICalExporter.h"
#include "ICalImporter.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto imported = halvika::ICalImporter::importText(text, "fuzz");
    if (imported.group) {
        const auto exported = halvika::ICalExporter::exportGroup(*imported.group, 1'800'000'000);
        if (exported.text.find("BEGIN:VCALENDAR") == std::string::npos) {
            __builtin_trap(); // an exported calendar is always a calendar
        }
    }
    return 0;
}
