// The main window: the next-alarm line, the working lists and the menus.
#include "windows/frmHalvikaMain.h"

#include "alarms/Alarm.h"
#include "alarms/AlarmTexts.h"
#include "app/CoreSubsystems.h"
#include "app/HalvikaApp.h"
#include "calendar/HalvikaCalendarLogic.h"
#include "dates/DateFormat.h"
#include "groups/AlarmGroupCollection.h"
#include "platform/Clock.h"
#include "platform/QtWatchListener.h"
#include "settings/SettingsStore.h"
#include "sounding/AlarmWatch.h"
#include "windows/AppIcon.h"
#include "windows/BusyCursor.h"
#include "windows/FormTranslator.h"
#include "windows/HalvikaCalendar.h"
#include "windows/MainWindowLists.h"
#include "windows/UserLocale.h"
#include "windows/frmAbout.h"
#include "windows/frmFind.h"
#include "windows/frmPlugIns.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QStackedWidget>

#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace halvika {

frmHalvikaMain::frmHalvikaMain(HalvikaApp& app, QWidget* parent) : QMainWindow(parent), m_app(app) {
    setObjectName("frmHalvikaMain");
    setWindowIcon(AppIcon::icon());
    // Not at once: after an alarm's tick, the program the alarm started is still loading, and the refresh
    // would take the processor from it.
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(refreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &frmHalvikaMain::refreshNow);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_nextAlarm = new QLabel(central);
    m_nextAlarm->setObjectName("lblNextAlarm");
    QFont big = m_nextAlarm->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    m_nextAlarm->setFont(big);
    m_nextAlarm->setWordWrap(true);
    // Alarm names are shown as typed, markup and all.
    m_nextAlarm->setTextFormat(Qt::PlainText);
    // The line can be selected and copied, to paste the next alarm elsewhere.
    m_nextAlarm->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(m_nextAlarm);
    layout->addStretch();
    setCentralWidget(central);

    QMenu* general = menuBar()->addMenu(tr("&Halvika"));
    general->setObjectName("mnuGeneral");
    QAction* hide = general->addAction(tr("&Close window"), this, &frmHalvikaMain::toggleWindowVisibility);
    hide->setObjectName("mnuWindowClose");
    hide->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    QAction* stopSounds = general->addAction(tr("&Stop sounds"), this, &frmHalvikaMain::stopSoundsRequested);
    stopSounds->setObjectName("mnuGeneralStopSounds");
    stopSounds->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
    QAction* alarmClock = general->addAction(tr("&Alarm clock"), this, &frmHalvikaMain::showAlarmClockRequested);
    alarmClock->setObjectName("mnuWindowShowAC");
    m_blocked = general->addAction(tr("&Blocked"), this, [this] {
        if (m_core) {
            m_core->watch().setBlocked(m_blocked->isChecked());
        }
    });
    m_blocked->setObjectName("mnuGeneralBlocked");
    m_blocked->setCheckable(true);
    m_blocked->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    QAction* remind = general->addAction(tr("Re&mind me in..."), this, &frmHalvikaMain::quickReminderRequested);
    remind->setObjectName("mnuGeneralRemindMe");
    remind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction* find = general->addAction(tr("&Find alarms..."), this, &frmHalvikaMain::showFind);
    find->setObjectName("mnuGeneralFind");
    find->setShortcut(QKeySequence::Find);
    QAction* customAction = general->addAction(tr("&Run an action now..."), this, [this] {
        if (m_lists) {
            m_lists->showCustomActionWindow();
        }
    });
    customAction->setObjectName("mnuGeneralCustAct");
    QAction* settings = general->addAction(tr("S&ettings..."), this, &frmHalvikaMain::settingsRequested);
    settings->setObjectName("mnuGeneralSettings");
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    general->addSeparator();
    QAction* exit = general->addAction(tr("E&xit"), this, &frmHalvikaMain::exitRequested);
    exit->setObjectName("mnuTrayExit");
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* help = menuBar()->addMenu(tr("He&lp"));
    help->setObjectName("mnuHelp");
    QAction* check = help->addAction(tr("&Check for a new version"), this, [this] {
        if (!m_app.versionCheck(false)) {
            m_app.msgBox(m_app.translation().getMainText(textNoVersionCheck), Dialogs::styleInformation);
        }
    });
    check->setObjectName("mnuHelpCheckVersion");
    m_autoCheck = help->addAction(tr("Check au&tomatically"), this, [this] {
        if (m_core) {
            m_core->settings().autoVersionCheck = m_autoCheck->isChecked();
            m_core->refreshWatchSettings();
            m_core->markSettingsChanged();
        }
        if (m_autoCheck->isChecked()) {
            m_app.versionCheck(true); // switched on: the first check is now, not in up to an hour
        }
    });
    m_autoCheck->setObjectName("mnuHelpAutoCheckVersion");
    m_autoCheck->setCheckable(true);
    QAction* about = help->addAction(tr("&About Halvika"), this, [this] {
        frmAbout dialog(m_app, this);
        dialog.exec();
    });
    about->setObjectName("mnuHelpAbout");

    resize(960, 640);
    translate();
    showNextAlarm();
}

