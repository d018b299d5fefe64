#include "windows/frmSettings.h"

#include "alarms/Alarm.h"
#include "app/CoreSubsystems.h"
#include "base/MessageBoxRoutine.h"
#include "dates/DateUnits.h"
#include "platform/Clock.h"
#include "plugins/PluginHost.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"
#include "windows/SoundPicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace halvika {

namespace {

constexpr int filterSounds = 4;      // "Filters"
constexpr int textOwnSoundFile = 58; // "frmAlarmProperties"
constexpr int textAutostartNotWritten = 50;

constexpr const char* section = "frmSettings";
constexpr int unitCount = 7;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLabel* label(const char* name, const char* text, QWidget* buddy, QWidget* parent) {
    auto* l = named(new QLabel(text, parent), name);
    l->setBuddy(buddy);
    return l;
}

QSpinBox* spin(const char* name, int low, int high, QWidget* parent) {
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(low, high);
    return box;
}

QWidget* row(QWidget* parent, std::initializer_list<QWidget*> widgets) {
    auto* w = new QWidget(parent);
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* each : widgets) {
        layout->addWidget(each);
    }
    layout->addStretch(1);
    return w;
}

void fillUnits(QComboBox* box, modTranslation& texts) {
    const int current = box->currentIndex();
    box->clear();
    for (int p = 0; p < unitCount; ++p) {
        box->addItem(
            QString::fromStdString(texts.getStringsText(unitCodeOfListPosition(static_cast<std::int16_t>(p)) + 1)));
    }
    box->setCurrentIndex(current);
}

void fillNumbered(QComboBox* box, modTranslation& texts, const char* textSection, std::initializer_list<int> numbers) {
    const int current = box->currentIndex();
    box->clear();
    for (int n : numbers) {
        box->addItem(QString::fromStdString(texts.getText(textSection, n)));
    }
    box->setCurrentIndex(current);
}

} // namespace

frmSettings::frmSettings(CoreSubsystems& core, modTranslation& texts, MessageBoxRoutine& messages, const Clock& clock,
                         std::vector<std::string> voices, std::vector<std::string> languages,
                         std::vector<std::string> colourSchemes, QWidget* parent)
    : QDialog(parent), m_core(core), m_texts(texts), m_messages(messages), m_clock(clock), m_voices(std::move(voices)),
      m_languages(std::move(languages)), m_schemes(std::move(colourSchemes)) {
    setObjectName("frmSettings");
    setWindowTitle("Settings");
    setWindowIcon(AppIcon::icon());
    auto* layout = new QVBoxLayout(this);
    auto* tabs = named(new QTabWidget(this), "tabSettings");
    tabs->addTab(generalPage(), "General");
    tabs->addTab(alarmsPage(), "Alarms");
    tabs->addTab(windowsPage(), "Alarm windows");
    tabs->addTab(soundPage(), "Sound and speech");
    tabs->addTab(displayPage(), "Display");
    layout->addWidget(tabs);
    auto* buttons = new QDialogButtonBox(this);
    named(buttons->addButton("OK", QDialogButtonBox::AcceptRole), "cmdOk")->setDefault(true);
    named(buttons->addButton("Cancel", QDialogButtonBox::RejectRole), "cmdCancel");
    auto* applyButton = named(buttons->addButton("&Apply", QDialogButtonBox::ApplyRole), "cmdApply");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, &frmSettings::apply);
    translate();
    fill();
    resize(640, 520);
}

