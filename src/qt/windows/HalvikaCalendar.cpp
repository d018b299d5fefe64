// The alarm calendar's toolbar, grids, selected-date label and list of the selected period.
#include "windows/HalvikaCalendar.h"

#include "alarms/Alarm.h"
#include "calendar/HalvikaCalendarLogic.h"
#include "dates/DateFormat.h"
#include "groups/AlarmGroup.h"
#include "settings/modTranslation.h"
#include "windows/HGrid.h"
#include "windows/UserLocale.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <cmath>

namespace halvika {

namespace {

constexpr double twipsPerPixel = 15.0;
constexpr const char* section = "HalvikaCalendar";

} // namespace

HalvikaCalendar::HalvikaCalendar(HalvikaCalendarLogic& logic, modTranslation& texts, QWidget* parent)
    : QWidget(parent), m_logic(logic), m_texts(texts) {
    setObjectName("halvikacal");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    m_buttons[1] = button("cmdBack", HalvikaCalendarLogic::k1);
    // Arrows drawn by the style: a themed icon would load and keep the icon theme's whole index.
    m_buttons[1]->setArrowType(Qt::LeftArrow);
    m_buttons[2] = button("cmdPickDate", HalvikaCalendarLogic::k2);
    m_buttons[3] = button("cmdForward", HalvikaCalendarLogic::k3);
    m_buttons[3]->setArrowType(Qt::RightArrow);
    bar->addWidget(m_buttons[1]);
    bar->addWidget(m_buttons[2]);
    bar->addWidget(m_buttons[3]);
    bar->addSpacing(6);
    m_scopeUnit = new QComboBox(this);
    m_scopeUnit->setObjectName("cmbScopeUnit");
    bar->addWidget(m_scopeUnit);
    connect(m_scopeUnit, &QComboBox::activated, this, [this](int index) {
        m_logic.setScopeUnit(static_cast<std::int16_t>(m_scopeUnit->itemData(index).toInt()));
    });
    // Two rows, so that the calendar never makes the main window wider than a small screen: moving and
    // choosing above, the view's shape below.
    auto* shape = new QHBoxLayout;
    shape->setSpacing(2);
    // Three pairs of minus and plus, each after its label.
    const char* pairNames[3][2] = {
        {"cmdShorter", "cmdLonger"}, {"cmdFewerShown", "cmdMoreShown"}, {"cmdNarrower", "cmdWider"}};
    for (int pair = 0; pair < 3; ++pair) {
        if (pair > 0) {
            shape->addSpacing(10);
        }
        m_groupLabels[static_cast<std::size_t>(pair)] = new QLabel(this);
        shape->addWidget(m_groupLabels[static_cast<std::size_t>(pair)]);
        for (int k = 0; k < 2; ++k) {
            const int key = HalvikaCalendarLogic::k4 + 2 * pair + k;
            m_buttons[static_cast<std::size_t>(key)] = button(pairNames[pair][k], key);
            m_buttons[static_cast<std::size_t>(key)]->setText(k == 0 ? QString::fromUtf8("\u2212") : "+");
            shape->addWidget(m_buttons[static_cast<std::size_t>(key)]);
        }
    }
    shape->addSpacing(10);
    m_buttons[10] = button("cmdTurn", HalvikaCalendarLogic::k10);
    shape->addWidget(m_buttons[10]);
    m_buttons[12] = button("cmdExport", HalvikaCalendarLogic::k12);
    shape->addWidget(m_buttons[12]);
    shape->addStretch();
    bar->addSpacing(10);
    m_importance = new QComboBox(this);
    m_importance->setObjectName("cmbMinImportance");
    bar->addWidget(m_importance);
    connect(m_importance, &QComboBox::activated, this, [this](int index) {
        m_logic.setMinImportance(m_logic.currentView(), static_cast<std::int16_t>(index));
        if (m_logic.ScopeChanged) {
            m_logic.ScopeChanged(m_logic.currentView());
        }
    });
    bar->addStretch();
    m_selectedDate = new QLabel(this);
    m_selectedDate->setObjectName("lblSelectedDate");
    // A date appearing must not widen the window.
    m_selectedDate->setFixedWidth(m_selectedDate->fontMetrics().horizontalAdvance("00/00/0000 00:00:00 "));
    m_selectedDate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(m_selectedDate);
    layout->addLayout(bar);
    layout->addLayout(shape);

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName("sptCalendar");
    m_stack = new QStackedWidget(m_splitter);
    for (int v = 0; v < 2; ++v) {
        auto* scroll = new QScrollArea(m_stack);
        scroll->setWidgetResizable(true);
        auto* grid = new HGrid(m_logic.calendar(v), scroll);
        grid->setObjectName(QString("grdView(%1)").arg(v));
        scroll->setWidget(grid);
        scroll->viewport()->installEventFilter(this);
        grid->toolTipOf = [this](const HCalendarEntry& e) { return toolTipOf ? toolTipOf(e) : std::string(); };
        grid->nowSeconds = [this] { return nowSeconds ? nowSeconds() : std::int64_t{-1}; };
        connect(grid, &HGrid::selectionChanged, this, &HalvikaCalendar::showSelection);
        connect(grid, &HGrid::activated, this, [this](int cell, int entry) {
            if (activated) {
                activated(cell, entry);
            }
        });
        m_stack->addWidget(scroll);
        m_grids[static_cast<std::size_t>(v)] = grid;
        m_scrolls[static_cast<std::size_t>(v)] = scroll;
        m_logic.calendar(v).refreshed = [grid] { grid->layoutChanged(); };
    }
    m_list = new QTreeWidget(m_splitter);
    m_list->setObjectName("lstCalendarEntries");
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(3);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_splitter->setStretchFactor(0, 1);
    layout->addWidget(m_splitter, 1);
    setDividerTwips(m_logic.horizontalDivider());
    translate();
}

QToolButton* HalvikaCalendar::button(const char* name, int key) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, [this, key] {
        if (key == HalvikaCalendarLogic::k2) {
            pickFirstDate();
        } else if (key == HalvikaCalendarLogic::k12) {
            if (exportRequested) {
                exportRequested();
            }
        } else {
            m_logic.command(key);
        }
    });
    return b;
}

