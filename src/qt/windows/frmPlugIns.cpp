#include "windows/frmPlugIns.h"

#include "plugins/PluginHost.h"
#include "settings/modTranslation.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvika {

namespace {

constexpr int typeCount = 8;
// The dialog's order of types, after "all".
constexpr PluginHost::Type typeOrder[typeCount - 1] = {
    PluginHost::Import,          PluginHost::Export, PluginHost::FileImport,    PluginHost::FileExport,
    PluginHost::Synchronization, PluginHost::Action, PluginHost::GeneralPurpose};

} // namespace

std::vector<std::string> frmPlugIns::identifiersFor(const PluginHost& plugins, int typePosition) {
    std::vector<std::string> ids;
    for (int t = 0; t < typeCount - 1; ++t) {
        if (typePosition == 0 || typePosition == t + 1) {
            const auto& list = plugins.plugins(typeOrder[t]);
            ids.insert(ids.end(), list.begin(), list.end());
        }
    }
    return ids;
}

frmPlugIns::frmPlugIns(PluginHost& plugins, modTranslation& texts, QWidget* parent)
    : QDialog(parent), m_plugins(plugins), m_texts(texts) {
    setObjectName("frmPlugIns");
    setWindowTitle("Plug-ins");
    setWindowIcon(AppIcon::icon());
    auto* layout = new QVBoxLayout(this);
    m_types = new QComboBox(this);
    m_types->setObjectName("cmbPlugInTypes");
    layout->addWidget(m_types);
    m_list = new QListWidget(this);
    m_list->setObjectName("lstPlugIns");
    layout->addWidget(m_list, 1);
    auto* row = new QHBoxLayout;
    const struct {
        const char* name;
        const char* text;
        const char* method;
        const char* window; // as the plug-in lists it in "shows"
    } commands[3] = {{"cmdAbout", "&About", "ShowAbout", "About"},
                     {"cmdHelp", "&Help", "ShowHelp", "Help"},
                     {"cmdSettings", "&Settings", "ShowSettings", "Settings"}};
    for (const auto& c : commands) {
        auto* button = new QPushButton(c.text, this);
        button->setObjectName(c.name);
        button->setProperty("window", c.window);
        const char* method = c.method;
        connect(button, &QPushButton::clicked, this, [this, method] { sendToSelected(method); });
        row->addWidget(button);
        m_buttons.push_back(button);
    }
    row->addStretch(1);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("cmdClose");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(close);
    layout->addLayout(row);
    connect(m_types, &QComboBox::currentIndexChanged, this, &frmPlugIns::fillList);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_buttons.back()->isEnabled()) {
            sendToSelected("ShowSettings");
        }
    });
    connect(m_list, &QListWidget::currentRowChanged, this, &frmPlugIns::updateButtons);
    translate();
    m_types->setCurrentIndex(0);
    fillList();
    resize(420, 360);
}

void frmPlugIns::translate() {
    FormTranslator::translateForm(*this, m_texts);
    const int current = std::max(0, m_types->currentIndex());
    const QSignalBlocker blocker(m_types);
    m_types->clear();
    for (int i = 0; i < typeCount; ++i) {
        m_types->addItem(QString::fromStdString(m_texts.getText("frmPlugIns", i + 1)));
    }
    m_types->setCurrentIndex(current);
}

void frmPlugIns::fillList() {
    m_list->clear();
    m_shown = identifiersFor(m_plugins, std::max(0, m_types->currentIndex()));
    for (const std::string& id : m_shown) {
        m_list->addItem(QString::fromStdString(m_plugins.pluginName(id)));
    }
    if (!m_shown.empty()) {
        m_list->setCurrentRow(0);
    }
    updateButtons();
}

void frmPlugIns::updateButtons() {
    const int row = m_list->currentRow();
    const bool chosen = row >= 0 && row < static_cast<int>(m_shown.size());
    for (QPushButton* button : m_buttons) {
        const std::string window = button->property("window").toString().toStdString();
        button->setEnabled(chosen && m_plugins.showsWindow(m_shown[static_cast<std::size_t>(row)], window));
    }
}

void frmPlugIns::sendToSelected(const char* method) {
    const int row = m_list->currentRow();
    if (row >= 0 && row < static_cast<int>(m_shown.size())) {
        m_plugins.methodCallLater(m_shown[static_cast<std::size_t>(row)], method, m_plugins.lang(), false,
                                  [](const std::string&) {});
    }
}

} // namespace halvika