QWidget* frmSettings::generalPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_language = named(new QComboBox(page), "cmbLanguage");
    form->addRow(label("lblLanguage", "&Language", m_language, page), m_language);
    m_scheme = named(new QComboBox(page), "cmbColorscheme");
    form->addRow(label("lblColorscheme", "Colour &scheme", m_scheme, page), m_scheme);
    m_folder = named(new QLineEdit(page), "txtAlarmGroupLocation");
    auto* browse = named(new QPushButton("&Browse...", page), "cmdBrowseFolder");
    auto* defaultPath = named(new QPushButton("&Default", page), "cmdDefaultPath");
    auto* folderRow = new QWidget(page);
    auto* folderLayout = new QHBoxLayout(folderRow);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    folderLayout->addWidget(m_folder, 1);
    folderLayout->addWidget(browse);
    folderLayout->addWidget(defaultPath);
    form->addRow(label("lblAlarmGroupLocation", "Alarm group &folder", m_folder, page), folderRow);
    m_autoSave = named(new QCheckBox("Save alarms &automatically", page), "chkAutoSave");
    form->addRow(QString(), m_autoSave);
    m_toolTips = named(new QCheckBox("Show &tool tips in the lists", page), "chkShowToolTips");
    form->addRow(QString(), m_toolTips);
    m_autostart = named(new QCheckBox("Start with the desktop &session", page), "chkAutostart");
    m_autostart->setEnabled(false);
    form->addRow(QString(), m_autostart);
    m_safetyCheck =
        named(new QCheckBox("Chec&k at start-up whether the last run ended properly", page), "chkSafetyCheckAtStartup");
    m_safetyCheck->setEnabled(false);
    form->addRow(QString(), m_safetyCheck);
    m_font = named(new QPushButton(page), "cmdFont");
    auto* defaultFont = named(new QPushButton("Default f&ont", page), "cmdDefaultFont");
    form->addRow(label("lblFont", "List f&ont", m_font, page), row(page, {m_font, defaultFont}));
    auto* setTemplate = named(new QPushButton("&Template for new alarms...", page), "cmdSetTemplateAlarm");
    auto* resetTemplate = named(new QPushButton("&Reset template", page), "cmdResetTemplateAlarm");
    form->addRow(QString(), row(page, {setTemplate, resetTemplate}));
    auto* registerPlugins = named(new QPushButton("Re&gister plug-ins", page), "cmdRegPlugins");
    auto* unregisterPlugins = named(new QPushButton("U&nregister plug-ins", page), "cmdUnregPlugins");
    form->addRow(QString(), row(page, {registerPlugins, unregisterPlugins}));
    connect(registerPlugins, &QPushButton::clicked, this, [this] { m_core.plugins().setRegistered(true); });
    connect(unregisterPlugins, &QPushButton::clicked, this, [this] { m_core.plugins().setRegistered(false); });

    connect(browse, &QPushButton::clicked, this, [this] {
        const std::string chosen = m_messages.dialogs().chooseFolder(m_folder->text().toStdString());
        if (!chosen.empty()) {
            m_folder->setText(QString::fromStdString(chosen));
        }
    });
    connect(defaultPath, &QPushButton::clicked, this,
            [this] { m_folder->setText(QString::fromStdString(SettingsStore::appPathMark)); });
    connect(m_font, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, m_listFont, this);
        if (ok) {
            m_listFont = chosen;
            m_font->setText(QString("%1, %2").arg(m_listFont.family()).arg(m_listFont.pointSizeF()));
        }
    });
    connect(defaultFont, &QPushButton::clicked, this, [this] {
        m_listFont = parentWidget() ? parentWidget()->font() : font();
        m_font->setText(QString("%1, %2").arg(m_listFont.family()).arg(m_listFont.pointSizeF()));
    });
    connect(setTemplate, &QPushButton::clicked, this, [this] {
        if (editAlarm) {
            editAlarm(m_input.templateAlarm);
        }
    });
    connect(resetTemplate, &QPushButton::clicked, this,
            [this] { m_input.templateAlarm = Alarm::createDefaultAlarm(m_texts); });
    return page;
}