frmHalvikaMain::~frmHalvikaMain() = default;

void frmHalvikaMain::setCore(CoreSubsystems& core, const Clock& clock, Clipboard& systemClipboard,
                             QtWatchListener& watchReports) {
    m_core = &core;
    m_clock = &clock;
    m_views = new QStackedWidget(centralWidget());
    m_views->setObjectName("stkViews");
    m_lists = new MainWindowLists(core, m_app.translation(), m_app.messages(), clock, systemClipboard, m_views);
    m_views->addWidget(m_lists);
    m_calendarLogic = std::make_unique<HalvikaCalendarLogic>();
    m_calendarLogic->ScopeChanged = [this](int view) {
        m_calendarLogic->fillView(view, m_core->groups().alarmGroups, m_core->settings().ignoreCorrection);
        if (m_calendar) {
            m_calendar->viewChanged(view);
        }
    };
    auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
    // The views take the place of the stretch under the next-alarm line.
    delete layout->takeAt(layout->count() - 1);
    layout->addWidget(m_views, 1);
    QAction* help = menuBar()->actions().isEmpty() ? nullptr : menuBar()->actions().back();
    menuBar()->insertMenu(help, m_lists->groupMenu());
    menuBar()->insertMenu(help, m_lists->alarmMenu());
    QMenu* viewMenu = new QMenu(tr("&View"), this);
    viewMenu->setObjectName("mnuWindowView");
    auto* viewGroup = new QActionGroup(viewMenu);
    const char* viewTexts[3] = {"Alarm &lists", "&Calendar", "&Second calendar"};
    for (int v = 0; v < 3; ++v) {
        QAction* action = viewMenu->addAction(tr(viewTexts[v]), this, [this, v] {
            showView(static_cast<std::int16_t>(v));
            m_core->markSettingsChanged(); // the view is kept for the next start
            if (m_view > 0) {
                showCalendars();
            }
        });
        action->setObjectName(QString("mnuWindowViewB(%1)").arg(v));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + v)));
        viewGroup->addAction(action);
        m_viewActions[static_cast<std::size_t>(v)] = action;
    }
    m_viewActions[0]->setChecked(true);
    menuBar()->insertMenu(help, viewMenu);
    QMenu* general = menuBar()->findChild<QMenu*>("mnuGeneral");
    QAction* plugins = new QAction(tr("&Plug-ins..."), general);
    plugins->setObjectName("mnuGeneralPlugIns");
    connect(plugins, &QAction::triggered, this, [this] {
        frmPlugIns dialog(m_core->plugins(), m_app.translation(), this);
        dialog.exec();
    });
    QAction* before = general->findChild<QAction*>("mnuTrayExit");
    general->insertAction(before, plugins);
    general->insertMenu(before, m_lists->generalPurposeMenu());
    general->insertSeparator(before);
    m_blocked->setChecked(core.watch().blocked());
    m_autoCheck->setChecked(core.settings().autoVersionCheck);
    // The lists follow the watch: changed alarms, and alarms moving from the coming to the recent list.
    connect(&watchReports, &QtWatchListener::alarmDataChangedReported, this, &frmHalvikaMain::scheduleRefresh);
    connect(&watchReports, &QtWatchListener::seeAlarmsListChangedReported, this, &frmHalvikaMain::scheduleRefresh);
    translate();
}

void frmHalvikaMain::showFind() {
    if (!m_core) {
        return;
    }
    if (!m_find) {
        m_find = new frmFind(m_core->groups(), m_app.translation(), this);
        m_find->openEditor = [this](const Vector<Alarm>& alarms) {
            m_lists->editAlarms(alarms, AlarmEditorLogic::existingAlarms);
        };
    }
    m_find->present();
}

void frmHalvikaMain::scheduleRefresh() {
    if (m_lists && !m_refreshTimer.isActive()) {
        m_refreshTimer.start();
    }
}

void frmHalvikaMain::refreshNow() {
    m_refreshTimer.stop();
    if (!m_lists) {
        return;
    }
    m_lists->refresh();
    if (m_find) {
        m_find->dataChanged();
    }
    if (m_view > 0) {
        showCalendars();
    }
}

HalvikaCalendar& frmHalvikaMain::ensureCalendar() {
    if (!m_calendar) {
        m_calendar = new HalvikaCalendar(*m_calendarLogic, m_app.translation(), m_views);
        m_views->addWidget(m_calendar);
        connectCalendar();
        applyCalendarSettings();
        m_calendar->translate();
    }
    return *m_calendar;
}

