// The action picker: every kind of action an alarm can have, and the action plug-ins.
#pragma once

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

class frmActions : public QDialog {
    Q_OBJECT

public:
    struct Entry {
        std::int16_t kind = 0;
        std::string plugin; ///< for kind 16
        std::string shortDescription;
        std::string category;
        std::string description;
    };

    /// Built-in kinds from the language file ("Action": kind + s, c, d), then each loaded action plug-in's
    /// answer to "GetActionInfo".
    static std::vector<Entry> listEntries(modTranslation& texts, PluginHost* plugins);

    frmActions(modTranslation& texts, PluginHost* plugins, QWidget* parent = nullptr);
    void translate();
    /// The chosen entry as a new action of the alarm; none when nothing was chosen.
    std::shared_ptr<clsAction> chosenAction(Alarm* alarm) const;
    int entryCount() const { return static_cast<int>(m_entries.size()); }
    void choose(int row);

private:
    modTranslation& m_texts;
    std::vector<Entry> m_entries;
    QTreeWidget* m_list = nullptr;
};

} // namespace halvika
