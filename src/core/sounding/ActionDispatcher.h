// Runs alarm actions: windows, sounds, speech, special commands, system commands and plug-ins.
#pragma once

#include "alarms/ActionRunner.h"

#include <functional>
#include <random>
#include <string>

namespace halvika {

class PluginHost;
class PowerControl;
class Shell;
class SoundingWindows;
class modSpeech;
class modTranslation;

class ActionDispatcher : public ActionRunner {
public:
    static constexpr int textUnknownKind = 901;
    static constexpr int textPluginsOff = 902;

    struct Services {
        SoundingWindows& windows;
        modSpeech& speech;
        Shell& shell;
        PowerControl& power;
        modTranslation& texts;
    };

    ActionDispatcher(Services services, bool safeMode);

    /// The plug-in host, once it exists; without one plug-in actions fail.
    void setPlugins(PluginHost* plugins) { m_plugins = plugins; }
    /// The program's exit routine (saves everything, closes the windows); false when the user kept it
    /// from ending. Run before a shut down, restart or log off.
    std::function<bool()> exitRoutine;
    /// Ends the process at once.
    std::function<void()> endProgram;
    /// The core counts the soundings before it hands the actions on.
    void countSoundedAlarm() override {}
    void doAction(clsAction& action, const Date& soundingDate, bool real) override;
    void stopSounds() override;
    void releaseFinishedSpeech() override;

    /// "word|first|second": the built-in words, or a program with parameters and a working folder.
    void runSpecialCommand(const std::string& command);
    /// Opens the path (one random match when it has wildcards) with the parameters in the folder.
    bool runProgram(const std::string& path, const std::string& parameters, const std::string& folder);
    /// True once a system command ended the program: later actions do not run.
    bool ended() const { return m_ended; }

private:
    enum class SystemCommand { ShutDown, Restart, LogOff };
    void runSystemCommand(SystemCommand command);
    void runPlugin(clsAction& action, const Date& soundingDate, bool real);

    Services m_s;
    bool m_safeMode;
    PluginHost* m_plugins = nullptr;
    bool m_ended = false;
    std::mt19937 m_random;
};

} // namespace halvika
