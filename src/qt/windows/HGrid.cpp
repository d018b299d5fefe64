// The calendar grid's painting and its mouse and keys.
#include "windows/HGrid.h"

#include "calendar/HCalendar.h"
#include "windows/PaletteColours.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace halvika {

namespace {

constexpr int minimumColumnWidth = 60;
constexpr int padding = 3;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

HGrid::HGrid(HCalendar& calendar, QWidget* parent) : QWidget(parent), m_calendar(calendar) {
    setObjectName("HGrid");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void HGrid::setViewportSize(const QSize& size) {
    m_viewport = size;
    updateGeometry();
    update();
}

void HGrid::layoutChanged() {
    updateGeometry();
    update();
}

int HGrid::lineHeight() const {
    return fontMetrics().height();
}

HGrid::Metrics HGrid::metrics() const {
    const auto& l = m_calendar.layout();
    const QFontMetrics fm = fontMetrics();
    Metrics m;
    m.headerHeight = fm.height() + 2 * padding;
    // The left band holds the line headers when lines run across, the secondary headers otherwise.
    int widest = 0;
    if (l.linesAcross) {
        for (const auto& h : l.lineHeaders) {
            widest = std::max(widest, fm.horizontalAdvance(qt(h.text)));
        }
    } else {
        for (const auto& t : l.secondaryHeaders) {
            widest = std::max(widest, fm.horizontalAdvance(qt(t)));
        }
    }
    m.headerWidth = widest + 4 * padding;
    // ShownScopeLength lines fill the visible part; the rest lies beyond and is scrolled to.
    int shownPlaces = 0;
    const int shownLines = std::min<int>(m_calendar.ShownScopeLength(), static_cast<int>(l.lineHeaders.size()));
    for (int i = 0; i < shownLines; ++i) {
        shownPlaces += l.lineHeaders[static_cast<std::size_t>(i)].count;
    }
    shownPlaces = std::max(shownPlaces, 1);
    const int minimumRow = 2 * lineHeight() + 2 * padding;
    const int width = std::max(m_viewport.width(), 1) - m.headerWidth;
    const int height = std::max(m_viewport.height(), 1) - m.headerHeight;
    if (l.linesAcross) {
        m.columnWidth = std::max<double>(minimumColumnWidth, static_cast<double>(width) / std::max(l.columns, 1));
        m.rowHeight = std::max<double>(minimumRow, static_cast<double>(height) / shownPlaces);
    } else {
        m.columnWidth = std::max<double>(minimumColumnWidth, static_cast<double>(width) / shownPlaces);
        m.rowHeight = std::max<double>(minimumRow, static_cast<double>(height) / std::max(l.rows, 1));
    }
    return m;
}

QSize HGrid::minimumSizeHint() const {
    const auto& l = m_calendar.layout();
    const Metrics m = metrics();
    return {m.headerWidth + static_cast<int>(std::ceil(m.columnWidth * l.columns)),
            m.headerHeight + static_cast<int>(std::ceil(m.rowHeight * l.rows))};
}

QRect HGrid::cellRect(int cell) const {
    return cellRect(cell, metrics());
}

QRect HGrid::cellRect(int cell, const Metrics& m) const {
    const auto& l = m_calendar.layout();
    if (cell < 0 || cell >= static_cast<int>(l.cells.size())) {
        return {};
    }
    const auto& c = l.cells[static_cast<std::size_t>(cell)];
    const int x0 = m.headerWidth + static_cast<int>(std::lround(c.column * m.columnWidth));
    const int x1 = m.headerWidth + static_cast<int>(std::lround((c.column + 1) * m.columnWidth));
    const int y0 = m.headerHeight + static_cast<int>(std::lround(c.row * m.rowHeight));
    const int y1 = m.headerHeight + static_cast<int>(std::lround((c.row + 1) * m.rowHeight));
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

std::pair<int, int> HGrid::hitTest(const QPoint& point) const {
    const auto& l = m_calendar.layout();
    const Metrics m = metrics();
    if (point.x() < m.headerWidth || point.y() < m.headerHeight) {
        return {-1, -1};
    }
    const int column = static_cast<int>((point.x() - m.headerWidth) / m.columnWidth);
    const int row = static_cast<int>((point.y() - m.headerHeight) / m.rowHeight);
    const int cell = l.cellAt(row, column);
    if (cell < 0) {
        return {-1, -1};
    }
    const QRect r = cellRect(cell, m);
    // Entries begin below the cell header line, when cells have headers.
    const int first = r.top() + padding + (m_calendar.CellHeaderFormat.empty() ? 0 : lineHeight());
    const int index = (point.y() - first) / lineHeight();
    const auto& entries = l.cells[static_cast<std::size_t>(cell)].entries;
    if (point.y() >= first && index < static_cast<int>(entries.size())) {
        return {cell, entries[static_cast<std::size_t>(index)]};
    }
    return {cell, -1};
}

void HGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const auto& l = m_calendar.layout();
    const Metrics m = metrics();
    const QPalette& pal = palette();
    const QFontMetrics fm = fontMetrics();
    const int lh = lineHeight();
    QFont bold = font();
    bold.setBold(true);

    // Header bands.
    p.fillRect(QRect(0, 0, width(), m.headerHeight), pal.color(QPalette::Button));
    p.fillRect(QRect(0, 0, m.headerWidth, height()), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::ButtonText));
    p.setFont(bold);
    for (const auto& h : l.lineHeaders) {
        QRect r;
        if (l.linesAcross) {
            r = QRect(0, m.headerHeight + static_cast<int>(h.first * m.rowHeight), m.headerWidth,
                      static_cast<int>(h.count * m.rowHeight));
        } else {
            r = QRect(m.headerWidth + static_cast<int>(h.first * m.columnWidth), 0,
                      static_cast<int>(h.count * m.columnWidth), m.headerHeight);
        }
        p.drawText(r.adjusted(padding, padding, -padding, -padding), Qt::AlignLeft | Qt::AlignTop, qt(h.text));
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(l.linesAcross ? r.topLeft() : r.topLeft(), l.linesAcross ? r.topRight() : r.bottomLeft());
        p.setPen(pal.color(QPalette::ButtonText));
    }
    p.setFont(font());
    for (std::size_t i = 0; i < l.secondaryHeaders.size(); ++i) {
        const int k = static_cast<int>(i);
        const QRect r = l.linesAcross ? QRect(m.headerWidth + static_cast<int>(k * m.columnWidth), 0,
                                              static_cast<int>(m.columnWidth), m.headerHeight)
                                      : QRect(0, m.headerHeight + static_cast<int>(k * m.rowHeight), m.headerWidth,
                                              static_cast<int>(m.rowHeight));
        const QString text = fm.elidedText(qt(l.secondaryHeaders[i]), Qt::ElideRight, r.width() - 2 * padding);
        p.drawText(r.adjusted(padding, 0, -padding, 0),
                   (l.linesAcross ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, text);
    }

    const std::int64_t now = nowSeconds ? nowSeconds() : -1;
    const int selected = m_calendar.selectedCell();
    const HCalendarEntry* selectedEntry = m_calendar.getSelectedEntry();
    for (std::size_t i = 0; i < l.cells.size(); ++i) {
        const auto& cell = l.cells[i];
        const QRect r = cellRect(static_cast<int>(i), m);
        QColor background = cell.inScope ? pal.color(QPalette::Base) : pal.color(QPalette::AlternateBase);
        const bool today = now >= cell.period.start.serialSeconds() && now <= cell.period.end.serialSeconds();
        if (today) {
            background = QColor::fromRgbF(1.0, 0.97, 0.8);
        }
        p.fillRect(r, background);
        p.setPen(pal.color(QPalette::Midlight));
        p.drawRect(r);
        if (static_cast<int>(i) == selected) {
            QPen pen(pal.color(QPalette::Highlight), 2);
            p.setPen(pen);
            p.drawRect(r.adjusted(1, 1, -1, -1));
        }
        int y = r.top() + padding;
        if (!cell.header.empty()) {
            p.setFont(today ? bold : font());
            p.setPen(cell.inScope ? pal.color(QPalette::Text) : pal.color(QPalette::PlaceholderText));
            p.drawText(QRect(r.left(), y, r.width() - padding, lh), Qt::AlignRight | Qt::AlignTop, qt(cell.header));
            p.setFont(font());
            y += lh;
        }
        const int room = std::max(0, (r.bottom() - y) / lh);
        const int count = static_cast<int>(cell.entries.size());
        for (int k = 0; k < count && k < room; ++k) {
            const QRect line(r.left() + padding, y, r.width() - 2 * padding, lh);
            if (k == room - 1 && count > room) {
                p.setPen(pal.color(QPalette::PlaceholderText));
                p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, QString("+%1").arg(count - room + 1));
                break;
            }
            const int index = cell.entries[static_cast<std::size_t>(k)];
            const HCalendarEntry& e = m_calendar.entry(index);
            const QColor colour = PaletteColours::legibleOn(PaletteColours::fromNumber(e.colour, pal), pal);
            int textLeft = line.left();
            if (e.hasInterval() && m_calendar.intervalBarWidth > 0) {
                p.fillRect(QRect(line.left(), line.top() + 1, m_calendar.intervalBarWidth, lh - 2), colour);
                textLeft += m_calendar.intervalBarWidth + 2;
            }
            const QRect textRect(textLeft, line.top(), line.right() - textLeft, lh);
            const bool isSelected = selectedEntry == &e && static_cast<int>(i) == selected;
            if (isSelected) {
                p.fillRect(textRect, pal.color(QPalette::Highlight));
            }
            p.setPen(isSelected ? pal.color(QPalette::HighlightedText) : colour);
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                       fm.elidedText(qt(m_calendar.entryLabel(index, cell)), Qt::ElideRight, textRect.width()));
            y += lh;
        }
    }
}

