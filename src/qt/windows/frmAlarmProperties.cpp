#include "windows/frmAlarmProperties.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "base/MessageBoxRoutine.h"
#include "dates/DateFormat.h"
#include "dates/DateText.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroup.h"
#include "groups/AlarmGroupCollection.h"
#include "platform/QtSoundOutput.h"
#include "plugins/PluginHost.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "sounding/WildcardPath.h"
#include "windows/AppIcon.h"
#include "windows/DateTimePopupCalendar.h"
#include "windows/FormTranslator.h"
#include "windows/PluginSettingsWindow.h"
#include "windows/SoundPicker.h"
#include "windows/frmActions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <random>
#include <vector>

namespace halvika {

namespace {

constexpr int unitCount = 7;

// Moments are wall-clock times without a zone: held as UTC in the edits, so that a moment inside a
// daylight-saving gap stays as it was stored instead of being moved by an hour.
const QDateTime neverShown(QDate(1000, 1, 1), QTime(0, 0), Qt::UTC);

QDateTime toQt(const std::string& text) {
    const auto date = DateText::parse(text);
    if (!date) {
        return {};
    }
    if (*date == Date::none()) {
        return neverShown; // shown as "no end", never as 9999-12-31
    }
    return QDateTime(QDate(date->year(), date->month(), date->day()),
                     QTime(date->hour(), date->minute(), date->second()), Qt::UTC);
}

std::string fromQt(const QDateTime& value) {
    if (value == neverShown) {
        return formatDate("yyyy/mm/dd hh:nn:ss", Date::none());
    }
    return value.toString("yyyy/MM/dd HH:mm:ss").toStdString();
}

/// The user's order of day, month and year (and separator) in the edit's own letters; seconds only when
/// wanted. A format without all three falls back to year-month-day.
QString editFormat(const std::string& userFormat, bool seconds) {
    std::vector<std::pair<std::size_t, QString>> parts{
        {userFormat.find('d'), "dd"}, {userFormat.find('m'), "MM"}, {userFormat.find('y'), "yyyy"}};
    const bool complete =
        std::all_of(parts.begin(), parts.end(), [](const auto& p) { return p.first != std::string::npos; });
    if (!complete) {
        parts = {{0, "yyyy"}, {1, "MM"}, {2, "dd"}};
    }
    std::sort(parts.begin(), parts.end());
    const QString separator = !complete                                   ? "-"
                              : userFormat.find('.') != std::string::npos ? "."
                              : userFormat.find('-') != std::string::npos ? "-"
                                                                          : "/";
    return parts[0].second + separator + parts[1].second + separator + parts[2].second +
           (seconds ? " HH:mm:ss" : " HH:mm");
}

QString text(modTranslation& texts, int number) {
    return QString::fromStdString(texts.getText(AlarmEditorLogic::section, number));
}

} // namespace

frmAlarmProperties::frmAlarmProperties(AlarmEditorLogic::Services services, PluginHost* plugins, QWidget* parent)
    : QDialog(parent), m_logic(services), m_texts(services.texts), m_messages(services.messages),
      m_paths(services.paths), m_dateFormat(services.settings.displayFormats[0]), m_plugins(plugins) {
    setObjectName("frmAlarmProperties");
    setWindowTitle("Alarm");
    setWindowIcon(AppIcon::icon());
    buildControls();
    translate();
    connectTouches();
}

void frmAlarmProperties::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName("txtAlarmName");
    auto* nameLabel = new QLabel("&Name", this);
    nameLabel->setObjectName("lblName");
    nameLabel->setBuddy(m_name);
    top->addRow(nameLabel, m_name);
    m_group = new QComboBox(this);
    m_group->setObjectName("cmbAlarmgroup");
    m_groupLabel = new QLabel("&Group", this);
    m_groupLabel->setObjectName("lblAlarmgroup");
    m_groupLabel->setBuddy(m_group);
    top->addRow(m_groupLabel, m_group);
    layout->addLayout(top);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* when = new QGroupBox("When", this);
    when->setObjectName("fraWhen");
    auto* whenGrid = new QGridLayout(when);
    m_moment = new QComboBox(when);
    m_moment->setObjectName("cmbAlarmMoment");
    whenGrid->addWidget(m_moment, 0, 0, 1, 3);
    m_onceLabel = new QLabel("&At", when);
    m_onceLabel->setObjectName("lblOnce");
    for (int i = 0; i < 3; ++i) {
        m_dates[static_cast<std::size_t>(i)] = new QDateTimeEdit(when);
        m_dates[static_cast<std::size_t>(i)]->setObjectName(QString("dtpDate%1").arg(i));
        QDateTimeEdit* edit = m_dates[static_cast<std::size_t>(i)];
        edit->setTimeSpec(Qt::UTC);
        edit->setDisplayFormat(editFormat("", true));
        edit->setCalendarPopup(true);
        new DateTimePopupCalendar(edit, m_texts);
        edit->setDateTimeRange(neverShown, QDateTime(QDate(9999, 12, 30), QTime(23, 59, 59), Qt::UTC));
        edit->installEventFilter(this);
    }
    m_onceLabel->setBuddy(m_dates[0]);
    whenGrid->addWidget(m_onceLabel, 1, 0);
    whenGrid->addWidget(m_dates[0], 1, 1, 1, 2);
    m_everyLabel = new QLabel("&every", when);
    m_everyLabel->setObjectName("lblEvery");
    m_periodAmount = new QSpinBox(when);
    m_periodAmount->setObjectName("pnbPeriodAmount");
    m_periodAmount->setRange(1, 999999);
    m_everyLabel->setBuddy(m_periodAmount);
    m_periodUnit = new QComboBox(when);
    m_periodUnit->setObjectName("cmbPeriodUnit");
    whenGrid->addWidget(m_everyLabel, 2, 0);
    whenGrid->addWidget(m_periodAmount, 2, 1);
    whenGrid->addWidget(m_periodUnit, 2, 2);
    left->addWidget(when);

