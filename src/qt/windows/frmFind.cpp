#include "windows/frmFind.h"

#include "alarms/Alarm.h"
#include "groups/AlarmGroup.h"
#include "settings/modTranslation.h"
#include "text/Placeholders.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace halvika {

namespace {
constexpr int textAlarmsFound = 1;
constexpr int textGroupColumn = 2;
constexpr int textOneAlarmFound = 3;
} // namespace

frmFind::frmFind(AlarmGroupCollection& groups, modTranslation& texts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logic(groups), m_texts(texts) {
    setObjectName("frmFind");
    setWindowTitle("Find alarms");
    setWindowIcon(AppIcon::icon());
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel("Fi&nd", this);
    label->setObjectName("lblFind");
    m_text = new QLineEdit(this);
    m_text->setObjectName("txtFind");
    label->setBuddy(m_text);
    m_find = new QPushButton("&Find", this);
    m_find->setObjectName("cmdFind");
    m_find->setDefault(true);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(m_find, 0, 2);
    m_matchCase = new QCheckBox("Match &case", this);
    m_matchCase->setObjectName("chkMatchCase");
    m_within = new QCheckBox("Search &within the results", this);
    m_within->setObjectName("chkSearchWithinResults");
    m_within->setEnabled(false);
    layout->addWidget(m_matchCase, 1, 1);
    layout->addWidget(m_within, 2, 1);
    m_results = new QTreeWidget(this);
    m_results->setObjectName("lvwResults");
    m_results->setRootIsDecorated(false);
    m_results->setColumnCount(2);
    m_results->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_results->setSortingEnabled(true);
    layout->addWidget(m_results, 3, 0, 1, 3);
    m_summary = new QLabel(this);
    m_summary->setObjectName("lblSummary");
    layout->addWidget(m_summary, 4, 0, 1, 2);
    auto* open = new QPushButton("&Open", this);
    open->setObjectName("cmdOpen");
    layout->addWidget(open, 4, 2);
    layout->setColumnStretch(1, 1);

    connect(m_find, &QPushButton::clicked, this, &frmFind::find);
    connect(m_text, &QLineEdit::returnPressed, this, &frmFind::find);
    connect(open, &QPushButton::clicked, this, &frmFind::openSelected);
    connect(m_results, &QTreeWidget::itemDoubleClicked, this, &frmFind::openSelected);
    translate();
    resize(520, 420);
}

void frmFind::present() {
    if (!isVisible() && parentWidget()) {
        move(parentWidget()->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    // The last search is offered again, chosen, so that typing starts a new one.
    m_text->setFocus();
    m_text->selectAll();
}

void frmFind::translate() {
    FormTranslator::translateForm(*this, m_texts);
    m_results->setHeaderLabels({QString::fromStdString(m_texts.getText("Alarm", Alarm::textNameColumn)),
                                QString::fromStdString(m_texts.getText("frmFind", textGroupColumn))});
}

void frmFind::find() {
    m_find->setEnabled(false);
    m_results->clear();
    m_logic.find(m_text->text().toStdString(), m_matchCase->isChecked(), m_within->isChecked());
    showResults();
    m_find->setEnabled(true);
}

void frmFind::dataChanged() {
    if (m_logic.forgetUnloaded()) {
        showResults();
    }
}

void frmFind::showResults() {
    m_results->clear();
    const int count = m_logic.results().numberOfElements();
    m_results->setSortingEnabled(false);
    for (int i = 0; i < count; ++i) {
        const auto& alarm = m_logic.results().elementAt(i);
        auto* item = new QTreeWidgetItem(m_results);
        const auto group = alarm->parent.lock();
        item->setText(0, QString::fromStdString(alarm->name));
        item->setText(1, group ? QString::fromStdString(group->name) : QString());
        item->setData(0, Qt::UserRole, i);
    }
    m_results->setSortingEnabled(true);
    m_summary->setText(QString::fromStdString(
        count == 1 ? m_texts.getText("frmFind", textOneAlarmFound)
                   : Placeholders::fill(m_texts.getText("frmFind", textAlarmsFound), std::to_string(count))));
    m_within->setEnabled(m_logic.withinResultsAvailable());
    if (!m_within->isEnabled()) {
        m_within->setChecked(false);
    }
}

void frmFind::openSelected() {
    dataChanged();
    Vector<Alarm> chosen;
    for (QTreeWidgetItem* item : m_results->selectedItems()) {
        chosen.addElement(m_logic.results().elementAt(item->data(0, Qt::UserRole).toInt()));
    }
    if (chosen.numberOfElements() > 0 && openEditor) {
        openEditor(chosen);
    }
}

void frmFind::keyPressEvent(QKeyEvent* event) {
    // A tool window: Escape puts it away, as it does a dialog.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace halvika
