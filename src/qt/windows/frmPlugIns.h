// The plug-in dialog: the plug-ins of each type, with their about, help and settings commands.
#pragma once

#include "windows/Translatable.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QPushButton;

namespace halvika {

class PluginHost;
class modTranslation;

class frmPlugIns : public QDialog, public Translatable {
    Q_OBJECT

public:
    frmPlugIns(PluginHost& plugins, modTranslation& texts, QWidget* parent = nullptr);
    void translate() override;
    /// The identifiers shown for a type position (0 all, 1 import, 2 export, 3 file import, 4 file export,
    /// 5 synchronisation, 6 action, 7 general-purpose).
    static std::vector<std::string> identifiersFor(const PluginHost& plugins, int typePosition);
    /// Sends "ShowAbout", "ShowHelp" or "ShowSettings" to the selected plug-in, in the background: the
    /// plug-in's window may stay open as long as the user likes.
    void sendToSelected(const char* method);

private:
    void fillList();
    /// A command is offered only when the selected plug-in shows a window for it.
    void updateButtons();

    PluginHost& m_plugins;
    modTranslation& m_texts;
    std::vector<std::string> m_shown;
    QComboBox* m_types = nullptr;
    QListWidget* m_list = nullptr;
    std::vector<QPushButton*> m_buttons;
};

} // namespace halvika