void frmHalvikaMain::applyCalendarSettings() {
    const SettingsStore& s = m_core->settings();
    m_calendar->setDividerTwips(m_calendarLogic->horizontalDivider());
    // The "other moments" format: the date and time without the weekday of the list format.
    m_calendar->setDateFormat(s.displayFormats[3].empty() ? SettingsStore::displayFormatsFor(0, 0)[3]
                                                          : s.displayFormats[3]);
    m_calendar->setFont(m_lists->font());
}

void frmHalvikaMain::connectCalendar() {
    m_calendar->nowSeconds = [this] { return m_clock ? m_clock->now().date.serialSeconds() : std::int64_t{-1}; };
    m_calendar->toolTipOf = [this](const HCalendarEntry& entry) {
        AlarmTexts context(m_app.translation(), m_core->colours());
        context.dateFormat = m_core->settings().displayFormats[0];
        context.toolTips = m_core->settings().showToolTips;
        context.now = m_core->watch().correctedNow();
        return entry.getToolTip(m_calendar->dateFormat(), &context);
    };
    m_calendar->activated = [this](int cell, int entry) {
        const HCalendar& cal = m_calendarLogic->calendar(m_calendarLogic->currentView());
        if (entry >= 0 && cal.entry(entry).alarm) {
            Vector<Alarm> alarms;
            alarms.addElement(cal.entry(entry).alarm);
            m_lists->editAlarms(alarms, AlarmEditorLogic::existingAlarms);
        } else if (cell >= 0) {
            m_lists->newAlarmAt(HalvikaCalendarLogic::proposedMoment(
                cal.layout().cells[static_cast<std::size_t>(cell)].period, m_clock->now().date));
        }
    };
    m_calendar->exportRequested = [this] {
        m_calendarLogic->exportHtml(
            m_app.paths(), m_app.shell(), m_core->groups().fileWriter(),
            [self = QPointer<frmHalvikaMain>(this)](HalvikaCalendarLogic::HtmlExport outcome) {
                if (!self || outcome == HalvikaCalendarLogic::HtmlExport::Opened) {
                    return;
                }
                // Which of the two failed matters: a page that was written can still be opened by hand. Told
                // when the disk has answered, perhaps with nobody at the screen: no box to answer.
                const int text = outcome == HalvikaCalendarLogic::HtmlExport::NotWritten ? 40 : 41;
                self->m_app.messages().notice(self->m_app.translation().getText("HalvikaCalendar", text) + "\r\n" +
                                                  self->m_app.paths().homeFile("temp.html"),
                                              Dialogs::styleExclamation);
            });
    };
    m_calendar->keyPressed = [this](QKeyEvent& key) {
        const bool control = key.modifiers() & Qt::ControlModifier;
        const bool shift = key.modifiers() & Qt::ShiftModifier;
        switch (key.key()) {
        case Qt::Key_Delete:
            m_lists->deleteSelectedAlarms(false);
            return true;
        case Qt::Key_X:
        case Qt::Key_C:
            if (control) {
                m_lists->copySelectedAlarms(key.key() == Qt::Key_X, shift);
                return true;
            }
            return false;
        case Qt::Key_V:
            if (control) {
                m_lists->pasteAlarms(shift);
                return true;
            }
            return false;
        default:
            return false;
        }
    };
}

void frmHalvikaMain::showView(std::int16_t view) {
    m_view = view >= 0 && view <= 2 ? view : 0;
    m_viewActions[static_cast<std::size_t>(m_view)]->setChecked(true);
    if (m_view > 0) {
        ensureCalendar().setCurrentView(m_view - 1);
    }
    m_views->setCurrentIndex(m_view == 0 ? 0 : 1);
    m_lists->setShownView(m_calendarLogic.get(), m_view);
}

void frmHalvikaMain::showCalendars() {
    if (!m_core) {
        return;
    }
    const BusyCursor busy;
    HalvikaCalendar& calendar = ensureCalendar();
    for (int v = 0; v < m_calendarLogic->getNumberOfViews(); ++v) {
        m_calendarLogic->fillView(v, m_core->groups().alarmGroups, m_core->settings().ignoreCorrection);
        calendar.viewChanged(v);
    }
}

void frmHalvikaMain::applySettings() {
    if (!m_core) {
        return;
    }
    const SettingsStore& s = m_core->settings();
    m_lists->applySettings();
    m_calendarLogic->setSettings(*s.calendarSettings, m_clock->now().date);
    m_calendarLogic->setIntervalBarWidth(s.intervalBarWidth);
    if (m_calendar) {
        applyCalendarSettings();
    }
    showView(s.view);
    if (m_view > 0) {
        showCalendars();
    }
}

