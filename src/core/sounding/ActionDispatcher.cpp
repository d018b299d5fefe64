#include "sounding/ActionDispatcher.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "platform/PowerControl.h"
#include "platform/Shell.h"
#include "plugins/PluginHost.h"
#include "settings/modTranslation.h"
#include "sounding/SoundingWindows.h"
#include "sounding/SpecialCommand.h"
#include "sounding/WildcardPath.h"
#include "sounding/modSpeech.h"

#include <chrono>

namespace halvika {

namespace {

std::shared_ptr<Alarm> owningAlarm(const clsAction& action) {
    return action.al ? action.al->weak_from_this().lock() : nullptr;
}

/// The alarm's own shared action object, so that a reused window recognises it.
std::shared_ptr<clsAction> sharedAction(clsAction& action) {
    if (action.al) {
        for (int i = 0; i < action.al->actions.numberOfElements(); ++i) {
            if (action.al->actions.elementAt(i).get() == &action) {
                return action.al->actions.elementAt(i);
            }
        }
    }
    return std::shared_ptr<clsAction>(std::shared_ptr<clsAction>(), &action);
}

} // namespace

ActionDispatcher::ActionDispatcher(Services services, bool safeMode)
    : m_s(services), m_safeMode(safeMode),
      m_random(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count())) {}

void ActionDispatcher::stopSounds() {
    m_s.windows.stopAllSounds();
    m_s.speech.stopSpeech();
}

void ActionDispatcher::releaseFinishedSpeech() {
    m_s.speech.releaseFinishedSpeech();
}

void ActionDispatcher::doAction(clsAction& action, const Date& soundingDate, bool real) {
    if (m_ended) {
        return;
    }
    const auto alarm = owningAlarm(action);
    const std::string text = action.text();
    switch (action.kind()) {
    case ActionKind::Message:
    case ActionKind::MessageAndSpeak:
        if (alarm) {
            m_s.windows.showAlarmMessage(alarm, sharedAction(action), soundingDate, real, "");
        }
        if (action.isKind(ActionKind::MessageAndSpeak)) {
            m_s.speech.speak(text);
        }
        break;
    case ActionKind::Speak:
        m_s.speech.speak(text);
        break;
    case ActionKind::SpecialCommand:
    case ActionKind::SpecialCommand2:
    case ActionKind::SpecialCommand3:
        runSpecialCommand(text);
        break;
    case ActionKind::SoundOnce:
    case ActionKind::SoundRepeated:
        if (alarm) {
            m_s.windows.playAlarmSound(alarm, sharedAction(action), soundingDate, real);
        }
        break;
    case ActionKind::TellTime:
        m_s.speech.tellTime("now \"" + text + "\"");
        break;
    case ActionKind::TimeUntil:
    case ActionKind::TimeSince:
        m_s.speech.tellTime(std::string(action.isKind(ActionKind::TimeUntil) ? "unt" : "sin") + " \"" + text + "\" \"" +
                            action.referenceMoment() + "\"");
        break;
    case ActionKind::ScreenSaver:
        m_s.power.startScreenSaver();
        break;
    case ActionKind::ShutDown:
        runSystemCommand(SystemCommand::ShutDown);
        break;
    case ActionKind::Restart:
        runSystemCommand(SystemCommand::Restart);
        break;
    case ActionKind::LogOff:
        runSystemCommand(SystemCommand::LogOff);
        break;
    case ActionKind::Plugin:
        runPlugin(action, soundingDate, real);
        break;
    case ActionKind::AlarmClock:
        m_s.windows.soundAlarmClock();
        break;
    default:
        if (alarm) {
            m_s.windows.showAlarmMessage(alarm, sharedAction(action), soundingDate, real,
                                         m_s.texts.getText("Action", textUnknownKind));
        }
        break;
    }
}

void ActionDispatcher::runSpecialCommand(const std::string& command) {
    const SpecialCommand parsed = SpecialCommand::parse(command);
    const std::string word = parsed.lowerWord();
    if (word == "screensaver") {
        m_s.power.startScreenSaver();
    } else if (word == "shutdown") {
        runSystemCommand(SystemCommand::ShutDown);
    } else if (word == "reboot") {
        runSystemCommand(SystemCommand::Restart);
    } else if (word == "logoff") {
        runSystemCommand(SystemCommand::LogOff);
    } else if (word == "speak") {
        m_s.speech.speak(parsed.first);
    } else if (word == "tt") {
        m_s.speech.tellTime(parsed.first);
    } else {
        runProgram(parsed.word, parsed.first, parsed.second);
    }
}

bool ActionDispatcher::runProgram(const std::string& path, const std::string& parameters, const std::string& folder) {
    return m_s.shell.open(WildcardPath::choose(path, m_random), parameters, folder);
}

void ActionDispatcher::runSystemCommand(SystemCommand command) {
    // Everything is saved first; when the user keeps the program from ending, the machine stays as it is.
    if (exitRoutine && !exitRoutine()) {
        return;
    }
    m_ended = true;
    switch (command) {
    case SystemCommand::ShutDown:
        m_s.power.shutDown();
        break;
    case SystemCommand::Restart:
        m_s.power.restart();
        break;
    case SystemCommand::LogOff:
        m_s.power.logOff();
        break;
    }
    if (endProgram) {
        endProgram();
    }
}

void ActionDispatcher::runPlugin(clsAction& action, const Date& soundingDate, bool real) {
    const auto alarm = owningAlarm(action);
    const auto shared = sharedAction(action);
    // The answer is handled when it comes: a slow or hanging plug-in never holds up the alarms after it.
    auto answered = [this, alarm, shared, soundingDate, real](const std::string& reply) {
        const XMLNodePtr answer = XMLNode::createFromXML(reply);
        if (answer->getNodeIndex("success") >= 0) {
            return;
        }
        std::string message = m_safeMode ? m_s.texts.getText("Action", textPluginsOff) : answer->getString("error");
        if (message.empty()) {
            message = " ";
        }
        if (alarm) {
            m_s.windows.showAlarmMessage(alarm, shared, soundingDate, real, message);
        }
    };
    if (!m_plugins || m_safeMode) {
        answered("");
        return;
    }
    std::string parameters = action.settings.toString();
    if (alarm) {
        parameters += alarm->toXML("alrm")->toString();
    }
    m_plugins->methodCallLater(action.plugin, "Execute", parameters, true, std::move(answered));
}

} // namespace halvika
