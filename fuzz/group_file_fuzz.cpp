// Fuzzes reading an alarm group file or a plug-in's group reply, and writing it back.
#include "base/MessageBoxRoutine.h"
#include "groups/AlarmGroup.h"
#include "groups/GroupServices.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

class Silent : public halvika::Dialogs {
public:
    int messageBox(const std::string&, const std::string&, int) override { return answerNo; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static halvika::AppPaths paths("/nonexistent", {});
    static halvika::modIniFileHandling ini;
    static halvika::modTranslation texts(paths, ini);
    static halvika::ColourScheme colours(paths, ini);
    static Silent dialogs;
    static halvika::MessageBoxRoutine messages(dialogs);
    static halvika::GroupServices services(texts, colours, messages);

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto group = halvika::AlarmGroup::createFromXML(text, services);
    const std::string written = group->toXML()->toString();
    // Every alarm read keeps its group, and what was written reads back to as many alarms.
    for (int i = 0; i < group->numberOfAlarms(); ++i) {
        if (group->elementAt(i)->parent.lock() != group) {
            std::abort();
        }
    }
    // Element names are written as they stand, so only a document that reads back as itself is held to it.
    if (halvika::XMLNode::createFromXML(written)->toString() == written &&
        halvika::AlarmGroup::createFromXML(written, services)->numberOfAlarms() != group->numberOfAlarms()) {
        std::abort();
    }
    (void)group->getChangedSinceImport();
    (void)group->getTemplateAlarm(services);
    return 0;
}
