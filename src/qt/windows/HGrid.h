// Paints a calendar's grid and lets the user pick a cell or an entry with the mouse and the keys.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

namespace halvika {

class HCalendar;
struct HCalendarEntry;

class HGrid : public QWidget {
    Q_OBJECT
public:
    explicit HGrid(HCalendar& calendar, QWidget* parent = nullptr);

    /// The visible part of the scroll area: ShownScopeLength lines fill it, the others are scrolled to.
    void setViewportSize(const QSize& size);
    /// The calendar was laid out again.
    void layoutChanged();
    /// The cell (and entry, or -1) under a point of the widget; cell -1 when none.
    std::pair<int, int> hitTest(const QPoint& point) const;
    QRect cellRect(int cell) const;
    /// The tool tip of an entry.
    std::function<std::string(const HCalendarEntry&)> toolTipOf;
    /// The moment whose cell is marked as today.
    std::function<std::int64_t()> nowSeconds;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

signals:
    void selectionChanged();
    /// Double click or Enter: on an entry (entry >= 0) or on an empty part of a cell.
    void activated(int cell, int entry);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Metrics {
        int headerWidth = 0;  ///< the left header band
        int headerHeight = 0; ///< the top header band
        double columnWidth = 0;
        double rowHeight = 0;
    };
    Metrics metrics() const;
    QRect cellRect(int cell, const Metrics& m) const;
    /// Selects the entry or cell under the point; returns what hitTest found.
    std::pair<int, int> selectAt(const QPoint& point);
    int lineHeight() const;

    HCalendar& m_calendar;
    QSize m_viewport;
};

} // namespace halvika
