// The subsystems the program has so far: the plug-in host, the colour scheme and the alarm groups.
#include "app/CoreSubsystems.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "base/MessageBoxRoutine.h"
#include "settings/LanguageChoice.h"
#include "settings/modTranslation.h"
#include "text/Placeholders.h"
#include "text/TextFile.h"
#include "text/WriteTally.h"

#include <chrono>
#include <filesystem>

namespace halvika {

namespace {

std::vector<std::string> pluginFolders(const AppPaths& paths) {
    std::vector<std::string> folders{paths.homeFile("PlugIns")};
    for (const auto& data : paths.dataFolders()) {
        folders.push_back(data + "/PlugIns");
    }
    return folders;
}

} // namespace

CoreSubsystems::CoreSubsystems(const Clock& clock, WatchTimer& timer, const AppPaths& paths, modIniFileHandling& ini,
                               modTranslation& texts, MessageBoxRoutine& messages, PluginProcess& process,
                               ActionRunner* runner, bool safeMode)
    : m_clock(clock), m_paths(paths), m_texts(texts), m_messages(messages), m_runner(runner),
      m_plugins(process, pluginFolders(paths), safeMode), m_colours(paths, ini), m_services(texts, m_colours, messages),
      m_groups(m_services), m_watch(clock, timer, m_groups, m_watchSettings, *this, *this, messages, texts) {
    // The groups report to the watch from here on: nothing refers to the watch before it exists.
    m_groups.setListener(m_watch);
    m_services.plugins = &m_plugins;
    m_plugins.setDescriptionCache(paths.homeFile("plugins.cache"), &m_groups.fileWriter());
    m_services.alarmGroupFolder = paths.home();
    m_services.defaultTemplate = [this] { return m_settings.getDefaultTemplateAlarm(m_texts); };
    // Applying a plug-in's answer (a synchronised group of a thousand alarms takes some 10 ms) waits until
    // the alarm about to sound has sounded.
    m_plugins.answersMustWait = [this] { return m_watch.alarmDueWithin(AlarmWatch::quietBeforeAlarmMs); };
}

bool CoreSubsystems::mainStart(bool safeMode) {
    m_groups.unloadAllAlarmGroups(true);
    // One Halvika per home folder: a temporary file here is one a crash cut off.
    TextFile::removeLeftoverTemporaries(m_paths.home());
    const std::string settingsFile = m_paths.homeFile(SettingsStore::fileName);
    auto root = std::make_shared<XMLNode>();
    std::string reason;
    const auto text = TextFile::readText(settingsFile, &reason);
    const bool exists = TextFile::exists(settingsFile);
    if (exists && (!text || root->initializeFromXML(*text))) {
        // Unreadable settings: kept aside for the user, who starts as on the first day and is told so.
        root = std::make_shared<XMLNode>();
        const std::string aside = settingsFile + ".bad";
        std::error_code ignored;
        std::filesystem::rename(settingsFile, aside, ignored);
        m_messages.notice(Placeholders::fill(m_texts.getMainText(textSettingsUnreadable), aside) +
                              (text ? "" : "\n" + reason),
                          Dialogs::styleExclamation);
    }
    const bool newUser = root->getNumberOfNodes() == 0;
    if (newUser) {
        runFirstRunDialog();
    }
    int step = 0;
    try {
        m_settings.load(*root, m_clock.today(), step);
    } catch (const std::exception& e) {
        m_messages.msgBox(SettingsStore::loadErrorText(e.what(), "loadSettings", step), Dialogs::styleCritical);
        return false;
    }
    m_settingsLoaded = true;
    // A language whose file has gone: ask again.
    m_texts.setLanguage(m_settings.language);
    if (!m_texts.languageFileExists()) {
        runFirstRunDialog();
    }
    if (newUser) {
        m_settings.templateText = newUserTemplateText();
    }
    applySettings(safeMode);
    if (m_services.alarmGroupFolder != m_paths.home()) {
        TextFile::removeLeftoverTemporaries(m_services.alarmGroupFolder);
    }
    m_groups.loadAlarmGroups();
    const std::string toDoFile = m_services.alarmGroupFolder + "/todo.txt";
    const auto note = TextFile::readText(toDoFile, &reason);
    m_toDo = note.value_or("");
    m_toDoUnreadable = !note && TextFile::exists(toDoFile);
    m_toDoRead = true;
    if (m_toDoUnreadable) {
        m_messages.notice(m_texts.getMainText(textToDoUnreadable) + "\n" + toDoFile + ": " + reason,
                          Dialogs::styleExclamation);
    }
    return true;
}

std::string CoreSubsystems::newUserTemplateText() {
    // A new alarm that only showed a window would be easy to miss: it also rings, once. The user changes
    // this like any template.
    const std::string ring = m_paths.findFile("sounds/ring.wav");
    if (ring.empty()) {
        return "";
    }
    const auto alarm = Alarm::createDefaultAlarm(m_texts);
    const auto sound = clsAction::Create(alarm.get(), ActionKind::SoundOnce, m_texts);
    sound->setText(ring);
    alarm->actions.addElement(sound);
    return SettingsStore::templateTextFor(*alarm, m_texts);
}

void CoreSubsystems::runFirstRunDialog() {
    if (firstRunDialog) {
        firstRunDialog(m_settings);
        return;
    }
    // Without a dialog (tests, the command line): the language it would propose, day/month/year, 24 hours.
    std::vector<std::string> folders{m_paths.home()};
    folders.insert(folders.end(), m_paths.dataFolders().begin(), m_paths.dataFolders().end());
    const auto files = LanguageChoice::listLanguageFiles(folders);
    const int choice = LanguageChoice::choose(files, LanguageChoice::userLanguageId());
    m_settings.language = choice >= 0 ? files[static_cast<std::size_t>(choice)].name : "English";
    m_settings.displayFormats = SettingsStore::displayFormatsFor(0, 0);
}

void CoreSubsystems::applySettings(bool safeMode) {
    reapplySettings();
    m_plugins.setActivePluginsLater(*m_settings.activePlugins, m_messages);
    // Safe mode starts with the alarms blocked, whatever the file says.
    m_watch.start(m_settings.lastCheck, m_settings.blocked || safeMode);
}

void CoreSubsystems::reapplySettings() {
    m_texts.setLanguage(m_settings.language.empty() ? "English" : m_settings.language);
    m_colours.resetSchemeColours();
    m_settings.colourScheme = m_colours.loadColourScheme(m_settings.colourScheme);
    // The descriptions are in the plug-ins' language: asked again only when it changed.
    const std::string tag = m_texts.languageTag();
    if (tag != m_plugins.languageTag()) {
        m_plugins.setLanguageTag(tag);
        m_plugins.loadDescriptionsLater([this] {
            if (pluginsLoaded) {
                pluginsLoaded();
            }
        });
    }
    m_services.alarmGroupFolder = m_settings.alarmGroupFolder(m_paths.home());

    refreshWatchSettings();
}

std::string CoreSubsystems::settingsFile() const {
    return m_paths.homeFile(SettingsStore::fileName);
}

std::string CoreSubsystems::settingsText() {
    m_settings.lastCheck = m_watch.lastCheckMoment();
    m_settings.blocked = m_watch.blocked();
    if (beforeSaveSettings) {
        beforeSaveSettings(m_settings);
    }
    return m_settings.toXML(m_clock.today())->toString();
}

bool CoreSubsystems::keepsToDoFile() const {
    return !m_toDoRead || (m_toDoUnreadable && TextFile::exists(toDoFile()));
}

bool CoreSubsystems::writeNow(const std::string& file, const std::string& content, std::string& problem) {
    m_groups.fileWriter().waitUntilDone();
    std::string reason;
    if (!TextFile::writeAtomically(file, content, &reason)) {
        problem = file + ": " + reason;
        return false;
    }
    return true;
}

bool CoreSubsystems::writeSettings(std::string& problem) {
    return !m_settingsLoaded || writeNow(settingsFile(), settingsText(), problem);
}

bool CoreSubsystems::writeTodo(std::string& problem) {
    return keepsToDoFile() || writeNow(toDoFile(), m_toDo, problem);
}

bool CoreSubsystems::saveToDoQuietly() {
    return keepsToDoFile() ||
           saveInTick(toDoFile(), m_toDo, m_toDoSaveNotice, textToDoNotSaved, AlarmWatch::toDoChanged);
}

bool CoreSubsystems::saveInTick(const std::string& file, std::string content, OnceNotice& notice, int text,
                                std::int16_t work) {
    m_groups.fileWriter().write(file, std::move(content),
                                [this, file, &notice, text, work](bool ok, const std::string& reason) {
                                    if (ok) {
                                        notice.clear();
                                        return;
                                    }
                                    notice.tell(m_texts.getMainText(text) + "\n" + file + ": " + reason);
                                    m_watch.saveRefused(work);
                                });
    return true;
}

void CoreSubsystems::saveBeforeSleep() {
    m_watch.savePendingWork();
    // Whatever does not land in time is written after the wake-up: it stays queued.
    m_groups.fileWriter().waitUntilDone(std::chrono::milliseconds(sleepSaveLimitMs));
}

void CoreSubsystems::queueSettingsAndToDo(WriteTally& tally) {
    const auto queue = [this, &tally](const std::string& file, std::string content, int text, std::int16_t work) {
        m_groups.fileWriter().writeConfirmed(
            file, std::move(content), false, {}, {},
            [this, file, work, told = tally.expect(m_texts.getMainText(text))](bool ok, const std::string& reason) {
                if (!ok) {
                    m_watch.saveRefused(work);
                }
                told(ok, file + ": " + reason);
            });
    };
    if (m_settingsLoaded) {
        queue(settingsFile(), settingsText(), textSettingsNotSaved, AlarmWatch::settingsChanged);
    }
    if (!keepsToDoFile()) {
        queue(toDoFile(), m_toDo, textToDoNotSaved, AlarmWatch::toDoChanged);
    }
}

bool CoreSubsystems::saveForExit(std::string& problems) {
    // What the tick handed over lands first; a write it had refused is made again below.
    m_groups.fileWriter().waitUntilDone();
    m_groups.fileWriter().reportOutcomes();
    bool ok = true;
    std::string problem;
    if (!writeSettings(problem)) {
        problems += "\n" + problem;
        ok = false;
    }
    if (m_settings.autoSave) {
        ok = m_groups.writeChangedGroups(problems) && ok;
        problem.clear();
        if (!writeTodo(problem)) {
            problems += "\n" + problem;
            ok = false;
        }
    }
    return ok;
}

void CoreSubsystems::refreshPluginState(int budgetMs) {
    const XMLNodePtr active = m_plugins.getActivePlugins(budgetMs);
    if (active->toString() == m_settings.activePlugins->toString()) {
        return;
    }
    m_settings.activePlugins = active;
    std::string ignored;
    writeSettings(ignored); // the data is safe already; this only remembers which plug-ins ran
}

Subsystems::DebugState CoreSubsystems::debugState() const {
    DebugState state;
    state.nextAlarm = m_watch.nextAlarmMoment();
    state.dueAlarmCount = m_watch.upcomingAlarms().numberOfElements();
    state.lastSoundedCheck = m_watch.lastCheckMoment();
    state.pendingWork = m_watch.pendingWork();
    state.watchBusy = m_plugins.busy();
    state.watchNow = m_watch.correctedNow();
    return state;
}

} // namespace halvika