QWidget* frmSettings::alarmsPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_warning = spin("pnbWarning", 1, 10000, page);
    form->addRow(label("lblWarning", "Ask before sounding &more than", m_warning, page), m_warning);
    m_whenUnblocked = named(new QComboBox(page), "cmbWhenUnblocked");
    form->addRow(label("lblWhenUnblocked", "When alarms are &unblocked", m_whenUnblocked, page), m_whenUnblocked);
    m_timeInactive = named(new QCheckBox("After &inactivity of", page), "chkTimeInactive");
    m_inactiveMinutes = spin("pnbTimeInactive", 1, 100000, page);
    auto* minutes = named(new QLabel("minutes, sound only the alarms marked for it", page), "lblTimeInactive");
    form->addRow(m_timeInactive, row(page, {m_inactiveMinutes, minutes}));
    m_timerCorrection = spin("pnbTimerCorrection", -600000, 600000, page);
    m_timerCorrection->setSuffix(" ms");
    form->addRow(label("lblTimerCorrection", "Timer &correction", m_timerCorrection, page), m_timerCorrection);
    m_ignoreCorrection =
        named(new QCheckBox("&Calendar shows alarms without their correction", page), "chkIgnoreCorrection");
    form->addRow(QString(), m_ignoreCorrection);
    m_overlap = named(new QCheckBox("&Warn about alarms closer than", page), "chkOverlapWarning");
    m_overlapAmount = spin("pnbOverlap", 0, 100000, page);
    m_overlapUnit = named(new QComboBox(page), "cmbOverlapWarning");
    m_overlapRestriction = named(new QComboBox(page), "cmbOverlapRestriction");
    form->addRow(m_overlap, row(page, {m_overlapAmount, m_overlapUnit, m_overlapRestriction}));
    m_secondaryOn = named(new QCheckBox("&Secondary alarm for", page), "chkSecondaryAlarm");
    m_secondaryRestriction = named(new QComboBox(page), "cmbSecondaryAlarmRestriction");
    auto* secondary = named(new QPushButton("Edit...", page), "cmdSecondaryAlarm");
    form->addRow(m_secondaryOn, row(page, {m_secondaryRestriction, secondary}));
    m_attentionOn = named(new QCheckBox("A&ttention alarm for", page), "chkAttentionAlarm");
    m_attentionRestriction = named(new QComboBox(page), "cmbAttentionAlarmRestriction");
    auto* attention = named(new QPushButton("Edit...", page), "cmdAttentionAlarm");
    form->addRow(m_attentionOn, row(page, {m_attentionRestriction, attention}));
    m_wakeOn = named(new QCheckBox("W&ake the computer from sleep for", page), "chkWake");
    m_wakeRestriction = named(new QComboBox(page), "cmbWakeRestriction");
    m_wakeLead = spin("pnbWakeLead", 0, SettingsStore::maxWakeLeadSeconds, page);
    auto* lead = named(new QLabel("seconds early", page), "lblWakeLead");
    form->addRow(m_wakeOn, row(page, {m_wakeRestriction, m_wakeLead, lead}));
    m_wakeProblem = named(new QLabel(page), "lblWakeProblem");
    m_wakeProblem->setWordWrap(true);
    m_wakeProblem->hide();
    form->addRow(QString(), m_wakeProblem);
    connect(secondary, &QPushButton::clicked, this, [this] {
        if (editAlarm) {
            editAlarm(m_secondary);
        }
    });
    connect(attention, &QPushButton::clicked, this, [this] {
        if (editAlarm) {
            editAlarm(m_attention);
        }
    });
    return page;
}

QWidget* frmSettings::windowsPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_forceForeground = named(new QCheckBox("Bring alarm windows to the &front", page), "chkForceForeground");
    form->addRow(QString(), m_forceForeground);
    m_oneWindow = named(new QCheckBox("&One window per alarm", page), "chkUseOneAlarmWindow");
    form->addRow(QString(), m_oneWindow);
    m_snoozeAmount = spin("pnbSnoozeAmount", 1, 9999, page);
    m_snoozeUnit = named(new QComboBox(page), "cmbSnoozeUnit");
    m_snoozeAddTo = named(new QComboBox(page), "cmbSnoozeAddTo");
    form->addRow(label("lblSnooze", "&Snooze for", m_snoozeAmount, page),
                 row(page, {m_snoozeAmount, m_snoozeUnit, m_snoozeAddTo}));
    m_clockMinutes = spin("pnbAlarmClockMaxMinutes", 1, 1440, page);
    form->addRow(label("lblAlarmClockMaxMinutes", "The alarm clock rings at most (minutes)", m_clockMinutes, page),
                 m_clockMinutes);
    m_clockSnooze = spin("pnbAlarmClockSnoozeTime", 0, 1440, page);
    form->addRow(label("lblAlarmClockSnoozeTime", "The alarm clock snoozes for (minutes)", m_clockSnooze, page),
                 m_clockSnooze);
    return page;
}