void frmHalvikaMain::takeSettings() {
    if (!m_core) {
        return;
    }
    m_lists->takeSettings();
    SettingsStore& s = m_core->settings();
    if (m_calendar && m_calendar->isVisible()) {
        m_calendarLogic->setHorizontalDivider(m_calendar->dividerTwips());
    }
    s.calendarSettings = m_calendarLogic->getSettings();
    s.view = m_view;
}

void frmHalvikaMain::showBlocked(bool blocked) {
    m_blocked->setChecked(blocked);
    showNextAlarm();
}

void frmHalvikaMain::translate() {
    FormTranslator::translateForm(*this, m_app.translation());
    if (m_lists) {
        m_lists->translate();
    }
    if (m_find) {
        m_find->translate();
    }
    if (m_calendarLogic) {
        // Weeks start on the same day as in the date pickers, whether or not the calendar has been shown.
        m_calendarLogic->setFirstDayOfWeek(UserLocale::firstDayOfWeek(UserLocale::of(m_app.translation())));
    }
    if (m_calendar) {
        m_calendar->translate();
    }
    emit translated();
    QString caption = QString::fromStdString(m_app.translation().getCaption("frmHalvikaMain", "Halvika"));
    if (m_app.safeMode()) {
        caption += " " + QString::fromStdString(m_app.translation().getMainText(HalvikaApp::safeModeCaptionNumber));
    }
    setWindowTitle(caption);
}

QString frmHalvikaMain::nextAlarmText() const {
    return m_nextAlarm->text();
}

void frmHalvikaMain::showNextAlarm() {
    modTranslation& t = m_app.translation();
    if (!m_app.startupFinished()) {
        m_nextAlarm->setText(QString::fromStdString(t.getMainText(textLoading)));
        return;
    }
    std::string line = t.getMainText(textNextAlarm) + " ";
    if (m_watch != nullptr && m_watch->upcomingAlarms().numberOfElements() > 0) {
        const std::string format = m_settings && !m_settings->displayFormats[2].empty() ? m_settings->displayFormats[2]
                                                                                        : "dddd d/m/yyyy h:nn:ss";
        line += formatDate(format, m_watch->nextAlarmMoment()) + " (";
        for (int i = 0; i < m_watch->upcomingAlarms().numberOfElements(); ++i) {
            line += (i > 0 ? ", " : "") + m_watch->upcomingAlarms().elementAt(i)->name;
        }
        line += ")";
    } else {
        line += t.getMainText(textNoNextAlarm);
    }
    // Blocked mode is said where the user looks, not only on the tray icon.
    if (m_watch != nullptr && m_watch->blocked()) {
        line = t.getMainText(textBlocked) + " " + line;
    }
    m_nextAlarm->setText(QString::fromStdString(line));
}

namespace {
constexpr double kTwipsPerPixel = 15.0;
}

void frmHalvikaMain::applyGeometry(const SettingsStore& s) {
    // Rounded, so that a position read back and written again stays where it was.
    setGeometry(static_cast<int>(std::lround(s.windowLeft / kTwipsPerPixel)),
                static_cast<int>(std::lround(s.windowTop / kTwipsPerPixel)),
                std::max(200, static_cast<int>(std::lround(s.windowWidth / kTwipsPerPixel))),
                std::max(120, static_cast<int>(std::lround(s.windowHeight / kTwipsPerPixel))));
    if (s.windowState == 2) {
        setWindowState(Qt::WindowMaximized);
    }
}

void frmHalvikaMain::takeGeometry(SettingsStore& s) const {
    if (windowState() == Qt::WindowNoState) {
        s.windowLeft = static_cast<float>(geometry().x() * kTwipsPerPixel);
        s.windowTop = static_cast<float>(geometry().y() * kTwipsPerPixel);
        s.windowWidth = static_cast<float>(geometry().width() * kTwipsPerPixel);
        s.windowHeight = static_cast<float>(geometry().height() * kTwipsPerPixel);
    }
    s.windowState = static_cast<std::int16_t>(isMaximized() ? 2 : (isMinimized() ? 1 : 0));
    s.windowVisible = isVisible();
}

void frmHalvikaMain::toggleWindowVisibility() {
    if (isVisible()) {
        // Only hide when the tray icon can bring the window back; otherwise it would be gone for good.
        if (m_trayAvailable) {
            hide();
        }
    } else {
        showNormal();
        raise();
        activateWindow();
    }
}

void frmHalvikaMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Only a size the user gave is worth saving: not the one the window is shown with at start-up.
    if (m_core && isVisible() && event->spontaneous()) {
        m_core->markSettingsChanged();
    }
}

void frmHalvikaMain::closeEvent(QCloseEvent* event) {
    if (m_app.exiting()) {
        event->accept();
        return;
    }
    event->ignore();
    toggleWindowVisibility();
}

} // namespace halvika
