// The alarm window: a sounding alarm's message, its snooze controls, OK and the alarm's menu.
#pragma once

#include "windows/Translatable.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace halvika {

class AlarmWindowLogic;
class SoundingWindows;
class modTranslation;

class frmAlarm : public QWidget, public Translatable {
    Q_OBJECT

public:
    /// `openEditor` opens the alarm editor for the window's alarm; the menu entry is off without one.
    frmAlarm(AlarmWindowLogic& logic, SoundingWindows& windows, modTranslation& texts,
             std::function<void(AlarmWindowLogic&)> openEditor = {});

    /// Shows the logic's state: caption, message, note and the snooze controls.
    void refresh();
    void translate() override;
    /// The window is being closed by its owner: it no longer reports its own closing.
    void detach() { m_detached = true; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ok();
    void snooze();
    void done();
    std::string editedMessage() const;

    AlarmWindowLogic& m_logic;
    SoundingWindows& m_windows;
    modTranslation& m_texts;
    std::function<void(AlarmWindowLogic&)> m_openEditor;
    bool m_detached = false;
    QLabel* m_note = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QLabel* m_snoozeFor = nullptr;
    QSpinBox* m_amount = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_addTo = nullptr;
    QPushButton* m_snooze = nullptr;
    QPushButton* m_ok = nullptr;
    QToolButton* m_menuButton = nullptr;
    QMenu* m_menu = nullptr;
};

} // namespace halvika