void HGrid::mousePressEvent(QMouseEvent* event) {
    selectAt(event->position().toPoint());
}

void HGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const auto [cell, entry] = selectAt(event->position().toPoint());
    if (cell >= 0) {
        emit activated(cell, entry);
    }
}

std::pair<int, int> HGrid::selectAt(const QPoint& point) {
    const auto hit = hitTest(point);
    if (hit.first >= 0) {
        if (hit.second >= 0) {
            m_calendar.selectEntry(hit.first, hit.second);
        } else {
            m_calendar.selectCell(hit.first);
        }
        update();
        emit selectionChanged();
    }
    return hit;
}

void HGrid::keyPressEvent(QKeyEvent* event) {
    const auto& l = m_calendar.layout();
    int cell = m_calendar.selectedCell();
    int dr = 0;
    int dc = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dc = -1;
        break;
    case Qt::Key_Right:
        dc = 1;
        break;
    case Qt::Key_Up:
        dr = -1;
        break;
    case Qt::Key_Down:
        dr = 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cell >= 0) {
            emit activated(cell, m_calendar.selectedEntryIndex());
        }
        return;
    default:
        QWidget::keyPressEvent(event); // the calendar's own keys
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (cell < 0) {
        cell = l.cells.empty() ? -1 : 0;
    } else {
        const auto& c = l.cells[static_cast<std::size_t>(cell)];
        const int next = l.cellAt(c.row + dr, c.column + dc);
        cell = next >= 0 ? next : cell;
    }
    m_calendar.selectCell(cell);
    update();
    emit selectionChanged();
}

bool HGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const auto [cell, entry] = hitTest(help->pos());
        if (entry >= 0 && toolTipOf) {
            QToolTip::showText(help->globalPos(),
                               qt(toolTipOf(m_calendar.entry(entry))).replace("\r\n", "\n").trimmed(), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace halvika