    auto* only = new QGroupBox("Only", this);
    only->setObjectName("fraRestrictions");
    auto* onlyGrid = new QGridLayout(only);
    const char* restrictionNames[3] = {"chkActive(0)", "chkActive(1)", "chkActive(2)"};
    const char* restrictionTexts[3] = {"&between", "on &weekdays", "when the e&xpression holds"};
    for (int i = 0; i < 3; ++i) {
        auto*& box = m_restrictions[static_cast<std::size_t>(i)];
        box = new QCheckBox(restrictionTexts[i], only);
        box->setObjectName(restrictionNames[i]);
        onlyGrid->addWidget(box, i * 2, 0, 1, 2);
    }
    onlyGrid->addWidget(m_dates[1], 1, 0);
    onlyGrid->addWidget(m_dates[2], 1, 1);
    auto* days = new QHBoxLayout;
    for (int d = 0; d < 7; ++d) {
        auto*& box = m_weekdays[static_cast<std::size_t>(d)];
        box = new QCheckBox(only);
        box->setObjectName(QString("chkWeekday(%1)").arg(d));
        days->addWidget(box);
    }
    days->addStretch(1);
    onlyGrid->addLayout(days, 3, 0, 1, 2);
    m_advanced = new QLineEdit(only);
    m_advanced->setObjectName("txtAdvanced");
    m_advanced->setPlaceholderText("WEEKDAY==MONDAY&&DAYOFMONTH<=7");
    onlyGrid->addWidget(m_advanced, 5, 0, 1, 2);
    left->addWidget(only);