QWidget* frmSettings::soundPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_defaultSound = named(new QLineEdit(page), "txtDefaultSound");
    auto* browse = named(new QPushButton("&Browse...", page), "cmdBrowseSound");
    auto* soundRow = new QWidget(page);
    auto* soundLayout = new QHBoxLayout(soundRow);
    soundLayout->setContentsMargins(0, 0, 0, 0);
    m_soundPicker = new SoundPicker(&m_core.paths(), page);
    soundLayout->addWidget(m_defaultSound, 1);
    soundLayout->addWidget(m_soundPicker);
    soundLayout->addWidget(browse);
    connect(m_soundPicker, &QComboBox::activated, this, [this] {
        if (!m_soundPicker->chosenPath().isEmpty()) {
            m_defaultSound->setText(m_soundPicker->chosenPath());
        }
    });
    connect(m_defaultSound, &QLineEdit::textChanged, m_soundPicker, &SoundPicker::showPath);
    form->addRow(label("lblDefaultSound", "&Default sound", m_defaultSound, page), soundRow);
    const auto slider = [page](const char* name, int low, int high) {
        auto* s = named(new QSlider(Qt::Horizontal, page), name);
        s->setRange(low, high);
        s->setMinimumWidth(220);
        return s;
    };
    m_soundVolumeOn = named(new QCheckBox("Raise the sound &volume to", page), "chkSoundVolume");
    m_soundVolume = slider("sldSoundVolume", 0, 100);
    form->addRow(m_soundVolumeOn, m_soundVolume);
    m_voice = named(new QComboBox(page), "cmbVoice");
    form->addRow(label("lblVoice", "V&oice", m_voice, page), m_voice);
    m_voiceVolumeOn = named(new QCheckBox("Voice vo&lume", page), "chkVoiceVolume");
    m_voiceVolume = slider("sldVoiceVolume", 0, 100);
    form->addRow(m_voiceVolumeOn, m_voiceVolume);
    m_voiceSpeedOn = named(new QCheckBox("Voice s&peed", page), "chkVoiceSpeed");
    m_voiceSpeed = slider("sldVoiceSpeed", -10, 10);
    form->addRow(m_voiceSpeedOn, m_voiceSpeed);
    m_assistant = named(new QCheckBox("&Personal assistant greets me when I come back", page), "chkPersonalAssistant");
    form->addRow(QString(), m_assistant);
    connect(browse, &QPushButton::clicked, this, [this] {
        const auto files =
            m_messages.dialogs().chooseFilesToOpen(m_soundPicker->browseFolder(m_defaultSound->text()).toStdString(),
                                                   m_texts.getText("Filters", filterSounds), false);
        if (!files.empty()) {
            m_defaultSound->setText(QString::fromStdString(files.front()));
        }
    });
    return page;
}

QWidget* frmSettings::displayPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    const char* names[4] = {"txtFormat(0)", "txtFormat(1)", "txtFormat(2)", "txtFormat(3)"};
    const char* labels[4] = {"lblFormat(0)", "lblFormat(1)", "lblFormat(2)", "lblFormat(3)"};
    const char* texts[4] = {"&Alarm list", "&Recent and coming alarms", "&Next alarm", "&Elsewhere"};
    for (int i = 0; i < 4; ++i) {
        m_formats[static_cast<std::size_t>(i)] = named(new QLineEdit(page), names[i]);
        form->addRow(label(labels[i], texts[i], m_formats[static_cast<std::size_t>(i)], page),
                     m_formats[static_cast<std::size_t>(i)]);
    }
    m_barWidth = spin("pnbIntervalBarWidth", 1, 100, page);
    form->addRow(label("lblIntervalBarWidth", "Calendar &bar width", m_barWidth, page), m_barWidth);
    m_autoCalendar = named(new QCheckBox("&Update the calendar automatically", page), "chkAutoUpdateCalendar");
    form->addRow(QString(), m_autoCalendar);
    m_calendarOffset = spin("pnbCalendarOffset", 0, 1000, page);
    form->addRow(label("lblCalendarOffset", "Calendar &offset", m_calendarOffset, page), m_calendarOffset);
    return page;
}

