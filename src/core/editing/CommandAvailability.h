// Which group and alarm commands can do something in the main window's present state.
#pragma once

#include <string_view>

namespace halvika {

class CommandAvailability {
public:
    struct Situation {
        int groups = 0;
        int selectedGroups = 0;
        /// Selected groups that have a synchronisation plug-in.
        int selectedSynchronised = 0;
        int selectedAlarms = 0;
        /// The program's clipboard holds alarms (the system clipboard is looked at only when pasting).
        bool clipboardHasAlarms = false;
    };

    /// Whether the command named by its menu entry's name can act; commands not listed are always enabled
    /// (a new group, a new alarm, importing).
    static bool enabled(std::string_view command, const Situation& now);
};

} // namespace halvika