    auto* more = new QFormLayout;
    const auto amountAndUnit = [this, more](const char* labelName, const char* labelText, QSpinBox*& amount,
                                            const char* amountName, QComboBox*& unit, const char* unitName) {
        auto* row = new QHBoxLayout;
        amount = new QSpinBox(this);
        amount->setObjectName(amountName);
        amount->setRange(-999999, 999999);
        unit = new QComboBox(this);
        unit->setObjectName(unitName);
        row->addWidget(amount);
        row->addWidget(unit, 1);
        auto* label = new QLabel(labelText, this);
        label->setObjectName(labelName);
        label->setBuddy(amount);
        more->addRow(label, row);
    };
    amountAndUnit("lblCorrection", "&Correction", m_correctionAmount, "pnbCorrection", m_correctionUnit,
                  "cmbCorrectionUnit");
    amountAndUnit("lblDuration", "&Duration", m_durationAmount, "pnbDurationAmount", m_durationUnit, "cmbDurationUnit");
    m_durationAmount->setMinimum(0);
    m_importance = new QComboBox(this);
    m_importance->setObjectName("cmbImportance");
    auto* importanceLabel = new QLabel("&Importance", this);
    importanceLabel->setObjectName("lblImportance");
    importanceLabel->setBuddy(m_importance);
    more->addRow(importanceLabel, m_importance);
    m_soundAfterInactive = new QCheckBox("Sound &after inactivity", this);
    m_soundAfterInactive->setObjectName("chkSoundAfterInactive");
    more->addRow(QString(), m_soundAfterInactive);
    left->addLayout(more);
    left->addStretch(1);
    columns->addLayout(left, 1);

    auto* actionsBox = new QGroupBox("Actions", this);
    actionsBox->setObjectName("fraActions");
    auto* right = new QVBoxLayout(actionsBox);
    m_actions = new QListWidget(actionsBox);
    m_actions->setObjectName("lstActions");
    right->addWidget(m_actions, 1);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton("&Add...", actionsBox);
    add->setObjectName("cmdAddAction");
    auto* remove = new QPushButton("&Remove", actionsBox);
    remove->setObjectName("cmdRemoveAction");
    m_removeAll = new QPushButton("Remove a&ll", actionsBox);
    m_removeAll->setObjectName("cmdRemoveAllActions");
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(m_removeAll);
    buttons->addStretch(1);
    right->addLayout(buttons);

    auto* page = new QWidget(actionsBox);
    auto* pageLayout = new QGridLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    m_actionTextLabel = new QLabel(page);
    m_actionText = new QPlainTextEdit(page);
    m_actionText->setObjectName("txtActionText");
    m_actionText->setTabChangesFocus(true);
    m_actionText->setMaximumHeight(90);
    m_actionTextLabel->setBuddy(m_actionText);
    m_browse = new QPushButton("&Browse...", page);
    m_browse->setObjectName("cmdBrowse");
    pageLayout->addWidget(m_actionTextLabel, 0, 0, 1, 2);
    pageLayout->addWidget(m_actionText, 1, 0, 1, 2);
    m_testSound = new QPushButton("&Test", page);
    m_testSound->setObjectName("cmdTestSound");
    m_soundPicker = new SoundPicker(m_paths, page);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(m_soundPicker, 1);
    fileButtons->addStretch(1);
    fileButtons->addWidget(m_testSound);
    fileButtons->addWidget(m_browse);
    pageLayout->addLayout(fileButtons, 2, 0, 1, 2);
    m_actionDateLabel = new QLabel(page);
    m_actionDate = new QLineEdit(page);
    m_actionDate->setObjectName("txtActionDate");
    m_actionDate->setPlaceholderText("yyyy/mm/dd hh:nn:ss");
    m_actionDateLabel->setBuddy(m_actionDate);
    pageLayout->addWidget(m_actionDateLabel, 3, 0);
    pageLayout->addWidget(m_actionDate, 3, 1);
    m_repeatRow = new QWidget(page);
    auto* repeat = new QHBoxLayout(m_repeatRow);
    repeat->setContentsMargins(0, 0, 0, 0);
    m_repeatMode = new QComboBox(m_repeatRow);
    m_repeatMode->setObjectName("cmbRepeatMode");
    m_repeatTimes = new QSpinBox(m_repeatRow);
    m_repeatTimes->setObjectName("pnbRepeatTimes");
    m_repeatTimes->setRange(1, 9999);
    m_timed = new QCheckBox("every", m_repeatRow);
    m_timed->setObjectName("chkTimed");
    m_interval = new QSpinBox(m_repeatRow);
    m_interval->setObjectName("pnbInterval");
    m_interval->setRange(100, 3600000);
    m_interval->setSingleStep(500);
    m_interval->setSuffix(" ms");
    for (QWidget* w : std::initializer_list<QWidget*>{m_repeatMode, m_repeatTimes, m_timed, m_interval}) {
        repeat->addWidget(w);
    }
    repeat->addStretch(1);
    pageLayout->addWidget(m_repeatRow, 4, 0, 1, 2);
    m_pluginSettings = new QPushButton("&Settings...", page);
    m_pluginSettings->setObjectName("cmdPluginSettings");
    pageLayout->addWidget(m_pluginSettings, 5, 0, 1, 2, Qt::AlignLeft);
    right->addWidget(page);
    columns->addWidget(actionsBox, 1);
    layout->addLayout(columns, 1);

