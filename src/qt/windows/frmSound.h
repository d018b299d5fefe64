// The sound window: what plays, how often, and the stop button.
#pragma once

#include "windows/Translatable.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace halvika {

class SoundWindowLogic;
class SoundingWindows;
class modTranslation;

class frmSound : public QWidget, public Translatable {
    Q_OBJECT

public:
    frmSound(SoundWindowLogic& logic, SoundingWindows& windows, modTranslation& texts, const QString& caption);

    /// Shows the file and count, and sets the timer to the logic's interval.
    void refresh();
    void translate() override;
    void detach() { m_detached = true; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void stopSound();

    SoundWindowLogic& m_logic;
    SoundingWindows& m_windows;
    modTranslation& m_texts;
    QString m_caption;
    bool m_detached = false;
    QLabel* m_file = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_stop = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace halvika