void frmSettings::showProgramSwitches() {
    m_autostart->setEnabled(autostartEnabled && setAutostart);
    m_autostart->setChecked(autostartEnabled && autostartEnabled());
    m_safetyCheck->setEnabled(safetyCheckOn && setSafetyCheck);
    m_safetyCheck->setChecked(safetyCheckOn && safetyCheckOn());
    showWakeProblem();
}

void frmSettings::fillVoices(const std::string& chosen) {
    m_voice->clear();
    // The first entry stands for "no voice chosen": the engine's first voice.
    m_voice->addItem(QString::fromStdString(m_texts.getText(section, 31)), QString());
    for (const auto& name : m_voices) {
        m_voice->addItem(QString::fromStdString(name), QString::fromStdString(name));
    }
    m_voice->setCurrentIndex(std::max(0, m_voice->findData(QString::fromStdString(chosen))));
}

void frmSettings::setVoices(std::vector<std::string> voices) {
    m_voices = std::move(voices);
    fillVoices(m_voice->currentData().toString().toStdString());
}

void frmSettings::showWakeProblem() {
    const int text = wakeProblemText ? wakeProblemText() : 0;
    m_wakeProblem->setText(text > 0 ? QString::fromStdString(m_texts.getText(section, text)) : QString());
    m_wakeProblem->setVisible(text > 0);
}

void frmSettings::translate() {
    FormTranslator::translateForm(*this, m_texts);
    auto* tabs = findChild<QTabWidget*>("tabSettings");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setTabText(i, QString::fromStdString(m_texts.getText(section, 41 + i)));
    }
    fillUnits(m_snoozeUnit, m_texts);
    fillUnits(m_overlapUnit, m_texts);
    fillNumbered(m_whenUnblocked, m_texts, section, {11, 12, 13});
    for (QComboBox* box : {m_overlapRestriction, m_secondaryRestriction, m_attentionRestriction, m_wakeRestriction}) {
        fillNumbered(box, m_texts, section, {21, 22, 23});
    }
    fillNumbered(m_snoozeAddTo, m_texts, "frmAlarm", {11, 12});
    m_soundPicker->setOwnFileText(QString::fromStdString(m_texts.getText("frmAlarmProperties", textOwnSoundFile)));
    // The shown scheme name is the language file's, the stored one the file's base name.
    const QVariant scheme = m_scheme->currentData();
    m_scheme->clear();
    for (const auto& name : m_schemes) {
        m_scheme->addItem(QString::fromStdString(m_texts.getValue(section, "csc" + name, name)),
                          QString::fromStdString(name));
    }
    m_scheme->setCurrentIndex(m_scheme->findData(scheme));
}