    auto* box = new QDialogButtonBox(this);
    auto* ok = box->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOk");
    ok->setDefault(true);
    auto* cancel = box->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &frmAlarmProperties::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(add, &QPushButton::clicked, this, &frmAlarmProperties::addAction);
    connect(remove, &QPushButton::clicked, this, &frmAlarmProperties::removeAction);
    connect(m_removeAll, &QPushButton::clicked, this, &frmAlarmProperties::removeAllActions);
    connect(m_actions, &QListWidget::currentRowChanged, this, [this] {
        storeActionPage();
        showActionPage();
    });
    connect(m_moment, &QComboBox::currentIndexChanged, this, &frmAlarmProperties::updateMomentControls);
    connect(m_browse, &QPushButton::clicked, this, [this] {
        // Sounds start in their folder with the sound filter; programs and documents with their own.
        const bool sound = m_soundPicker->isVisible();
        const QString current = m_actionText->toPlainText();
        const std::vector<std::string> files =
            m_messages.dialogs().chooseFilesToOpen(sound ? m_soundPicker->browseFolder(current).toStdString()
                                                         : QFileInfo(current).absolutePath().toStdString(),
                                                   m_texts.getText("Filters", sound ? 4 : 3), false);
        if (!files.empty()) {
            m_actionText->setPlainText(QString::fromStdString(files.front()));
        }
    });
    // The list shows what an action does as it is typed or chosen, not only after another one was picked.
    connect(m_actionText, &QPlainTextEdit::textChanged, this, [this] {
        if (m_filling || m_shownAction < 0 || m_shownAction >= m_actions->count()) {
            return;
        }
        storeActionPage();
        m_actions->item(m_shownAction)->setText(actionLine(m_shownAction));
    });
    connect(m_soundPicker, &QComboBox::activated, this, [this] {
        if (!m_soundPicker->chosenPath().isEmpty()) {
            m_actionText->setPlainText(m_soundPicker->chosenPath());
        }
    });
    connect(m_testSound, &QPushButton::clicked, this, [this] {
        // One play of the chosen file (a random one for a wildcard), as the alarm would start it.
        std::mt19937 random(std::random_device{}());
        const std::string file = WildcardPath::choose(m_actionText->toPlainText().toStdString(), random);
        QtSoundOutput output;
        if (!m_testChannel) {
            m_testChannel = output.openChannel();
        }
        m_testChannel->stop();
        // The media player tells of a file it cannot play only after it tried.
        m_testChannel->onMediaError = [this, file] {
            if (!m_testChannel->playSimple(file)) {
                QtSoundOutput().beep();
            }
        };
        if (!output.fileExists(file) || (!m_testChannel->playMedia(file) && !m_testChannel->playSimple(file))) {
            output.beep();
        }
    });
    connect(m_pluginSettings, &QPushButton::clicked, this, [this] {
        if (!m_plugins || m_shownAction < 0) {
            return;
        }
        // The action is held by the window, so the new settings land on it even when another is shown by then.
        auto action = m_logic.actions.elementAt(m_shownAction);
        auto* window =
            new PluginSettingsWindow(m_pluginSettings, [action](XMLNodePtr edited) { action->settings = edited; });
        window->open(*m_plugins, action->plugin, *action->settings, "sett");
    });
    resize(860, 600);
}

