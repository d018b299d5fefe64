// Puts the program together: arguments, home folder, single instance, services, windows, event loop.
#include "HalvikaProgram.h"

#include "app/AutostartEntry.h"
#include "app/CoreSubsystems.h"
#include "app/HalvikaApp.h"
#include "app/IdleSubsystems.h"
#include "app/ProgramVersion.h"
#include "app/RemoteCommands.h"
#include "base/AppPaths.h"
#include "dates/DateNames.h"
#include "editing/QuickReminder.h"
#include "platform/ClockChangeWatcher.h"
#include "platform/DBusPowerControl.h"
#include "platform/DBusService.h"
#include "platform/DesktopNotification.h"
#include "platform/EspeakSpeechEngine.h"
#include "platform/EventTrace.h"
#include "platform/LogindSleepWatcher.h"
#include "platform/PkexecWakeAlarmSetter.h"
#include "platform/PulseMixer.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/QtShell.h"
#include "platform/QtSoundOutput.h"
#include "platform/QtSoundingViews.h"
#include "platform/QtSpeechEngine.h"
#include "platform/QtThreadedSpeechEngine.h"
#include "platform/QtViews.h"
#include "platform/QtWatchListener.h"
#include "platform/QtWatchTimer.h"
#include "platform/QtWorkerThread.h"
#include "platform/UnixSignalWatcher.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixPluginProcess.h"
#include "platform/posix/PosixProgramStarter.h"
#include "sounding/ActionDispatcher.h"
#include "sounding/AlarmWindowLogic.h"
#include "sounding/PersonalAssistant.h"
#include "sounding/SoundVolume.h"
#include "sounding/SoundingWindows.h"
#include "sounding/WakeAlarmPlanner.h"
#include "sounding/modSpeech.h"
#include "text/Placeholders.h"
#include "windows/AppIcon.h"
#include "windows/FirstPaintProbe.h"
#include "windows/MainWindowLists.h"
#include "windows/Translatable.h"
#include "windows/TrayIcon.h"
#include "windows/frmAlarm.h"
#include "windows/frmAlarmProperties.h"
#include "windows/frmDateTime.h"
#include "windows/frmFirstTimeSettings.h"
#include "windows/frmHalvikaMain.h"
#include "windows/frmMissedAlarms.h"
#include "windows/frmQuickReminder.h"
#include "windows/frmSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDir>
#include <QLibraryInfo>
#include <QLockFile>
#include <QPixmapCache>
#include <QScopeGuard>
#include <QSessionManager>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace halvika {

namespace {

/// How long after the tick that found them the missed alarms are shown.
constexpr int missedWindowDelayMs = 300;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> dataFolders() {
    std::vector<std::string> folders;
    // Beside the program first, so that an installation found anywhere (a staged package) uses its own data.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("../share/halvika");
    if (QDir(beside).exists()) {
        folders.push_back(QDir(beside).canonicalPath().toStdString());
    }
    for (const QString& f : QString(HALVIKA_DATA_DIRS).split(':', Qt::SkipEmptyParts)) {
        folders.push_back(f.toStdString());
    }
    return folders;
}

} // namespace

/// --help and --version need no display: they are answered before the windowing system is touched.
bool onlyAsksForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help" || a == "--help-all" || a == "-v" || a == "--version") {
            return true;
        }
    }
    return false;
}

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription("Halvika, a desktop alarm clock and reminder scheduler.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({"home", "Keep alarms, settings and state in <folder>.", "folder"});
    parser.addOption({"hidden", "Start with the main window hidden in the tray."});
    parser.addOption({"show", "Show the main window (of the Halvika already running, if any)."});
}

int HalvikaProgram::run(int argc, char** argv) {
    const int exitCode = runApplication(argc, argv);
    // Everything is saved and closed by now; only the libraries' clean-up is left, and Qt Multimedia's would
    // wait for a sound server that holds the sound thread.
    if (QtWorkerThread::heldAtExit()) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}

