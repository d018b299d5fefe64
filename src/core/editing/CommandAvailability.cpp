#include "editing/CommandAvailability.h"

#include <array>
#include <utility>

namespace halvika {

namespace {

enum class Needs { selectedGroups, synchronisedGroups, anyGroup, selectedAlarms, pasteTarget };

constexpr std::array<std::pair<std::string_view, Needs>, 23> table{{
    {"mnuAgProperties", Needs::selectedGroups},
    {"mnuAgToggleOnOff", Needs::selectedGroups},
    {"mnuAgTurnOn", Needs::selectedGroups},
    {"mnuAgTurnOff", Needs::selectedGroups},
    {"mnuAgExportFile", Needs::selectedGroups},
    {"mnuAgExportPlugIn", Needs::selectedGroups},
    {"mnuAgExportSel", Needs::selectedGroups},
    {"mnuAgUnload", Needs::selectedGroups},
    {"mnuAgSynchronize", Needs::synchronisedGroups},
    {"mnuAgExportCol", Needs::anyGroup},
    {"mnuAgSaveAll", Needs::anyGroup},
    {"mnuAgReloadAll", Needs::anyGroup},
    {"mnuAlProperties", Needs::selectedAlarms},
    {"mnuAlTest", Needs::selectedAlarms},
    {"mnuAlToggleActive", Needs::selectedAlarms},
    {"mnuAlTurnOn", Needs::selectedAlarms},
    {"mnuAlTurnOff", Needs::selectedAlarms},
    {"mnuAlTurnOffSnoozing", Needs::selectedAlarms},
    {"mnuAlCut", Needs::selectedAlarms},
    {"mnuAlCopy", Needs::selectedAlarms},
    {"mnuAlDelete", Needs::selectedAlarms},
    {"mnuAlDeleteSounded", Needs::selectedAlarms},
    {"mnuAlPaste", Needs::pasteTarget},
}};

} // namespace

bool CommandAvailability::enabled(std::string_view command, const Situation& now) {
    for (const auto& [name, needs] : table) {
        if (name != command) {
            continue;
        }
        switch (needs) {
        case Needs::selectedGroups:
            return now.selectedGroups > 0;
        case Needs::synchronisedGroups:
            return now.selectedSynchronised > 0;
        case Needs::anyGroup:
            return now.groups > 0;
        case Needs::selectedAlarms:
            return now.selectedAlarms > 0;
        case Needs::pasteTarget:
            return now.clipboardHasAlarms && now.groups > 0;
        }
    }
    return true;
}

} // namespace halvika