frmAlarmProperties::~frmAlarmProperties() = default;

bool frmAlarmProperties::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QDateTimeEdit*>(watched)) {
            // After the edit has placed its cursor: the whole section under it is chosen.
            QTimer::singleShot(0, edit, [edit] { edit->setSelectedSection(edit->currentSection()); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAlarmProperties::translate() {
    FormTranslator::translateForm(*this, m_texts);
    m_soundPicker->setOwnFileText(text(m_texts, 58));
    for (QDateTimeEdit* edit : m_dates) {
        edit->setSpecialValueText(text(m_texts, 59)); // the "never" date
    }
    const auto refill = [](QComboBox* box, const QStringList& items) {
        const int current = box->currentIndex();
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(current);
    };
    QStringList units;
    for (int p = 0; p < unitCount; ++p) {
        units << QString::fromStdString(
            m_texts.getStringsText(unitCodeOfListPosition(static_cast<std::int16_t>(p)) + 1));
    }
    refill(m_periodUnit, units);
    refill(m_correctionUnit, units);
    QStringList codes; // the duration list is in unit-code order
    for (int code = 0; code < unitCount; ++code) {
        codes << QString::fromStdString(m_texts.getStringsText(code + 1));
    }
    refill(m_durationUnit, codes);
    refill(m_moment, {text(m_texts, 21), text(m_texts, 22)});
    refill(m_importance, {text(m_texts, 31), text(m_texts, 32), text(m_texts, 33)});
    refill(m_repeatMode, {text(m_texts, 41), text(m_texts, 42), text(m_texts, 43)});
    for (int d = 0; d < 7; ++d) {
        m_weekdays[static_cast<std::size_t>(d)]->setText(QString::fromStdString(m_texts.getStringsText(31 + d)));
        m_weekdays[static_cast<std::size_t>(d)]->setToolTip(QString::fromStdString(m_texts.getStringsText(11 + d)));
    }
    refreshActionList();
    showActionPage();
}

void frmAlarmProperties::setAlarms(const Vector<Alarm>& alarms, AlarmEditorLogic::Mode mode) {
    m_logic.setAlarms(alarms, mode);
    fillFromLogic();
    if (mode == AlarmEditorLogic::newAlarm) {
        // A new alarm's proposed name is chosen, so that typing replaces it.
        m_name->setFocus();
        m_name->selectAll();
    }
}

void frmAlarmProperties::fillFromLogic() {
    m_filling = true;
    const AlarmForm& f = m_logic.form;
    m_name->setText(QString::fromStdString(f.name));
    m_group->clear();
    const Vector<AlarmGroup>& groups = m_logic.groups().alarmGroups;
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        if (!groups.elementAt(i)->hidden) {
            m_group->addItem(QString::fromStdString(groups.elementAt(i)->name), i);
            if (groups.elementAt(i) == f.group) {
                m_group->setCurrentIndex(m_group->count() - 1);
            }
        }
    }
    if (!f.group) {
        m_group->setCurrentIndex(-1);
    }
    m_group->setVisible(m_logic.groupChoiceVisible());
    m_groupLabel->setVisible(m_logic.groupChoiceVisible());
    m_moment->setCurrentIndex(f.momentIndex);
    m_periodAmount->setValue(f.periodAmount);
    m_periodUnit->setCurrentIndex(f.periodUnitPosition);
    std::array<QDateTime, 3> values;
    bool seconds = false;
    for (std::size_t i = 0; i < 3; ++i) {
        values[i] = toQt(f.dateTexts[i]);
        seconds = seconds || (values[i].isValid() && values[i].time().second() != 0);
    }
    for (int i = 0; i < 3; ++i) {
        const QDateTime& value = values[static_cast<std::size_t>(i)];
        const QDateTime now = QDateTime::currentDateTime();
        QDateTimeEdit* edit = m_dates[static_cast<std::size_t>(i)];
        edit->setDisplayFormat(editFormat(m_dateFormat, seconds));
        edit->setDateTime(
            value.isValid() ? value : QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()), Qt::UTC));
        m_restrictions[static_cast<std::size_t>(i)]->setChecked(f.restrictions[static_cast<std::size_t>(i)]);
    }
    for (int d = 0; d < 7; ++d) {
        m_weekdays[static_cast<std::size_t>(d)]->setChecked(f.weekdays[static_cast<std::size_t>(d)]);
    }
    m_advanced->setText(QString::fromStdString(f.advanced));
    m_correctionAmount->setValue(f.correctionAmount);
    m_correctionUnit->setCurrentIndex(f.correctionUnitPosition);
    m_durationAmount->setValue(f.durationAmount);
    m_durationUnit->setCurrentIndex(f.durationUnitIndex);
    m_importance->setCurrentIndex(f.importanceIndex);
    m_soundAfterInactive->setChecked(f.soundAfterInactive);
    m_removeAll->setVisible(m_logic.removeAllActionsVisible());
    m_shownAction = -1;
    refreshActionList();
    if (m_actions->count() > 0) {
        m_actions->setCurrentRow(0);
    }
    showActionPage();
    updateMomentControls();
    m_filling = false;
}

