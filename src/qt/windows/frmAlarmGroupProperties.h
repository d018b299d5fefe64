// The group properties dialog: name, on or off, colour, the template for new alarms and synchronisation.
#pragma once

#include "windows/Translatable.h"

#include "editing/AlarmEditorLogic.h"
#include "editing/GroupPropertiesLogic.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QLabel;
class QPushButton;

namespace halvika {

class GroupServices;
class PluginHost;

class frmAlarmGroupProperties : public QDialog, public Translatable {
    Q_OBJECT

public:
    frmAlarmGroupProperties(std::shared_ptr<AlarmGroup> group, GroupServices& services, PluginHost* plugins,
                            AlarmEditorLogic::Services editor, QWidget* parent = nullptr);
    void translate() override;
    /// The form as the user left it.
    GroupForm form() const;

private:
    void showColour();
    void showSynchPlugin();
    void editTemplate();

    std::shared_ptr<AlarmGroup> m_group;
    GroupServices& m_services;
    PluginHost* m_plugins;
    AlarmEditorLogic::Services m_editor;
    GroupForm m_form;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_active = nullptr;
    QPushButton* m_colour = nullptr;
    QComboBox* m_synch = nullptr;
    QLabel* m_synchDescription = nullptr;
    QPushButton* m_synchSettings = nullptr;
};

} // namespace halvika
