// The alarm calendar: a toolbar, the grid of the view shown, the selected date, and beneath a list of the
// selected period's alarms. Decisions are HalvikaCalendarLogic's; this shows them and passes commands on.
#pragma once

#include "windows/Translatable.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QComboBox;
class QKeyEvent;
class QLabel;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QToolButton;
class QTreeWidget;

namespace halvika {

class HGrid;
class HalvikaCalendarLogic;
class modTranslation;
struct HCalendarEntry;

class HalvikaCalendar : public QWidget, public Translatable {
    Q_OBJECT
public:
    HalvikaCalendar(HalvikaCalendarLogic& logic, modTranslation& texts, QWidget* parent = nullptr);

    /// Shows view 0 or 1; the toolbar works on it.
    void setCurrentView(int view);
    /// The view was filled or changed: repaint it, and the label and list when it is the one shown.
    void viewChanged(int view);
    void translate() override;
    /// The format of the selected-date label and the list's moments.
    void setDateFormat(const std::string& format) { m_dateFormat = format; }
    const std::string& dateFormat() const { return m_dateFormat; }
    /// The divider between the grid and the list, in twips.
    float dividerTwips() const;
    void setDividerTwips(float twips);
    HGrid* grid(int view) const { return m_grids[static_cast<std::size_t>(view == 0 ? 0 : 1)]; }

    std::function<std::string(const HCalendarEntry&)> toolTipOf;
    std::function<std::int64_t()> nowSeconds;
    /// A double click or Enter on an entry (entry >= 0) or an empty part of a cell.
    std::function<void(int cell, int entry)> activated;
    /// The export button.
    std::function<void()> exportRequested;
    /// Keys the calendar leaves to its host (the clipboard, Delete); true when taken.
    std::function<bool(QKeyEvent&)> keyPressed;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* button(const char* name, int key);
    void pickFirstDate();
    void showSelection();

    HalvikaCalendarLogic& m_logic;
    modTranslation& m_texts;
    std::string m_dateFormat = "yyyy-mm-dd hh:nn";
    std::array<HGrid*, 2> m_grids{};
    std::array<QScrollArea*, 2> m_scrolls{};
    QStackedWidget* m_stack = nullptr;
    QSplitter* m_splitter = nullptr;
    QComboBox* m_importance = nullptr;
    QComboBox* m_scopeUnit = nullptr;
    bool m_dividerPlaced = false;
    QLabel* m_selectedDate = nullptr;
    QTreeWidget* m_list = nullptr;
    std::array<QToolButton*, 13> m_buttons{};
    std::array<QLabel*, 3> m_groupLabels{};
};

} // namespace halvika