void frmAlarmProperties::readIntoLogic() {
    storeActionPage();
    AlarmForm& f = m_logic.form;
    f.name = m_name->text().toStdString();
    const int groupIndex = m_group->currentData().isValid() ? m_group->currentData().toInt() : -1;
    const Vector<AlarmGroup>& groups = m_logic.groups().alarmGroups;
    f.group = groupIndex >= 0 && groupIndex < groups.numberOfElements() ? groups.elementAt(groupIndex) : nullptr;
    f.momentIndex = static_cast<std::int16_t>(std::max(0, m_moment->currentIndex()));
    f.periodAmount = m_periodAmount->value();
    f.periodUnitPosition = static_cast<std::int16_t>(m_periodUnit->currentIndex());
    for (int i = 0; i < 3; ++i) {
        f.dateTexts[static_cast<std::size_t>(i)] = fromQt(m_dates[static_cast<std::size_t>(i)]->dateTime());
        f.restrictions[static_cast<std::size_t>(i)] = m_restrictions[static_cast<std::size_t>(i)]->isChecked();
    }
    for (int d = 0; d < 7; ++d) {
        f.weekdays[static_cast<std::size_t>(d)] = m_weekdays[static_cast<std::size_t>(d)]->isChecked();
    }
    f.advanced = m_advanced->text().toStdString();
    f.correctionAmount = m_correctionAmount->value();
    f.correctionUnitPosition = static_cast<std::int16_t>(m_correctionUnit->currentIndex());
    f.durationAmount = m_durationAmount->value();
    f.durationUnitIndex = static_cast<std::int16_t>(m_durationUnit->currentIndex());
    f.importanceIndex = static_cast<std::int16_t>(m_importance->currentIndex());
    f.soundAfterInactive = m_soundAfterInactive->isChecked();
}

