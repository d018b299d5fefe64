// The subsystems the program has so far: the plug-in host, the colour scheme and the alarm groups.
#pragma once

#include "alarms/ActionRunner.h"
#include "app/Subsystems.h"
#include "base/AppPaths.h"
#include "base/OnceNotice.h"
#include "groups/AlarmGroupCollection.h"
#include "groups/ChangeKinds.h"
#include "groups/GroupServices.h"
#include "platform/PluginProcess.h"
#include "platform/WatchTimer.h"
#include "plugins/PluginHost.h"
#include "settings/ColourScheme.h"
#include "settings/SettingsStore.h"
#include "sounding/AlarmWatch.h"
#include "sounding/WatchChores.h"
#include "sounding/WatchSettings.h"

#include <cstdint>
#include <functional>
#include <string>

namespace halvika {

class ActionRunner;
class Clock;
class MessageBoxRoutine;
class WriteTally;
class modIniFileHandling;
class modTranslation;

/// The settings, plug-ins, colour scheme, alarm groups and the watch, started and saved in the spine's
/// order. Actions are run by the given runner; every real sounding is counted in the settings.
class CoreSubsystems : public Subsystems, private ActionRunner, private WatchChores {
public:
    static constexpr int textSettingsNotSaved = 109;
    static constexpr int textToDoNotSaved = 111;
    static constexpr int textSettingsUnreadable = 112;
    static constexpr int textToDoUnreadable = 113;
    CoreSubsystems(const Clock& clock, WatchTimer& timer, const AppPaths& paths, modIniFileHandling& ini,
                   modTranslation& texts, MessageBoxRoutine& messages, PluginProcess& process, ActionRunner* runner,
                   bool safeMode);

    /// Start-up step 4: finds the plug-ins (none in safe mode) in the background; `pluginsLoaded` is told
    /// when their lists and descriptions are known.
    void loadPlugins() {
        m_plugins.loadPluginsLater([this] {
            m_groups.loadForeignGroupFiles();
            if (pluginsLoaded) {
                pluginsLoaded();
            }
        });
    }
    std::function<void()> pluginsLoaded;

    bool mainStart(bool safeMode) override;
    void watchTick() override { m_watch.watchTick(); }
    void saveBeforeSleep() override;
    /// How long the machine's sleep waits for the files handed over: a stalled disk must not keep it awake.
    static constexpr int sleepSaveLimitMs = 3000;
    bool busy() const override { return m_plugins.busy(); }
    /// "Save all"'s part: the settings and the to-do note go to the file writer, each confirmed on `tally`; one
    /// the disk refuses is tried again by the tick, as a refused quiet save is.
    void queueSettingsAndToDo(WriteTally& tally);
    bool saveForExit(std::string& problems) override;
    void stopSaving() override { m_groups.fileWriter().close(); }
    void refreshPluginState(int budgetMs) override;
    /// Quiet writes: false with the file and reason in `problem`.
    bool writeSettings(std::string& problem);
    bool writeTodo(std::string& problem);
    void releaseRunningPlugins() override { m_plugins.releaseRunningPlugins(); }
    std::string languageFileName() const override { return m_settings.language; }
    DebugState debugState() const override;

    /// Hands changed settings (from the settings dialog) to the parts that read them: language, colours,
    /// group folder and the watch's values. The watch's last handled moment is left alone.
    void reapplySettings();
    /// Who runs the actions from now on (the windows that carry them out exist only after the core).
    void setActionRunner(ActionRunner& runner) { m_runner = &runner; }
    PluginHost& plugins() { return m_plugins; }
    AlarmGroupCollection& groups() { return m_groups; }
    GroupServices& groupServices() { return m_services; }
    const AppPaths& paths() const { return m_paths; }
    /// The folder the alarm groups are kept in.
    std::string alarmGroupFolderPath() const { return m_settings.alarmGroupFolder(m_paths.home()); }
    ColourScheme& colours() { return m_colours; }
    AlarmWatch& watch() { return m_watch; }
    const WatchSettings& watchSettings() const { return m_watchSettings; }
    /// The watch's values taken again from the settings, after a window changed them.
    void refreshWatchSettings() { m_watchSettings = WatchSettings::from(m_settings); }
    SettingsStore& settings() { return m_settings; }
    /// Shows the first-run dialog, which fills the language and display formats (set by the program).
    std::function<void(SettingsStore&)> firstRunDialog;
    /// Lets the windows put their places into the settings just before they are written.
    std::function<void(SettingsStore&)> beforeSaveSettings;
    /// The settings changed: the next tick saves them.
    void markSettingsChanged() { m_watch.requestWork(AlarmWatch::settingsChanged); }
    const std::string& toDo() const { return m_toDo; }
    /// The user edited the note: the next tick saves it when saving is automatic.
    void setToDo(const std::string& text) {
        m_toDo = text;
        m_watch.requestWork(AlarmWatch::toDoChanged);
    }

private:
    void countSoundedAlarm() override { m_settings.countSoundedAlarm(); }
    void doAction(clsAction& action, const Date& soundingDate, bool real) override {
        if (m_runner) {
            m_runner->doAction(action, soundingDate, real);
        }
    }
    void stopSounds() override {
        if (m_runner) {
            m_runner->stopSounds();
        }
    }
    void releaseFinishedSpeech() override {
        if (m_runner) {
            m_runner->releaseFinishedSpeech();
        }
    }
    // The tick's saves never ask and never wait for the disk: a refused write is tried again at the next
    // tick, and told once.
    bool saveSettingsQuietly() override {
        return !m_settingsLoaded || saveInTick(settingsFile(), settingsText(), m_settingsSaveNotice,
                                               textSettingsNotSaved, AlarmWatch::settingsChanged);
    }
    bool saveToDoQuietly() override;
    void pollRunningPlugins() override { m_plugins.checkRunningPlugins(); }
    void runFirstRunDialog();
    /// The template a new user starts with: the default alarm with a sound as well.
    std::string newUserTemplateText();
    /// A save of the tick: queued, never asks; a failure is told once and marks `work` pending again.
    bool saveInTick(const std::string& file, std::string content, OnceNotice& notice, int text, std::int16_t work);
    /// Writes at once, after everything queued (which is older); false with the file and reason in `problem`.
    bool writeNow(const std::string& file, const std::string& content, std::string& problem);
    std::string settingsFile() const;
    /// The settings' text, with the watch's state as it is now.
    std::string settingsText();
    std::string toDoFile() const { return m_services.alarmGroupFolder + "/todo.txt"; }
    /// A to-do note that could not be read, or has not been read yet, is never written over.
    bool keepsToDoFile() const;
    /// Hands the loaded values to the parts that read them.
    void applySettings(bool safeMode);

    const Clock& m_clock;
    const AppPaths& m_paths;
    modTranslation& m_texts;
    MessageBoxRoutine& m_messages;
    ActionRunner* m_runner;
    SettingsStore m_settings;
    // What the start has read so far: an exit asked for in one of its questions writes only that.
    bool m_settingsLoaded = false;
    bool m_toDoRead = false;
    std::string m_toDo;
    bool m_toDoUnreadable = false;
    PluginHost m_plugins;
    ColourScheme m_colours;
    GroupServices m_services;
    AlarmGroupCollection m_groups;
    WatchSettings m_watchSettings;
    AlarmWatch m_watch;
    OnceNotice m_settingsSaveNotice{m_messages};
    OnceNotice m_toDoSaveNotice{m_messages};
};

} // namespace halvika
