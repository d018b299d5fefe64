// What the program's core needs to run on a temporary home folder with the shipped data: texts, scripted
// message boxes, a manual clock and timer, real plug-in processes and a recording action runner.
#pragma once

#include "app/CoreSubsystems.h"
#include "base/AppPaths.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingRunner.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "platform/posix/PosixPluginProcess.h"
#include "settings/modIniFileHandling.h"
#include "settings/modTranslation.h"

namespace halvika::test {

struct CoreTestServices {
    TempHome home;
    AppPaths paths{home.path(), {HALVIKA_SOURCE_DIR "/data"}};
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    ScriptedDialogs dialogs;
    MessageBoxRoutine messages{dialogs};
    ManualClock clock{Date::fromParts(2026, 3, 7, 12, 0, 0)};
    ManualTimer timer;
    PosixPluginProcess process;
    RecordingRunner runner;

    /// A core on these services; the home folder is to be prepared first.
    CoreSubsystems makeCore(bool safeMode = false) {
        return CoreSubsystems(clock, timer, paths, ini, texts, messages, process, &runner, safeMode);
    }
};

} // namespace halvika::test
