// The action picker: every kind of action an alarm can have, and the action plug-ins.
#pragma once

#include "windows/Translatable.h"

#include "sounding/ActionCatalog.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QTreeWidget;

namespace halvika {

class Alarm;
class PluginHost;
class clsAction;
class modTranslation;

class frmActions : public QDialog, public Translatable {
    Q_OBJECT

public:
    frmActions(modTranslation& texts, PluginHost* plugins, QWidget* parent = nullptr);
    void translate() override;
    /// The chosen entry as a new action of the alarm; none when nothing was chosen.
    std::shared_ptr<clsAction> chosenAction(Alarm* alarm) const;
    int entryCount() const { return static_cast<int>(m_entries.size()); }
    void choose(int row);

private:
    modTranslation& m_texts;
    std::vector<ActionCatalog::Entry> m_entries;
    QTreeWidget* m_list = nullptr;
};

} // namespace halvika