void frmAlarmProperties::connectTouches() {
    // Only the user's changes count: filling the form sets m_filling.
    const auto touch = [this](std::int32_t bits) {
        return [this, bits] {
            if (!m_filling) {
                m_logic.touch(bits);
            }
        };
    };
    using L = AlarmEditorLogic;
    connect(m_name, &QLineEdit::textEdited, this, touch(L::touchName));
    connect(m_moment, &QComboBox::currentIndexChanged, this, touch(L::touchMoment));
    connect(m_periodAmount, &QSpinBox::valueChanged, this, touch(L::touchPeriodAmount));
    connect(m_periodUnit, &QComboBox::currentIndexChanged, this, touch(L::touchPeriodUnit));
    const std::int32_t dateBits[3] = {L::touchOnceDate, L::touchStartDate, L::touchEndDate};
    for (int i = 0; i < 3; ++i) {
        connect(m_dates[static_cast<std::size_t>(i)], &QDateTimeEdit::dateTimeChanged, this, touch(dateBits[i]));
        connect(m_restrictions[static_cast<std::size_t>(i)], &QCheckBox::toggled, this, touch(L::touchWindow << i));
    }
    for (QCheckBox* day : m_weekdays) {
        connect(day, &QCheckBox::toggled, this, touch(L::touchWeekdays));
    }
    connect(m_advanced, &QLineEdit::textEdited, this, touch(L::touchAdvanced));
    connect(m_correctionAmount, &QSpinBox::valueChanged, this, touch(L::touchCorrectionAmount));
    connect(m_correctionUnit, &QComboBox::currentIndexChanged, this, touch(L::touchCorrectionUnit));
    connect(m_soundAfterInactive, &QCheckBox::toggled, this, touch(L::touchSoundAfterInactive));
    connect(m_importance, &QComboBox::currentIndexChanged, this, touch(L::touchImportance));
    connect(m_durationAmount, &QSpinBox::valueChanged, this, touch(L::touchDurationAmount));
    connect(m_durationUnit, &QComboBox::currentIndexChanged, this, touch(L::touchDurationUnit));
}

void frmAlarmProperties::updateMomentControls() {
    const bool periodic = m_moment->currentIndex() == 1;
    m_everyLabel->setEnabled(periodic);
    m_periodAmount->setEnabled(periodic);
    m_periodUnit->setEnabled(periodic);
    m_onceLabel->setText(text(m_texts, periodic ? 24 : 23));
}

QString frmAlarmProperties::actionLine(int index) {
    const auto& action = *m_logic.actions.elementAt(index);
    QString line = QString::fromStdString(action.getDescription(m_texts));
    const std::string detail = action.text();
    if (!detail.empty()) {
        line += ": " + QString::fromStdString(detail).simplified();
    }
    return line;
}

void frmAlarmProperties::refreshActionList() {
    if (!m_actions) {
        return;
    }
    const int row = m_actions->currentRow();
    const QSignalBlocker blocker(m_actions);
    m_actions->clear();
    for (int i = 0; i < m_logic.actions.numberOfElements(); ++i) {
        m_actions->addItem(actionLine(i));
    }
    m_actions->setCurrentRow(std::min(row, m_actions->count() - 1));
}

