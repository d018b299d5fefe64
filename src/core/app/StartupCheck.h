// The questions asked at start-up about how the last run ended.
#pragma once

#include "base/MessageBoxRoutine.h"

#include <string>

namespace halvika {

class StartupCheck {
public:
    struct Outcome {
        bool proceed = true; ///< false: end the process now, leaving the state file as it is
        bool safeMode = false;
        std::string runState = "2";
    };

    static constexpr const char* shortRunQuestion =
        "Halvika ran very short the last time, which may be caused by a wrongly set alarm. Do you want to start "
        "Halvika in safe mode? (this will block the alarms and plug-ins and requires restarting Halvika after you "
        "fix the problem)";
    static constexpr const char* crashQuestion =
        "Halvika has not properly exited last time, which may indicate a system crash. If this is caused by the "
        "program, you may not want to start it again. Do you want to continue starting Halvika?";
    static constexpr const char* safeModeQuestion =
        "Halvika is being started. Do you want to start Halvika in safe mode? (this will block the alarms and "
        "plug-ins and requires restarting Halvika after you fix the problem)";

    /// Asks what the state file's content calls for. These texts are fixed: no language is loaded yet.
    static Outcome run(const std::string& stateContent, MessageBoxRoutine& messages);
};

} // namespace halvika
