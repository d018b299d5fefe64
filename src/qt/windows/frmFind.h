// The find window: a piece of text, the alarms that contain it, and the editor for the ones chosen.
#pragma once

#include "windows/Translatable.h"

#include "editing/FindLogic.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace halvika {

class modTranslation;

class frmFind : public QWidget, public Translatable {
    Q_OBJECT

public:
    frmFind(AlarmGroupCollection& groups, modTranslation& texts, QWidget* parent = nullptr);
    void translate() override;
    /// Shows the window (centred on its parent when it was hidden) with the last search chosen.
    void present();
    /// Opens the alarm editor for the chosen results.
    std::function<void(const Vector<Alarm>&)> openEditor;
    void find();
    /// Alarms changed somewhere: deleted ones leave the results.
    void dataChanged();
    void openSelected();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showResults();
    FindLogic m_logic;
    modTranslation& m_texts;
    QLineEdit* m_text = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_within = nullptr;
    QPushButton* m_find = nullptr;
    QTreeWidget* m_results = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace halvika