void frmSettings::fill() {
    const SettingsStore& s = m_core.settings();
    m_input = SettingsDialogRules::fill(s, m_texts);
    m_secondary = s.secondaryAlarm ? Alarm::createFromXML(*s.secondaryAlarm->toXML("al"), nullptr)
                                   : Alarm::createDefaultAlarm(m_texts);
    m_attention = s.attentionAlarm ? Alarm::createFromXML(*s.attentionAlarm->toXML("al"), nullptr)
                                   : Alarm::createDefaultAlarm(m_texts);
    m_language->clear();
    for (const auto& name : m_languages) {
        m_language->addItem(QString::fromStdString(name));
    }
    m_language->setCurrentText(QString::fromStdString(s.language));
    m_scheme->setCurrentIndex(m_scheme->findData(QString::fromStdString(s.colourScheme)));
    m_folder->setText(QString::fromStdString(m_input.alarmGroupLocation));
    m_autoSave->setChecked(m_input.autoSave);
    m_toolTips->setChecked(s.showToolTips);
    m_listFont = QFont(QString::fromStdString(s.listFont.name));
    m_listFont.setPointSizeF(s.listFont.size > 1 ? s.listFont.size : 9);
    m_listFont.setBold(s.listFont.bold);
    m_listFont.setItalic(s.listFont.italic);
    m_listFont.setStrikeOut(s.listFont.strikethrough);
    m_listFont.setUnderline(s.listFont.underline);
    m_font->setText(QString("%1, %2").arg(m_listFont.family()).arg(m_listFont.pointSizeF()));
    m_warning->setValue(s.warningLimit);
    m_whenUnblocked->setCurrentIndex(s.whenUnblocked);
    m_timeInactive->setChecked(m_input.timeInactive);
    m_inactiveMinutes->setValue(std::max(1, m_input.timeInactiveMinutes));
    m_timerCorrection->setValue(s.timerCorrectionMs);
    m_ignoreCorrection->setChecked(s.ignoreCorrection);
    m_overlap->setChecked(s.overlapWarning);
    m_overlapAmount->setValue(s.overlapAmount);
    m_overlapUnit->setCurrentIndex(m_input.overlapUnitPosition);
    m_overlapRestriction->setCurrentIndex(s.overlapRestriction);
    m_secondaryOn->setChecked(s.secondaryOn != 0);
    m_secondaryRestriction->setCurrentIndex(s.secondaryRestriction);
    m_attentionOn->setChecked(s.attentionOn != 0);
    m_attentionRestriction->setCurrentIndex(s.attentionRestriction);
    m_wakeOn->setChecked(s.wakeOn);
    m_wakeRestriction->setCurrentIndex(s.wakeRestriction);
    m_wakeLead->setValue(s.wakeLeadSeconds);
    m_forceForeground->setChecked(s.forceForeground);
    m_oneWindow->setChecked(s.oneAlarmWindow);
    m_snoozeAmount->setValue(s.snoozeAmount);
    m_snoozeUnit->setCurrentIndex(m_input.snoozeUnitPosition);
    m_snoozeAddTo->setCurrentIndex(s.snoozeAddTo);
    m_clockMinutes->setValue(s.alarmClockMaxMinutes);
    m_clockSnooze->setValue(s.alarmClockSnoozeMinutes);
    m_defaultSound->setText(QString::fromStdString(s.defaultSound));
    m_soundVolumeOn->setChecked(s.overrideSoundVolume);
    m_soundVolume->setValue(s.soundVolume);
    fillVoices(s.voice);
    m_voiceVolumeOn->setChecked(s.overrideVoiceVolume);
    m_voiceVolume->setValue(s.voiceVolume);
    m_voiceSpeedOn->setChecked(s.overrideVoiceSpeed);
    m_voiceSpeed->setValue(s.voiceSpeed);
    m_assistant->setChecked(s.personalAssistant);
    for (std::size_t i = 0; i < 4; ++i) {
        m_formats[i]->setText(QString::fromStdString(m_input.displayFormats[i]));
    }
    m_barWidth->setValue(s.intervalBarWidth);
    m_autoCalendar->setChecked(s.autoUpdateCalendar);
    m_calendarOffset->setValue(s.calendarOffset);
}