void frmAlarmProperties::showActionPage() {
    if (!m_actions) {
        return;
    }
    m_shownAction = m_actions->currentRow();
    const clsAction* action = m_shownAction >= 0 && m_shownAction < m_logic.actions.numberOfElements()
                                  ? m_logic.actions.elementAt(m_shownAction).get()
                                  : nullptr;
    const ActionKind kind = action ? action->kind() : ActionKind{};
    // Which settings each kind has: a text, command, file or template, a moment, repetition, the plug-in's own
    // settings; the system kinds have none.
    const bool hasText = actionHasText(kind);
    const int label = actionIsSound(kind) ? 52 : actionIsSpecialCommand(kind) ? 53 : actionTellsTime(kind) ? 54 : 51;
    m_actionTextLabel->setText(action ? (hasText ? text(m_texts, label) : text(m_texts, 56)) : QString());
    m_actionText->setVisible(hasText);
    m_browse->setVisible(kind == ActionKind::SpecialCommand2 || kind == ActionKind::SpecialCommand3 ||
                         actionIsSound(kind));
    m_testSound->setVisible(actionIsSound(kind));
    m_soundPicker->setVisible(actionIsSound(kind));
    m_actionDate->setVisible(actionHasReferenceMoment(kind));
    m_actionDateLabel->setVisible(actionHasReferenceMoment(kind));
    m_actionDateLabel->setText(text(m_texts, 55));
    m_repeatRow->setVisible(kind == ActionKind::SoundRepeated);
    // Only a plug-in that named a settings control has settings to edit.
    m_pluginSettings->setVisible(kind == ActionKind::Plugin && m_plugins && action &&
                                 m_plugins->hasSettingsControl(action->plugin));
    if (!action) {
        return;
    }
    m_actionText->setPlainText(QString::fromStdString(action->text()));
    m_soundPicker->showPath(m_actionText->toPlainText());
    m_actionDate->setText(QString::fromStdString(action->referenceMoment()));
    m_repeatMode->setCurrentIndex(std::clamp<int>(action->repeatMode(), 0, 2));
    m_repeatTimes->setValue(std::max<int>(1, action->repeatTimes()));
    m_timed->setChecked(action->timed());
    m_interval->setValue(action->intervalMs());
}

void frmAlarmProperties::storeActionPage() {
    if (m_shownAction < 0 || m_shownAction >= m_logic.actions.numberOfElements()) {
        return;
    }
    clsAction& action = *m_logic.actions.elementAt(m_shownAction);
    if (actionHasText(action.kind())) {
        action.setText(m_actionText->toPlainText().toStdString());
    }
    if (actionHasReferenceMoment(action.kind())) {
        action.setReferenceMoment(m_actionDate->text().toStdString());
    }
    if (action.isKind(ActionKind::SoundRepeated)) {
        action.setRepeatMode(static_cast<std::int16_t>(m_repeatMode->currentIndex()));
        action.setRepeatTimes(static_cast<std::int16_t>(m_repeatTimes->value()));
        action.setTimed(m_timed->isChecked());
        action.setIntervalMs(m_interval->value());
    }
}

void frmAlarmProperties::addAction() {
    storeActionPage();
    frmActions picker(m_texts, m_plugins, this);
    if (picker.exec() != QDialog::Accepted) {
        return;
    }
    const Alarm* owner = m_logic.alarms().numberOfElements() == 1 ? m_logic.alarms().elementAt(0).get() : nullptr;
    if (auto action = picker.chosenAction(const_cast<Alarm*>(owner))) {
        m_logic.actions.addElement(action);
        m_shownAction = -1;
        refreshActionList();
        m_actions->setCurrentRow(m_actions->count() - 1);
        showActionPage();
    }
}

void frmAlarmProperties::removeAction() {
    const int row = m_actions->currentRow();
    if (row < 0 || row >= m_logic.actions.numberOfElements()) {
        return;
    }
    m_shownAction = -1;
    m_logic.actions.removeElementAt(row);
    refreshActionList();
    showActionPage();
}

void frmAlarmProperties::removeAllActions() {
    m_shownAction = -1;
    m_logic.removeAllActions();
    refreshActionList();
    showActionPage();
}

bool frmAlarmProperties::applyOk() {
    readIntoLogic();
    if (m_logic.ok() == AlarmEditorLogic::Outcome::Stay) {
        if (m_logic.invalidDateEntry() >= 0) {
            m_dates[static_cast<std::size_t>(m_logic.invalidDateEntry())]->setFocus();
        } else if (m_logic.expressionInvalid()) {
            m_advanced->setFocus();
        }
        // The checks may have changed the form (a weekday restriction without weekdays).
        m_restrictions[1]->setChecked(m_logic.form.restrictions[1]);
        return false;
    }
    QDialog::accept();
    return true;
}

} // namespace halvika
