// The program's spine: start-up check, the main tick, the exit routine, version check and diagnostic log.
#include "app/HalvikaApp.h"

#include "app/ProgramVersion.h"
#include "app/StateFile.h"
#include "dates/DateFormat.h"
#include "xml/XMLNode.h"

#include <algorithm>

namespace halvika {

HalvikaApp::HalvikaApp(Services services, Subsystems& subsystems, AppPaths paths)
    : m_services(services), m_subsystems(&subsystems), m_paths(std::move(paths)), m_translation(m_paths, m_ini),
      m_messages(services.dialogs) {
    m_messages.setCaptionProvider([this] {
        return m_translation.languageFileExists() ? m_translation.getCaption("frmHalvikaMain", "Halvika")
                                                  : std::string("Halvika");
    });
}

std::string HalvikaApp::stateFilePath() const {
    return m_paths.homeFile(StateFile::fileName);
}

bool HalvikaApp::runStartupCheck() {
    const StartupCheck::Outcome outcome = StartupCheck::run(StateFile::read(stateFilePath()), m_messages);
    if (!outcome.proceed || m_exiting) {
        return false;
    }
    m_checked = true;
    m_safeMode = outcome.safeMode;
    m_runState = outcome.runState;
    // A failed write is ignored: the program is more useful running than refusing to start.
    StateFile::write(stateFilePath(), m_runState);
    return true;
}

bool HalvikaApp::mainStart() {
    m_startMoment = m_services.clock.today();
    if (!m_subsystems->mainStart(m_safeMode)) {
        return false;
    }
    m_startupFinished = true;
    m_services.timer.setHandler([this] { tick(); });
    // The watch schedules its own next shot when the groups load; the timer's shot is its due test, so it
    // must not fire early. Only an unscheduled timer is started here.
    if (!m_services.timer.isEnabled()) {
        m_services.timer.setInterval(0);
        m_services.timer.enable();
    }
    return true;
}

std::string HalvikaApp::loadingErrorText(int number, const std::string& description) {
    return std::string("Halvika cannot be loaded. This is probably because one or more files are not available. "
                       "Please go to ") +
           ProgramVersion::downloadAddress + " to download the complete installation version. Please mail to " +
           ProgramVersion::supportAddress + " if this doesn't help. The error message is: error" +
           std::to_string(number) + ": " + description;
}

void HalvikaApp::tick() {
    if (m_messages.messageBoxOpen() || m_subsystems->busy()) {
        m_services.timer.setInterval(messageBoxRetryMs);
        return;
    }
    m_subsystems->watchTick();
}

void HalvikaApp::tickNow() {
    if (m_exiting || !m_startupFinished) {
        return;
    }
    m_services.timer.disable();
    tick();
    if (!m_services.timer.isEnabled()) {
        m_services.timer.enable(); // a tick that did no work leaves the timer as it was
    }
}

void HalvikaApp::prepareForSleep() {
    if (m_startupFinished && !m_exiting) {
        m_subsystems->saveBeforeSleep();
    }
}

bool HalvikaApp::exitProgram(bool endProcess, bool ask) {
    if (m_exiting) {
        // Asked again (a second signal, a script's quit after a shut-down action): saved and unloaded already.
        if (endProcess) {
            m_services.views.endProcess(0);
        }
        return true;
    }
    // Data first: nothing the user was told is saved may wait for a plug-in.
    std::string problems;
    if (!m_subsystems->saveForExit(problems) && ask &&
        msgBox(m_translation.getMainText(textNotEverythingSaved) + problems,
               Dialogs::styleYesNo + Dialogs::styleExclamation) != Dialogs::answerYes) {
        return false;
    }
    m_exiting = true;
    m_services.timer.disable();
    m_subsystems->refreshPluginState(exitPluginBudgetMs);
    m_subsystems->stopSaving();
    StateFile::write(stateFilePath(), StateFile::exitState(m_runState, m_startMoment, m_services.clock.today()));
    m_services.views.unloadAllWindows();
    m_subsystems->releaseRunningPlugins();
    if (endProcess) {
        m_services.views.endProcess(0);
    }
    return true;
}

void HalvikaApp::sessionEnding() {
    if (!m_checked) {
        m_exiting = true; // the start-up question may be open: nothing is running yet, nothing to save
        m_services.views.endProcess(0);
        return;
    }
    // Nobody may be there to answer: save what can be saved and go.
    exitProgram(true, false);
}

void HalvikaApp::trayExit() {
    const int style = Dialogs::styleYesNo + Dialogs::styleQuestion;
    if (msgBox(m_translation.getMainText(exitQuestionNumber), style) == Dialogs::answerYes) {
        exitProgram(true);
    }
}

bool HalvikaApp::versionCheck(bool silent) {
    const std::string program = m_paths.findFile("hvc");
    if (program.empty()) {
        return false;
    }
    auto args = XMLNode::Create("args");
    args->addBoolean("silent", silent);
    args->addDate("reldat", ProgramVersion::releaseDate());
    args->addString("version", ProgramVersion::text());
    args->addString("lanfil", m_subsystems->languageFileName());
    return m_services.shell.startDetached(program, {args->toString()}, "");
}

std::string HalvikaApp::writeDebugLog() {
    const Subsystems::DebugState state = m_subsystems->debugState();
    const Date now = m_services.clock.today();
    auto log = XMLNode::Create("debuglog");
    log->addString("s", std::to_string(ProgramVersion::major));
    log->addString("s", std::to_string(ProgramVersion::minor));
    log->addString("s", std::to_string(ProgramVersion::revision));
    log->addDate("s", state.nextAlarm);
    log->addLong("s", state.dueAlarmCount);
    log->addDate("s", state.lastSoundedCheck);
    log->addLong("s", m_services.timer.interval());
    log->addBoolean("s", m_services.timer.isEnabled());
    log->addBoolean("s", state.watchBusy);
    log->addBoolean("s", m_messages.messageBoxOpen());
    log->addBoolean("s", state.listsRebuilding);
    log->addLong("s", state.pendingWork);
    log->addDate("s", now);
    log->addDate("s", state.watchNow);

    std::string name = formatDate("c", now);
    const std::string forbidden = "\\/:*?\"<>|";
    name.erase(std::remove_if(name.begin(), name.end(),
                              [&forbidden](char c) { return forbidden.find(c) != std::string::npos; }),
               name.end());
    const std::string path = m_paths.homeFile(name + "debug.log");
    return log->toXMLFile(path) ? "" : path;
}

} // namespace halvika