bool frmSettings::apply() {
    SettingsDialogRules::Input in = m_input;
    in.alarmGroupLocation = m_folder->text().toStdString();
    in.autoSave = m_autoSave->isChecked();
    for (std::size_t i = 0; i < 4; ++i) {
        in.displayFormats[i] = m_formats[i]->text().toStdString();
    }
    in.timeInactive = m_timeInactive->isChecked();
    in.timeInactiveMinutes = m_inactiveMinutes->value();
    in.snoozeUnitPosition = static_cast<std::int16_t>(m_snoozeUnit->currentIndex());
    in.overlapUnitPosition = static_cast<std::int16_t>(m_overlapUnit->currentIndex());
    SettingsStore& s = m_core.settings();
    const auto storeTheRest = [this, &s] {
        s.language = m_language->currentText().toStdString();
        s.colourScheme = m_scheme->currentData().toString().toStdString();
        s.showToolTips = m_toolTips->isChecked();
        s.listFont = {m_listFont.family().toStdString(),
                      static_cast<float>(m_listFont.pointSizeF()),
                      m_listFont.bold(),
                      m_listFont.italic(),
                      m_listFont.strikeOut(),
                      m_listFont.underline()};
        s.warningLimit = static_cast<std::int16_t>(m_warning->value());
        s.whenUnblocked = static_cast<std::int16_t>(std::max(0, m_whenUnblocked->currentIndex()));
        s.timerCorrectionMs = m_timerCorrection->value();
        s.ignoreCorrection = m_ignoreCorrection->isChecked();
        s.overlapWarning = m_overlap->isChecked();
        s.overlapAmount = m_overlapAmount->value();
        s.overlapRestriction = static_cast<std::int16_t>(std::max(0, m_overlapRestriction->currentIndex()));
        s.secondaryOn = m_secondaryOn->isChecked() ? 1 : 0;
        s.secondaryRestriction = static_cast<std::int16_t>(std::max(0, m_secondaryRestriction->currentIndex()));
        s.secondaryAlarm = m_secondary;
        s.attentionOn = m_attentionOn->isChecked() ? 1 : 0;
        s.attentionRestriction = static_cast<std::int16_t>(std::max(0, m_attentionRestriction->currentIndex()));
        s.attentionAlarm = m_attention;
        s.wakeOn = m_wakeOn->isChecked();
        s.wakeRestriction = static_cast<std::int16_t>(std::max(0, m_wakeRestriction->currentIndex()));
        s.wakeLeadSeconds = m_wakeLead->value();
        s.forceForeground = m_forceForeground->isChecked();
        s.oneAlarmWindow = m_oneWindow->isChecked();
        s.snoozeAmount = static_cast<std::int16_t>(m_snoozeAmount->value());
        s.snoozeAddTo = static_cast<std::int16_t>(std::max(0, m_snoozeAddTo->currentIndex()));
        s.alarmClockMaxMinutes = static_cast<std::int16_t>(m_clockMinutes->value());
        s.alarmClockSnoozeMinutes = static_cast<std::int16_t>(m_clockSnooze->value());
        s.defaultSound = m_defaultSound->text().toStdString();
        s.overrideSoundVolume = m_soundVolumeOn->isChecked();
        s.soundVolume = m_soundVolume->value();
        s.voice = m_voice->currentData().toString().toStdString();
        s.overrideVoiceVolume = m_voiceVolumeOn->isChecked();
        s.voiceVolume = m_voiceVolume->value();
        s.overrideVoiceSpeed = m_voiceSpeedOn->isChecked();
        s.voiceSpeed = m_voiceSpeed->value();
        s.personalAssistant = m_assistant->isChecked();
        s.intervalBarWidth = static_cast<std::int16_t>(m_barWidth->value());
        s.autoUpdateCalendar = m_autoCalendar->isChecked();
        s.calendarOffset = static_cast<std::int16_t>(m_calendarOffset->value());
        if (setAutostart && autostartEnabled && m_autostart->isChecked() != autostartEnabled() &&
            !setAutostart(m_autostart->isChecked())) {
            m_messages.msgBox(m_texts.getText("frmSettings", textAutostartNotWritten), Dialogs::styleExclamation);
        }
        if (setSafetyCheck && m_safetyCheck->isEnabled()) {
            setSafetyCheck(m_safetyCheck->isChecked());
        }
        m_core.reapplySettings();
        m_core.markSettingsChanged();
        if (applied) {
            applied();
        }
    };
    const bool stored = SettingsDialogRules::store(
        in, s, m_clock.now().date, m_core.paths().home(), m_messages, m_texts,
        [this](const std::string& folder) { m_core.groups().saveAllIntoFolder(folder); }, storeTheRest);
    if (!stored) {
        m_folder->setFocus();
    }
    return stored;
}

void frmSettings::accept() {
    if (apply()) {
        QDialog::accept();
    }
}

} // namespace halvika