int HalvikaProgram::runApplication(int argc, char** argv) {
    if (onlyAsksForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        QCoreApplication::setApplicationName("Halvika");
        QCoreApplication::setApplicationVersion(QString::fromStdString(ProgramVersion::text()));
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(text); // prints and exits
        return 0;
    }
    QApplication application(argc, argv);
    // From the first moment on: a termination asked for during start-up is then carried out, properly, as
    // soon as the program runs.
    UnixSignalWatcher signalWatcher;
    QApplication::setApplicationName("Halvika");
    QApplication::setApplicationVersion(QString::fromStdString(ProgramVersion::text()));
    QApplication::setWindowIcon(AppIcon::icon());
    // The style keeps every control it paints as a picture, a list header's sections at each width: for a
    // window that is mostly hidden and seldom repainted, memory held for the program's whole run.
    QPixmapCache::setCacheLimit(0);
    // The tray keeps the program alive; the main window only hides.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(application);
    const QString homeOption = "home";
    const QString hiddenOption = "hidden";
    const QString showOption = "show";

    const std::string home = AppPaths::resolveHome(parser.value(homeOption).toStdString(), environment("HALVIKA_HOME"),
                                                   environment("XDG_DATA_HOME"), environment("HOME"));
    if (!AppPaths::ensureFolder(home)) {
        std::fprintf(stderr, "halvika: cannot use the home folder %s\n", home.c_str());
        return 1;
    }
    DateNames::setCurrent(DateNames::fromEnvironmentLocale());

    // One instance per home folder; a lock left by a killed run is reclaimed by QLockFile.
    QLockFile lock(QDir(QString::fromStdString(home)).filePath("halvika.lock"));
    if (!lock.tryLock(0) && lock.error() != QLockFile::LockFailedError) {
        // Not another Halvika: the folder itself cannot be written, and nothing could be saved there.
        std::fprintf(stderr, "halvika: the home folder %s cannot be written; choose another with --home\n",
                     home.c_str());
        return 1;
    }
    if (!lock.isLocked()) {
        // Already running for this folder: bring that one up instead of starting a second.
        QDBusInterface running(DBusService::serviceName, DBusService::objectPath, DBusService::interfaceName);
        if (!running.isValid() || running.call("Show").type() == QDBusMessage::ErrorMessage) {
            std::fprintf(stderr, "halvika: already running for %s\n", home.c_str());
        }
        return 0;
    }

    PosixClock clock;
    QtWatchTimer timer;
    QtDialogs dialogs;
    QtShell shell;
    QtViews views;
    IdleSubsystems idle(timer);
    HalvikaApp app({clock, timer, dialogs, shell, views}, idle, AppPaths(home, dataFolders()));

    // Heard from here on, the start-up question included: a request nobody hears is lost.
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, [&app] { app.sessionEnding(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&app](QSessionManager&) { app.sessionEnding(); });
    if (!app.runStartupCheck()) {
        return 0;
    }
    PosixPluginProcess pluginProcess;
    CoreSubsystems core(clock, timer, app.paths(), app.ini(), app.translation(), app.messages(), pluginProcess, nullptr,
                        app.safeMode());
    app.setSubsystems(core);
    const AutostartEntry autostart(environment("XDG_CONFIG_HOME"), environment("HOME"));
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    core.firstRunDialog = [&app, &views, &autostart, &program, &home](SettingsStore& settings) {
        std::vector<std::string> folders{app.paths().home()};
        folders.insert(folders.end(), app.paths().dataFolders().begin(), app.paths().dataFolders().end());
        frmFirstTimeSettings dialog(app.translation(), LanguageChoice::listLanguageFiles(folders),
                                    LanguageChoice::userLanguageId());
        EventTrace::note("first-run question");
        dialog.exec();
        if (views.endRequested()) {
            return; // closed by the end of the session, not by the user: nothing was chosen
        }
        dialog.storeInto(settings);
        autostart.set(dialog.startWithSession(), program, home);
    };
    // Plug-in programs answer in the background; the timer runs only while a call is in flight.
    QTimer pluginCalls;
    pluginCalls.setInterval(20);
    QObject::connect(&pluginCalls, &QTimer::timeout, [&core, &pluginCalls] {
        if (!core.plugins().pollCalls()) {
            pluginCalls.stop();
        }
    });
    core.plugins().callsStarted = [&pluginCalls] { pluginCalls.start(); };
    // Whoever waits for a text to reach the disk (a script's new alarm, "Save all") hears as soon as it has:
    // the writer's thread wakes this one, which never waits for it.
    QObject writerReports;
    core.groups().fileWriter().setConfirmationWaker([&writerReports, &core] {
        QMetaObject::invokeMethod(
            &writerReports, [&core] { core.groups().fileWriter().reportOutcomes(); }, Qt::QueuedConnection);
    });
    const auto quietWriter = qScopeGuard([&core] { core.groups().fileWriter().setConfirmationWaker({}); });
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<frmHalvikaMain> mainWindow;
    core.pluginsLoaded = [&mainWindow] {
        if (mainWindow && mainWindow->lists()) {
            mainWindow->lists()->fillPluginMenus();
        }
    };
    core.loadPlugins();

    try {
        tray = std::make_unique<TrayIcon>();
        mainWindow = std::make_unique<frmHalvikaMain>(app);
    } catch (const std::exception& e) {
        app.msgBox(HalvikaApp::loadingErrorText(1, e.what()), Dialogs::styleExclamation);
        return 1;
    }

    // What sounding alarms do: windows, sounds, speech, programs and system commands.
    QtSoundOutput soundOutput;
    PulseMixer mixer;
    SoundVolume soundVolume(&mixer);
    QtThreadedSpeechEngine currentSpeech(QtWorkerThread::speech(), [] { return std::make_unique<QtSpeechEngine>(); });
    QtThreadedSpeechEngine olderSpeech(QtWorkerThread::speech(), [] { return std::make_unique<EspeakSpeechEngine>(); });
    modSpeech speech(&currentSpeech, &olderSpeech, core.settings(), clock);
    QtSoundingViews soundingViews(app.translation(), clock);
    SoundingWindows soundingWindows(
        {clock, app.translation(), core.settings(), core.watch(), core.groups(), app.messages()}, soundOutput,
        soundVolume, soundingViews, app.paths().findFile("sounds/ring.wav"));
    soundingViews.setWindows(soundingWindows);
    DBusPowerControl power;
    ActionDispatcher dispatcher({soundingWindows, speech, shell, power, app.translation()}, app.safeMode());
    dispatcher.setPlugins(&core.plugins());
    dispatcher.exitRoutine = [&app] { return app.exitProgram(false); };
    dispatcher.endProgram = [&views] { views.endProcess(0); };
    core.setActionRunner(dispatcher);
    PersonalAssistant assistant(app.translation(), core.groups(),
                                [&speech](const std::string& text) { speech.speak(text); });
    // What the watch reports, as signals: every part that follows the watch connects here.
    QtWatchListener watchReports(core.watch());
    // Texts waiting for their turn are started as soon as the one before ends, not at the next rescheduling.
    QTimer speechTurns;
    speechTurns.setInterval(200);
    QObject::connect(&speechTurns, &QTimer::timeout, [&speech, &speechTurns] {
        speech.releaseFinishedSpeech();
        if (speech.waiting() == 0) {
            speechTurns.stop();
        }
    });
    speech.textWaiting = [&speechTurns] { speechTurns.start(); };
    QObject::connect(&watchReports, &QtWatchListener::inactivityEndedReported, [&assistant, &core, &clock] {
        if (core.settings().personalAssistant) {
            assistant.greetUser(clock.now().date, core.watch().blocked(), core.settings().ignoreCorrection);
        }
    });
    QObject::connect(mainWindow.get(), &frmHalvikaMain::stopSoundsRequested, [&core] { core.watch().stopAllSounds(); });
    QObject::connect(tray.get(), &TrayIcon::stopSoundsRequested, [&core] { core.watch().stopAllSounds(); });
    QObject::connect(mainWindow.get(), &frmHalvikaMain::showAlarmClockRequested,
                     [&soundingWindows] { soundingWindows.showAlarmClock(); });

    // The tray's tool tip tells the next alarm, and that alarms are blocked.
    const auto showNextAlarm = [&mainWindow, &tray, &core, &app] {
        mainWindow->showNextAlarm();
        QString tip = "Halvika\n" + mainWindow->nextAlarmText();
        if (core.watch().blocked()) {
            tip += "\n" + QString::fromStdString(app.translation().getMainText(frmHalvikaMain::textBlocked));
        }
        tray->setToolTip(tip);
    };
    // The alarms a sleep or a stop left silent: one window, and a notification when the window is hidden.
    // Shown a moment after the tick, which goes on to sound the alarms that do sound after inactivity: making
    // the window must not take the processor from the programs those alarms have just started.
    std::unique_ptr<frmMissedAlarms> missedWindow;
    QObject::connect(
        &watchReports, &QtWatchListener::missedWhileAwayReported,
        [&](const Vector<Alarm>& alarms, const DateVector& moments, bool cut) {
            EventTrace::note("missed " + std::to_string(alarms.numberOfElements()));
            QTimer::singleShot(missedWindowDelayMs, [&, alarms = alarms.getCopy(), moments = DateVector(moments), cut] {
                if (!missedWindow) {
                    missedWindow = std::make_unique<frmMissedAlarms>(app.translation(), core.watch(),
                                                                     core.settings().displayFormats[3]);
                }
                missedWindow->setDateFormat(core.settings().displayFormats[3]);
                missedWindow->add(alarms, moments, cut);
                if (!mainWindow->isVisible()) {
                    DesktopNotification::show(
                        QString::fromStdString(app.translation().getValue(
                            frmMissedAlarms::section, frmMissedAlarms::section, "Missed while away")),
                        QString::fromStdString(Placeholders::fill(
                            app.translation().getText(frmMissedAlarms::section, frmMissedAlarms::textNotification),
                            std::to_string(missedWindow->list().count()))));
                }
                missedWindow->show();
                missedWindow->raise();
                EventTrace::note("missed window " + std::to_string(missedWindow->list().count()));
            });
        });
    // The computer's wake-up follows the alarms, after every scheduling.
    PkexecWakeAlarmSetter wakeSetter(PkexecWakeAlarmSetter::defaultCommand());
    WakeAlarmPlanner wakePlanner(clock, core.groups(), core.watchSettings(), wakeSetter);
    frmSettings* openSettings = nullptr;
    wakePlanner.problemFound = [&openSettings] {
        if (openSettings) {
            openSettings->showWakeProblem();
        }
    };
    // The voices are learned on the speech thread the first time they are asked for, maybe by this window.
    for (QtThreadedSpeechEngine* engine : {&currentSpeech, &olderSpeech}) {
        engine->voicesLearned = [&openSettings, &speech] {
            if (openSettings) {
                openSettings->setVoices(speech.getVoices());
            }
        };
    }
    QObject::connect(&watchReports, &QtWatchListener::scheduledReported, [&wakePlanner] {
        wakePlanner.update();
        if (EventTrace::enabled()) {
            EventTrace::note("scheduled wake " + std::to_string(wakePlanner.wakeSecond()));
        }
    });
    QtClipboard systemClipboard;
    mainWindow->setCore(core, clock, systemClipboard, watchReports);
    QObject::connect(&watchReports, &QtWatchListener::blockedChangedReported,
                     [&mainWindow, &tray, showNextAlarm](bool blocked) {
                         mainWindow->showBlocked(blocked);
                         tray->setBlocked(blocked);
                         showNextAlarm();
                     });
    QObject::connect(tray.get(), &TrayIcon::blockedToggled,
                     [&core](bool blocked) { core.watch().setBlocked(blocked); });
    soundingViews.setEditorOpener([&mainWindow](AlarmWindowLogic& window) {
        Vector<Alarm> alarms;
        alarms.addElement(window.alarm());
        mainWindow->lists()->editAlarms(alarms, AlarmEditorLogic::existingAlarms);
    });
    QObject::connect(mainWindow.get(), &frmHalvikaMain::translated,
                     [&tray, &app] { tray->translate(app.translation()); });
    // Dates and Qt's own texts (standard buttons, file and colour dialogs) in the chosen language.
    QTranslator qtTexts;
    const auto followLanguage = [&app, &qtTexts] {
        DateNames::setCurrent(app.translation().dateNames(DateNames::fromEnvironmentLocale()));
        QCoreApplication::removeTranslator(&qtTexts);
        const std::string id = app.translation().languageTag();
        const QString language = QString::fromStdString(id.substr(0, id.find('-')));
        if (qtTexts.load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(&qtTexts);
        }
    };
    QObject::connect(mainWindow.get(), &frmHalvikaMain::settingsRequested, [&] {
        std::vector<std::string> folders{app.paths().home()};
        folders.insert(folders.end(), app.paths().dataFolders().begin(), app.paths().dataFolders().end());
        std::vector<std::string> languages;
        for (const auto& file : LanguageChoice::listLanguageFiles(folders)) {
            languages.push_back(file.name);
        }
        frmSettings dialog(core, app.translation(), app.messages(), clock, speech.getVoices(), languages,
                           ColourScheme::listSchemes(folders), mainWindow.get());
        dialog.editAlarm = [&](std::shared_ptr<Alarm>& alarm) {
            frmAlarmProperties editor(
                {clock, app.translation(), app.messages(), core.groups(), core.watch(), core.settings(), &app.paths()},
                &core.plugins(), &dialog);
            Vector<Alarm> alarms;
            alarms.addElement(alarm);
            editor.setAlarms(alarms, AlarmEditorLogic::templateAlarm);
            editor.exec();
        };
        dialog.autostartEnabled = [&autostart] { return autostart.exists(); };
        dialog.setAutostart = [&autostart, &program, &home](bool on) { return autostart.set(on, program, home); };
        dialog.safetyCheckOn = [&app] { return app.runState() != "3"; };
        dialog.setSafetyCheck = [&app](bool on) { app.setRunState(on ? "2" : "3"); };
        dialog.wakeProblemText = [&wakePlanner] { return wakePlanner.problemTextNumber(); };
        dialog.showProgramSwitches();
        openSettings = &dialog;
        dialog.applied = [&mainWindow, &followLanguage, &showNextAlarm] {
            // The language may have changed: every open window takes its captions again.
            followLanguage();
            Translatable::translateAll();
            mainWindow->applySettings();
            mainWindow->refreshNow();
            showNextAlarm(); // the tray's tool tip too: the watch tells only of another next alarm
        };
        dialog.exec();
        openSettings = nullptr;
    });
    std::unique_ptr<frmDateTime> dateTime;
    QObject::connect(tray.get(), &TrayIcon::calendarRequested, [&dateTime, &app, &clock] {
        if (!dateTime) {
            dateTime = std::make_unique<frmDateTime>(app.translation(), clock);
        }
        dateTime->showToday();
        dateTime->show();
        dateTime->raise();
    });
    QObject::connect(tray.get(), &TrayIcon::addAlarmRequested, [&mainWindow] {
        if (!mainWindow->isVisible()) {
            mainWindow->toggleWindowVisibility();
        }
        mainWindow->lists()->newAlarm();
    });

    mainWindow->setWatch(&core.watch());
    mainWindow->setSettings(&core.settings());
    core.beforeSaveSettings = [&mainWindow](SettingsStore& settings) {
        mainWindow->takeGeometry(settings);
        mainWindow->takeSettings();
    };
    // A moment later, as the lists: every tick that sounds an alarm reports a new next alarm, while the
    // alarm's program is still loading. Many reports make one update.
    QTimer nextAlarmLater;
    nextAlarmLater.setSingleShot(true);
    nextAlarmLater.setInterval(frmHalvikaMain::refreshDelayMs);
    QObject::connect(&nextAlarmLater, &QTimer::timeout, showNextAlarm);
    QObject::connect(&watchReports, &QtWatchListener::nextAlarmChangedReported, &nextAlarmLater, [&nextAlarmLater] {
        if (!nextAlarmLater.isActive()) {
            nextAlarmLater.start();
        }
    });
    QObject::connect(&watchReports, &QtWatchListener::versionCheckDueReported, [&app] { app.versionCheck(true); });

    const bool trayAvailable = TrayIcon::isAvailable();
    mainWindow->setTrayAvailable(trayAvailable);
    QObject::connect(tray.get(), &TrayIcon::toggleWindowRequested, mainWindow.get(),
                     &frmHalvikaMain::toggleWindowVisibility);
    QObject::connect(tray.get(), &TrayIcon::exitRequested, [&app] { app.trayExit(); });
    QObject::connect(mainWindow.get(), &frmHalvikaMain::exitRequested, [&app] { app.trayExit(); });

    // Scripts reach the running program on the session bus.
    RemoteCommands remote(core, clock);
    remote.snoozeLatestWindow = [&soundingWindows](std::int32_t amount, std::int16_t unit) {
        return soundingWindows.snoozeLatest(amount, unit);
    };
    remote.exitRoutine = [&app] { app.exitProgram(true); };
    // "Remind me in…" makes its alarm the way a script would: checked, in the chosen group, saved at once.
    const auto remindMe = [&app, &clock, &remote, &mainWindow, &showNextAlarm] {
        frmQuickReminder dialog(app.translation(), mainWindow->isVisible() ? mainWindow.get() : nullptr);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const auto group = mainWindow->lists()->currentGroup();
        const std::string moment =
            QuickReminder::momentAfter(clock.now().date, std::int64_t{dialog.minutes()} * 60).toFileString();
        remote.addAlarm("", moment, dialog.message(), group ? group->name : "",
                        [&app, &mainWindow, &showNextAlarm](const std::string& problem) {
                            if (!problem.empty()) {
                                app.messages().notice(problem, Dialogs::styleExclamation);
                            }
                            mainWindow->refreshNow();
                            showNextAlarm();
                        });
    };
    QObject::connect(tray.get(), &TrayIcon::quickReminderRequested, remindMe);
    QObject::connect(mainWindow.get(), &frmHalvikaMain::quickReminderRequested, remindMe);
    DBusService dbus(remote);
    dbus.showWindow = [&mainWindow] {
        if (!mainWindow->isVisible()) {
            mainWindow->toggleWindowVisibility();
        }
        mainWindow->raise();
        mainWindow->activateWindow();
    };

    // Sleep, wake-up and clock changes are handled the moment they happen, not at the next tick.
    LogindSleepWatcher sleepWatcher;
    sleepWatcher.beforeSleep = [&app] {
        EventTrace::note("sleep");
        app.prepareForSleep();
        EventTrace::note("saved before sleep");
    };
    sleepWatcher.afterWake = [&app] {
        EventTrace::note("resume");
        app.tickNow();
    };
    ClockChangeWatcher clockWatcher;
    clockWatcher.changed = [&app](bool zone) {
        EventTrace::note(zone ? "zone changed" : "clock set");
        app.tickNow();
    };

    if (!app.mainStart()) {
        return 1;
    }
    sleepWatcher.start();
    clockWatcher.start();
    followLanguage();
    if (!dbus.registerOnSessionBus()) {
        std::fprintf(stderr, "halvika: the scripting interface is not on the session bus (no bus, or another "
                             "Halvika has it)\n");
    }
    mainWindow->translate();
    tray->setBlocked(core.watch().blocked());
    showNextAlarm();
    mainWindow->applySettings();
    mainWindow->refreshNow();
    if (trayAvailable && !views.endRequested()) {
        tray->show();
    }
    mainWindow->applyGeometry(core.settings());
    // Hidden when asked, or when it was hidden at the last exit; only with a tray to bring it back.
    // Asked to end during the start (a termination signal while a question was open): nothing more to show.
    const bool showWindow =
        !trayAvailable || parser.isSet(showOption) || (!parser.isSet(hiddenOption) && core.settings().windowVisible);
    if (showWindow && !views.endRequested()) {
        FirstPaintProbe::installIfAsked(*mainWindow);
        mainWindow->show();
    }
    QTimer::singleShot(0, [] { PosixProgramStarter::prepare(); });
    const int exitCode = views.exec();
    // The sounding windows go before the services they use.
    soundingWindows.closeAll();
    dateTime.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}

} // namespace halvika
