#include "windows/frmAlarm.h"

#include "alarms/Alarm.h"
#include "dates/DateUnits.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmWindowLogic.h"
#include "sounding/SoundingWindows.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace halvika {

namespace {
constexpr int unitCount = 7;
}

frmAlarm::frmAlarm(AlarmWindowLogic& logic, SoundingWindows& windows, modTranslation& texts,
                   std::function<void(AlarmWindowLogic&)> openEditor)
    : QWidget(nullptr, Qt::Window), m_logic(logic), m_windows(windows), m_texts(texts),
      m_openEditor(std::move(openEditor)) {
    setObjectName("frmAlarm");
    setWindowTitle("Alarm");
    setWindowIcon(AppIcon::icon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    QFont noteFont = m_note->font();
    noteFont.setItalic(true);
    m_note->setFont(noteFont);
    layout->addWidget(m_note);

    m_message = new QPlainTextEdit(this);
    m_message->setObjectName("txtAlarmMessage");
    QFont messageFont = m_message->font();
    messageFont.setPointSizeF(messageFont.pointSizeF() * 1.4);
    m_message->setFont(messageFont);
    m_message->viewport()->installEventFilter(this);
    layout->addWidget(m_message, 1);

    auto* row = new QHBoxLayout;
    m_snoozeFor = new QLabel("Snooze for", this);
    m_snoozeFor->setObjectName("lblSnoozeFor");
    m_amount = new QSpinBox(this);
    m_amount->setObjectName("pnbSnoozeAmount");
    m_amount->setRange(1, 9999);
    m_unit = new QComboBox(this);
    m_unit->setObjectName("cmbSnoozeUnit");
    m_addTo = new QComboBox(this);
    m_addTo->setObjectName("cmbSnoozeAddTo");
    m_snooze = new QPushButton("&Snooze", this);
    m_snooze->setObjectName("cmdSnooze");
    m_snoozeFor->setBuddy(m_amount);
    for (QWidget* w : std::initializer_list<QWidget*>{m_snoozeFor, m_amount, m_unit, m_addTo, m_snooze}) {
        row->addWidget(w);
    }
    row->addStretch(1);

    m_menu = new QMenu(this);
    m_menu->setObjectName("mnuAlarm");
    const auto entry = [this](const char* name, const QString& text, auto slot) {
        QAction* action = m_menu->addAction(text, this, slot);
        action->setObjectName(name);
        return action;
    };
    entry("mnuTurnOn", "Turn &on", [this] { m_logic.turnOn(); });
    entry("mnuTurnOff", "Turn o&ff", [this] { m_logic.turnOff(); });
    entry("mnuStopSnoozing", "S&top snoozing", [this] { m_logic.stopSnoozing(); });
    m_menu->addSeparator();
    entry("mnuDelete", "&Delete this alarm", [this] {
        if (m_logic.deleteAlarm(false)) {
            done();
        }
    });
    entry("mnuDeleteNotSounding", "Delete it if it will &not sound again", [this] {
        if (m_logic.deleteAlarm(true)) {
            done();
        }
    });
    m_menu->addSeparator();
    entry("mnuProperties", "&Properties...", [this] {
        if (m_openEditor) {
            m_openEditor(m_logic);
        }
    });
    m_menuButton = new QToolButton(this);
    m_menuButton->setObjectName("cmdMenu");
    m_menuButton->setText("&More");
    m_menuButton->setMenu(m_menu);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    row->addWidget(m_menuButton);

    m_ok = new QPushButton("OK", this);
    m_ok->setObjectName("cmdOk");
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(90);
    row->addWidget(m_ok);
    layout->addLayout(row);

    connect(m_ok, &QPushButton::clicked, this, &frmAlarm::ok);
    connect(m_snooze, &QPushButton::clicked, this, &frmAlarm::snooze);

    translate();
    resize(std::max(360, m_logic.widthPixels()), std::max(160, m_logic.heightPixels()));
    refresh();
    m_message->setFocus();
    m_ok->setFocus();
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void frmAlarm::translate() {
    FormTranslator::translateForm(*this, m_texts);
    const int unit = m_unit->currentIndex();
    m_unit->clear();
    for (int position = 0; position < unitCount; ++position) {
        m_unit->addItem(QString::fromStdString(
            m_texts.getStringsText(unitCodeOfListPosition(static_cast<std::int16_t>(position)) + 1)));
    }
    m_unit->setCurrentIndex(unit);
    const int addTo = m_addTo->currentIndex();
    m_addTo->clear();
    m_addTo->addItem(QString::fromStdString(m_texts.getText(AlarmWindowLogic::section, 11)));
    m_addTo->addItem(QString::fromStdString(m_texts.getText(AlarmWindowLogic::section, 12)));
    m_addTo->setCurrentIndex(addTo);
}

void frmAlarm::refresh() {
    setWindowTitle(QString::fromStdString(m_logic.caption()));
    if (m_message->toPlainText().toStdString() != m_logic.message()) {
        m_message->setPlainText(QString::fromStdString(m_logic.message()));
    }
    m_message->setReadOnly(m_logic.replacementMode());
    m_note->setText(QString::fromStdString(m_logic.snoozeNote()));
    m_note->setVisible(!m_logic.snoozeNote().empty());
    for (QWidget* w : std::initializer_list<QWidget*>{m_snoozeFor, m_amount, m_unit, m_addTo, m_snooze}) {
        w->setVisible(m_logic.snoozeVisible());
        w->setEnabled(m_logic.snoozeEnabled());
    }
    m_amount->setValue(m_logic.snoozeAmount());
    m_unit->setCurrentIndex(std::clamp<int>(m_logic.snoozeUnitPosition(), 0, unitCount - 1));
    m_addTo->setCurrentIndex(m_logic.snoozeAddTo() == 1 ? 1 : 0);
    for (QAction* action : m_menu->actions()) {
        action->setEnabled(m_logic.menuEnabled() && (action->objectName() != "mnuProperties" || m_openEditor));
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, m_logic.topmost());
    // Shown on top, but the keyboard stays where the user is typing: a Return meant for another window must
    // never dismiss an alarm unseen. A click gives it the keys.
    show();
    raise();
}

std::string frmAlarm::editedMessage() const {
    return m_message->toPlainText().toStdString();
}

void frmAlarm::ok() {
    if (m_logic.ok(editedMessage(), width(), height())) {
        done();
    }
}

void frmAlarm::snooze() {
    if (m_logic.snooze(m_amount->value(), static_cast<std::int16_t>(m_unit->currentIndex()),
                       static_cast<std::int16_t>(m_addTo->currentIndex()), editedMessage(), width(), height())) {
        done();
    }
}

void frmAlarm::done() {
    m_detached = true;
    hide();
    m_windows.alarmWindowDone(m_logic);
}

void frmAlarm::closeEvent(QCloseEvent* event) {
    if (!m_detached) {
        m_detached = true;
        m_windows.alarmWindowClosing(m_logic, editedMessage(), width(), height());
    }
    event->accept();
}

void frmAlarm::changeEvent(QEvent* event) {
    // "Force to the foreground": back on top whenever another window takes the focus.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && m_logic.topmost() && isVisible()) {
        raise();
    }
    QWidget::changeEvent(event);
}

bool frmAlarm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_message->viewport() && event->type() == QEvent::MouseButtonPress) {
        m_logic.messageClicked();
    }
    return QWidget::eventFilter(watched, event);
}

void frmAlarm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        ok();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_message->hasFocus()) {
        ok();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace halvika
