#include "windows/frmActions.h"

#include "alarms/clsAction.h"
#include "settings/modTranslation.h"
#include "windows/FormTranslator.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace halvika {

namespace {
// "frmActions": the list's column headers.
constexpr int textActionColumn = 1;
constexpr int textCategoryColumn = 2;
constexpr int textDescriptionColumn = 3;
} // namespace

frmActions::frmActions(modTranslation& texts, PluginHost* plugins, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_entries(ActionCatalog::list(texts, plugins)) {
    setObjectName("frmActions");
    setWindowTitle("Add an action");
    auto* layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName("lstActions");
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(3);
    m_list->setSortingEnabled(false);
    m_list->setWordWrap(true);
    for (const ActionCatalog::Entry& e : m_entries) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, QString::fromStdString(e.shortDescription));
        item->setText(1, QString::fromStdString(e.category));
        item->setText(2, QString::fromStdString(e.description));
        item->setToolTip(2, QString::fromStdString(e.description));
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* add = buttons->addButton("&Add", QDialogButtonBox::AcceptRole);
    add->setObjectName("cmdOk");
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    translate();
    if (!m_entries.empty()) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    resize(900, 480);
}

void frmActions::translate() {
    FormTranslator::translateForm(*this, m_texts);
    m_list->setHeaderLabels({QString::fromStdString(m_texts.getText("frmActions", textActionColumn)),
                             QString::fromStdString(m_texts.getText("frmActions", textCategoryColumn)),
                             QString::fromStdString(m_texts.getText("frmActions", textDescriptionColumn))});
}

void frmActions::choose(int row) {
    m_list->setCurrentItem(m_list->topLevelItem(row));
}

std::shared_ptr<clsAction> frmActions::chosenAction(Alarm* alarm) const {
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || row >= static_cast<int>(m_entries.size())) {
        return nullptr;
    }
    const ActionCatalog::Entry& e = m_entries[static_cast<std::size_t>(row)];
    auto action = clsAction::Create(alarm, e.kind, m_texts);
    action->plugin = e.plugin;
    return action;
}

} // namespace halvika
