// The real main window on the real core over a temporary home: for tests that drive the whole window.
#pragma once

#include "app/CoreSubsystems.h"
#include "app/HalvikaApp.h"
#include "fakes/CoreTestRig.h"
#include "fakes/MemoryClipboard.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingSubsystems.h"
#include "fakes/RecordingViews.h"
#include "platform/QtWatchListener.h"
#include "qt/QtTestApp.h"
#include "windows/frmHalvikaMain.h"

#include <QApplication>

namespace halvika::test {

/// The home folder is prepared first; then `core.mainStart` and `window.setCore`.
struct MainWindowRig : CoreTestServices {
    QApplication& qtApp = ensureQtApp(); // before the window
    CoreSubsystems core = makeCore();
    QtWatchListener watchReports{core.watch()};
    RecordingShell shell;
    RecordingViews views;
    RecordingSubsystems subsystems;
    HalvikaApp app{{clock, timer, dialogs, shell, views}, subsystems, paths};
    MemoryClipboard systemClipboard;
    frmHalvikaMain window{app};
};

} // namespace halvika::test