void HalvikaCalendar::pickFirstDate() {
    QMenu popup(this);
    auto* picker = new QCalendarWidget(&popup);
    picker->setObjectName("calPickDate");
    UserLocale::apply(*picker, m_texts);
    const Date first = m_logic.calendar(m_logic.currentView()).FirstDate();
    if (first < Date::none()) {
        picker->setSelectedDate(QDate(first.year(), first.month(), first.day()));
    }
    auto* action = new QWidgetAction(&popup);
    action->setDefaultWidget(picker);
    popup.addAction(action);
    connect(picker, &QCalendarWidget::activated, &popup, [this, &popup](QDate date) {
        popup.close();
        m_logic.setFirstDate(Date::fromParts(date.year(), date.month(), date.day()));
    });
    connect(picker, &QCalendarWidget::clicked, &popup, [this, &popup](QDate date) {
        popup.close();
        m_logic.setFirstDate(Date::fromParts(date.year(), date.month(), date.day()));
    });
    popup.exec(m_buttons[2]->mapToGlobal(QPoint(0, m_buttons[2]->height())));
}

void HalvikaCalendar::setCurrentView(int view) {
    m_logic.setCurrentView(view);
    m_stack->setCurrentIndex(m_logic.currentView());
    viewChanged(m_logic.currentView());
}

void HalvikaCalendar::viewChanged(int view) {
    grid(view)->layoutChanged();
    if (view == m_logic.currentView()) {
        m_importance->setCurrentIndex(m_logic.getMinImportance(view));
        m_scopeUnit->setCurrentIndex(m_scopeUnit->findData(m_logic.calendar(view).ScopeUnit()));
        showSelection();
    }
}

void HalvikaCalendar::showSelection() {
    m_selectedDate->setText(QString::fromStdString(m_logic.selectedDateLabel(m_dateFormat)));
    m_list->clear();
    const HCalendar& cal = m_logic.calendar(m_logic.currentView());
    const int cell = cal.selectedCell();
    if (cell < 0) {
        return;
    }
    for (int e : cal.layout().cells[static_cast<std::size_t>(cell)].entries) {
        const HCalendarEntry& entry = cal.entry(e);
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, QString::fromStdString(formatDate(m_dateFormat, entry.startDate)));
        item->setText(1, QString::fromStdString(entry.text));
        const auto group = entry.alarm ? entry.alarm->parent.lock() : nullptr;
        item->setText(2, group ? QString::fromStdString(group->name) : QString());
        if (e == cal.selectedEntryIndex()) {
            item->setSelected(true);
        }
    }
}

void HalvikaCalendar::translate() {
    const auto text = [this](int number) { return QString::fromStdString(m_texts.getText(section, number)); };
    for (int key : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}) {
        m_buttons[static_cast<std::size_t>(key)]->setToolTip(text(key));
    }
    m_buttons[2]->setText(text(16));
    m_buttons[10]->setText(text(17));
    m_buttons[12]->setText(text(18));
    for (int i = 0; i < 3; ++i) {
        m_groupLabels[static_cast<std::size_t>(i)]->setText(text(13 + i));
    }
    const int chosen = m_importance->currentIndex();
    m_importance->clear();
    for (int i = 0; i < 3; ++i) {
        m_importance->addItem(text(31 + i));
    }
    m_importance->setCurrentIndex(chosen < 0 ? m_logic.getMinImportance(m_logic.currentView()) : chosen);
    m_list->setHeaderLabels({text(21), text(22), text(23)});
    // Hours, days, weeks, months, years: the unit names of the language file.
    m_scopeUnit->clear();
    for (const int unit : {2, 3, 6, 4, 5}) {
        m_scopeUnit->addItem(QString::fromStdString(m_texts.getText("Strings", unit + 1)), unit);
    }
    m_scopeUnit->setCurrentIndex(m_scopeUnit->findData(m_logic.calendar(m_logic.currentView()).ScopeUnit()));
}

void HalvikaCalendar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The stored divider can only be placed once the splitter has its height.
    if (!m_dividerPlaced) {
        m_dividerPlaced = true;
        setDividerTwips(m_logic.horizontalDivider());
    }
}

float HalvikaCalendar::dividerTwips() const {
    return static_cast<float>(m_splitter->sizes().value(0) * twipsPerPixel);
}

void HalvikaCalendar::setDividerTwips(float twips) {
    const int top = static_cast<int>(std::lround(twips / twipsPerPixel));
    m_splitter->setSizes({std::max(top, 60), std::max(m_splitter->height() - top, 60)});
}

void HalvikaCalendar::keyPressEvent(QKeyEvent* event) {
    if (keyPressed && keyPressed(*event)) {
        return;
    }
    QWidget::keyPressEvent(event);
}

bool HalvikaCalendar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        for (int v = 0; v < 2; ++v) {
            if (watched == m_scrolls[static_cast<std::size_t>(v)]->viewport()) {
                m_grids[static_cast<std::size_t>(v)]->setViewportSize(static_cast<QResizeEvent*>(event)->size());
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace halvika
