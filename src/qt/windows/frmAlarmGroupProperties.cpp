#include "windows/frmAlarmGroupProperties.h"

#include "alarms/Alarm.h"
#include "groups/AlarmGroup.h"
#include "groups/GroupServices.h"
#include "plugins/PluginHost.h"
#include "settings/modTranslation.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"
#include "windows/PaletteColours.h"
#include "windows/PluginSettingsWindow.h"
#include "windows/frmAlarmProperties.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace halvika {

namespace {

std::int32_t fromQt(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

} // namespace

frmAlarmGroupProperties::frmAlarmGroupProperties(std::shared_ptr<AlarmGroup> group, GroupServices& services,
                                                 PluginHost* plugins, AlarmEditorLogic::Services editor,
                                                 QWidget* parent)
    : QDialog(parent), m_group(std::move(group)), m_services(services), m_plugins(plugins), m_editor(editor),
      m_form(GroupPropertiesLogic::formOf(*m_group)) {
    setObjectName("frmAlarmGroupProperties");
    setWindowTitle("Alarm group");
    setWindowIcon(AppIcon::icon());
    auto* layout = new QFormLayout(this);
    m_name = new QLineEdit(QString::fromStdString(m_form.name), this);
    m_name->setObjectName("txtName");
    auto* nameLabel = new QLabel("&Name", this);
    nameLabel->setObjectName("lblName");
    nameLabel->setBuddy(m_name);
    layout->addRow(nameLabel, m_name);
    m_active = new QCheckBox("Alarms of this group &sound", this);
    m_active->setObjectName("chkActive");
    m_active->setChecked(m_form.active);
    layout->addRow(QString(), m_active);
    m_colour = new QPushButton(this);
    m_colour->setObjectName("cmdColour");
    auto* colourLabel = new QLabel("&Colour", this);
    colourLabel->setObjectName("lblColour");
    colourLabel->setBuddy(m_colour);
    layout->addRow(colourLabel, m_colour);
    auto* templateButton = new QPushButton("&Template for new alarms...", this);
    templateButton->setObjectName("cmdTemplate");
    layout->addRow(QString(), templateButton);
    m_synch = new QComboBox(this);
    m_synch->setObjectName("cmbSynch");
    auto* synchLabel = new QLabel("S&ynchronise with", this);
    synchLabel->setObjectName("lblSynch");
    synchLabel->setBuddy(m_synch);
    m_synch->addItem(QString(), QString());
    if (m_plugins) {
        for (const std::string& id : m_plugins->plugins(PluginHost::Synchronization)) {
            m_synch->addItem(QString::fromStdString(m_plugins->syncDescription(id)), QString::fromStdString(id));
        }
    }
    m_synch->setCurrentIndex(std::max(0, m_synch->findData(QString::fromStdString(m_form.synchPlugin))));
    layout->addRow(synchLabel, m_synch);
    m_synchDescription = new QLabel(this);
    m_synchDescription->setObjectName("lblSynchDescription");
    m_synchDescription->setWordWrap(true);
    m_synchDescription->setTextFormat(Qt::PlainText);
    layout->addRow(QString(), m_synchDescription);
    m_synchSettings = new QPushButton("Synchronisation &settings...", this);
    m_synchSettings->setObjectName("cmdSynchSettings");
    layout->addRow(QString(), m_synchSettings);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOk");
    ok->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("cmdCancel");
    layout->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_colour, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(PaletteColours::fromNumber(m_form.colour, palette()), this);
        if (chosen.isValid()) {
            m_form.colour = fromQt(chosen);
            showColour();
        }
    });
    connect(templateButton, &QPushButton::clicked, this, &frmAlarmGroupProperties::editTemplate);
    connect(m_synch, &QComboBox::currentIndexChanged, this, &frmAlarmGroupProperties::showSynchPlugin);
    auto* synchWindow =
        new PluginSettingsWindow(m_synchSettings, [this](XMLNodePtr edited) { m_form.synchSettings = edited; });
    connect(m_synchSettings, &QPushButton::clicked, this, [this, synchWindow] {
        const std::string id = m_synch->currentData().toString().toStdString();
        if (m_plugins && !id.empty()) {
            synchWindow->open(*m_plugins, id, *m_form.synchSettings, "syst");
        }
    });
    showSynchPlugin();
    showColour();
    translate();
    resize(420, sizeHint().height());
}

void frmAlarmGroupProperties::translate() {
    FormTranslator::translateForm(*this, m_services.texts);
    m_synch->setItemText(
        0, QString::fromStdString(m_services.texts.getText("AlarmGroup", AlarmGroup::textNotSynchronised)));
}

void frmAlarmGroupProperties::showSynchPlugin() {
    // The settings button only for a plug-in that has settings to edit; its long description below the list.
    const std::string id = m_synch->currentData().toString().toStdString();
    const bool known = m_plugins && !id.empty();
    m_synchSettings->setVisible(known && m_plugins->hasSettingsControl(id));
    m_synchDescription->setText(known ? QString::fromStdString(m_plugins->longDescription(id)) : QString());
    m_synchDescription->setVisible(!m_synchDescription->text().isEmpty());
}

void frmAlarmGroupProperties::showColour() {
    QPixmap swatch(40, 14);
    swatch.fill(PaletteColours::fromNumber(m_form.colour, palette()));
    m_colour->setIcon(QIcon(swatch));
    m_colour->setIconSize(swatch.size());
    m_colour->setText(PaletteColours::fromNumber(m_form.colour, palette()).name());
}

void frmAlarmGroupProperties::editTemplate() {
    // The template is edited as an alarm of its own, from the form's text; it never joins the group's list.
    const auto templateAlarm =
        m_form.templateText.empty()
            ? (m_services.defaultTemplate ? m_services.defaultTemplate() : Alarm::createDefaultAlarm(m_services.texts))
            : Alarm::createFromXML(*XMLNode::createFromXML(m_form.templateText), nullptr);
    frmAlarmProperties editor(m_editor, m_plugins, this);
    Vector<Alarm> alarms;
    alarms.addElement(templateAlarm);
    editor.setAlarms(alarms, AlarmEditorLogic::templateAlarm);
    if (editor.exec() == QDialog::Accepted) {
        m_form.templateText = GroupPropertiesLogic::templateTextOf(*templateAlarm, m_services.texts);
    }
}

GroupForm frmAlarmGroupProperties::form() const {
    GroupForm form = m_form;
    form.name = m_name->text().trimmed().toStdString();
    if (form.name.empty()) {
        form.name = m_group->name;
    }
    form.active = m_active->isChecked();
    form.synchPlugin = m_synch->currentData().toString().toStdString();
    return form;
}

} // namespace halvika
