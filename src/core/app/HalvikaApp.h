// The program's spine: start-up check, the main tick, the exit routine, version check and diagnostic log.
#pragma once

#include "app/StartupCheck.h"
#include "app/Subsystems.h"
#include "base/AppPaths.h"
#include "base/MessageBoxRoutine.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/Views.h"
#include "platform/WatchTimer.h"
#include "settings/modIniFileHandling.h"
#include "settings/modTranslation.h"

#include <string>

namespace halvika {

class HalvikaApp {
public:
    struct Services {
        Clock& clock;
        WatchTimer& timer;
        Dialogs& dialogs;
        Shell& shell;
        Views& views;
    };

    /// Interval at which the tick comes back while a message box waits for the user.
    static constexpr int messageBoxRetryMs = 500;
    static constexpr int exitPluginBudgetMs = 3000;
    static constexpr int textNotEverythingSaved = 104;
    static constexpr int exitQuestionNumber = 220;
    static constexpr int safeModeCaptionNumber = 219;

    HalvikaApp(Services services, Subsystems& subsystems, AppPaths paths);

    /// The subsystems to drive from now on (they can be made once safe mode is known).
    void setSubsystems(Subsystems& subsystems) { m_subsystems = &subsystems; }
    modIniFileHandling& ini() { return m_ini; }

    /// Reads the state file, asks the questions it calls for and writes the run state at once, so that a
    /// run that never reaches the exit routine leaves "2" behind. False: end the process now.
    bool runStartupCheck();
    /// The main start after the windows are loaded: takes the start moment, starts the subsystems and the
    /// timer, and marks the start-up as finished. False: the settings could not be read; end the process.
    bool mainStart();

    /// The error shown when the main window cannot be loaded; `number` and `description` of the error.
    static std::string loadingErrorText(int number, const std::string& description);

    int msgBox(const std::string& text, int style) { return m_messages.msgBox(text, style); }
    bool messageBoxOpen() const { return m_messages.messageBoxOpen(); }
    MessageBoxRoutine& messages() { return m_messages; }
    modTranslation& translation() { return m_translation; }

    /// One shot of the main timer: no work while a message box is open or a plug-in call is in progress.
    void tick();
    /// The machine woke up, or the wall clock or the time zone changed: the tick runs now rather than when
    /// the timer, which counts on the monotonic clock, next fires; it sets the timer afresh.
    void tickNow();
    /// The machine is about to sleep: changed groups, the settings and the to-do note are saved now.
    void prepareForSleep();

    /// Saves everything first, then asks the plug-ins (within `exitPluginBudgetMs`), writes the exit state,
    /// closes the windows and releases plug-ins. When something could not be saved it asks once whether to
    /// go on (`ask`), and returns false (the program keeps running) on No; without `ask` it goes on.
    bool exitProgram(bool endProcess, bool ask = true);
    /// The operating system shuts down, the user logs off or the process is asked to terminate. Before the
    /// start-up check has let the run go on, nothing is saved and the state file keeps telling of the last run.
    void sessionEnding();
    /// Exit from the tray menu: asks first.
    void trayExit();

    /// Starts the version-check program "hvc" with its XML argument, when it is present.
    bool versionCheck(bool silent);
    /// Writes the diagnostic log into the home folder; returns its path, "" on failure.
    std::string writeDebugLog();

    bool safeMode() const { return m_safeMode; }
    bool exiting() const { return m_exiting; }
    bool startupFinished() const { return m_startupFinished; }
    const std::string& runState() const { return m_runState; }
    /// The settings dialog's safety check: ticked "2", not ticked "3".
    void setRunState(const std::string& state) { m_runState = state; }
    const Date& startMoment() const { return m_startMoment; }
    const AppPaths& paths() const { return m_paths; }
    Shell& shell() { return m_services.shell; }
    std::string stateFilePath() const;

private:
    Services m_services;
    Subsystems* m_subsystems;
    AppPaths m_paths;
    modIniFileHandling m_ini;
    modTranslation m_translation;
    MessageBoxRoutine m_messages;

    bool m_safeMode = false;
    bool m_exiting = false;
    bool m_checked = false; ///< the start-up check let this run go on
    bool m_startupFinished = false;
    std::string m_runState = "2";
    Date m_startMoment;
};

} // namespace halvika
