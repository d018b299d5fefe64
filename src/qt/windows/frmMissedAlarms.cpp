// The alarms missed while the computer was away: one window for every gap, to sound a chosen few or dismiss.
#include "windows/frmMissedAlarms.h"

#include "settings/modTranslation.h"
#include "sounding/AlarmWatch.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace halvika {

frmMissedAlarms::frmMissedAlarms(modTranslation& texts, AlarmWatch& watch, std::string dateFormat, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_watch(watch), m_dateFormat(std::move(dateFormat)) {
    setObjectName(section);
    setWindowTitle("Missed while away");
    setWindowIcon(AppIcon::icon());
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(this);
    explanation->setObjectName("lblExplanation");
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    m_rows = new QTreeWidget(this);
    m_rows->setObjectName("lvwMissed");
    m_rows->setRootIsDecorated(false);
    m_rows->setColumnCount(3);
    m_rows->header()->setStretchLastSection(false);
    m_rows->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    explanation->setBuddy(m_rows);
    layout->addWidget(m_rows, 1);
    m_cut = new QLabel(this);
    m_cut->setObjectName("lblCut");
    m_cut->hide();
    layout->addWidget(m_cut);
    auto* buttons = new QDialogButtonBox(this);
    auto* sound = buttons->addButton("&Sound them now", QDialogButtonBox::ActionRole);
    sound->setObjectName("cmdSoundNow");
    sound->setEnabled(false);
    auto* dismissButton = buttons->addButton("&Dismiss", QDialogButtonBox::RejectRole);
    dismissButton->setObjectName("cmdDismiss");
    dismissButton->setDefault(true);
    layout->addWidget(buttons);
    connect(sound, &QPushButton::clicked, this, [this] { soundChosen(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { dismiss(); });
    connect(m_rows, &QTreeWidget::itemChanged, this, [this, sound](QTreeWidgetItem* item, int column) {
        if (column == 0) {
            m_list.choose(m_rows->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
        }
        bool any = false;
        for (const auto& row : m_list.rows(m_dateFormat)) {
            any = any || row.chosen;
        }
        sound->setEnabled(any);
    });
    resize(560, 320);
    translate();
}

void frmMissedAlarms::translate() {
    FormTranslator::translateForm(*this, m_texts);
    findChild<QLabel*>("lblExplanation")->setText(QString::fromStdString(m_texts.getText(section, 5)));
    m_rows->setHeaderLabels({QString::fromStdString(m_texts.getText(section, 1)),
                             QString::fromStdString(m_texts.getText(section, 2)),
                             QString::fromStdString(m_texts.getText(section, 3))});
    m_cut->setText(QString::fromStdString(m_texts.getText(section, 6)));
}

void frmMissedAlarms::add(const Vector<Alarm>& alarms, const DateVector& moments, bool cut) {
    m_list.add(alarms, moments, cut);
    fillRows();
}

void frmMissedAlarms::fillRows() {
    const QSignalBlocker quiet(m_rows);
    m_rows->clear();
    for (const auto& row : m_list.rows(m_dateFormat)) {
        auto* item = new QTreeWidgetItem(m_rows, {QString::fromStdString(row.group), QString::fromStdString(row.name),
                                                  QString::fromStdString(row.moment)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.chosen ? Qt::Checked : Qt::Unchecked);
    }
    m_rows->resizeColumnToContents(0);
    m_rows->resizeColumnToContents(2);
    if (m_rows->topLevelItemCount() > 0) {
        m_rows->setCurrentItem(m_rows->topLevelItem(0));
    }
    m_cut->setVisible(m_list.cut());
}

void frmMissedAlarms::soundChosen() {
    m_list.soundChosen(m_watch);
    if (m_list.count() == 0) {
        dismiss();
        return;
    }
    fillRows();
    findChild<QPushButton*>("cmdSoundNow")->setEnabled(false);
}

void frmMissedAlarms::dismiss() {
    m_list.clear();
    m_rows->clear();
    hide();
}

} // namespace halvika
