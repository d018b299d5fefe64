// Fuzzes what a CalDAV server sends back: the multistatus reply and the calendar data inside it.
#include "DavMultistatus.h"
#include "ICalImporter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const halvika::DavMultistatus reply = halvika::DavMultistatus::read(text);
    if (!reply.valid && (!reply.responses.empty() || !reply.syncToken.empty())) {
        std::abort(); // a reply that could not be read is taken as nothing at all
    }
    for (const auto& response : reply.responses) {
        if (!response.calendarData.empty()) {
            const auto imported = halvika::ICalImporter::importText(response.calendarData, "CalDAV");
            if (imported.group &&
                imported.sources.size() != static_cast<std::size_t>(imported.group->getNumberOfNodesWithName("alrm"))) {
                std::abort();
            }
        }
    }
    // The text as calendar data of its own, as a server may put anything there.
    (void)halvika::ICalImporter::importText(std::string(text), "CalDAV");
    return 0;
}
