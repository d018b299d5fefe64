#include "windows/MainWindowLists.h"

#include "alarms/Alarm.h"
#include "alarms/AlarmTexts.h"
#include "app/CoreSubsystems.h"
#include "base/MessageBoxRoutine.h"
#include "calendar/HalvikaCalendarLogic.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "editing/ColumnLayout.h"
#include "editing/CommandAvailability.h"
#include "editing/GroupPropertiesLogic.h"
#include "groups/AlarmGroup.h"
#include "platform/Clock.h"
#include "plugins/PluginHost.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "text/NumberText.h"
#include "windows/BusyCursor.h"
#include "windows/PaletteColours.h"
#include "windows/SeeAlarmsModel.h"
#include "windows/frmAlarmGroupProperties.h"
#include "windows/frmAlarmProperties.h"
#include "xml/XMLNode.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QSplitter>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace halvika {

namespace {

// "Filters" texts of the file dialogs.
constexpr int filterGroupFiles = 1;
constexpr int filterExportGroup = 2;
constexpr int filterCollection = 5;
// "frmAlarmProperties": the custom action's caption.
constexpr int textRunActionNow = 60;

constexpr int shownIndexRole = Qt::UserRole;
constexpr int sortKeyRole = Qt::UserRole + 1;

/// Text colours of one fill of a list, one brush per colour: a brush made per cell costs an allocation of
/// its own, about a quarter of the memory of a list of a thousand rows.
class TextBrushes {
public:
    explicit TextBrushes(const QPalette& palette) : m_palette(palette) {}

    QBrush forText(const std::string& number) {
        auto found = m_brushes.find(number);
        if (found == m_brushes.end()) {
            found = m_brushes.emplace(number, QBrush(PaletteColours::forText(number, m_palette))).first;
        }
        return found->second;
    }

private:
    const QPalette& m_palette;
    std::unordered_map<std::string, QBrush> m_brushes;
};

} // namespace

/// What one fill of the alarm list shows its rows with, shared by them; `forgotten` once the window is going.
struct MainWindowLists::AlarmRows {
    AlarmRows(AlarmTexts texts, const QPalette& palette) : context(std::move(texts)), brushes(palette) {}
    AlarmTexts context;
    TextBrushes brushes;
    bool forgotten = false;
};

namespace {

/// A row that sorts by its sort key where one is set (moments), else by its text.
class ListItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, sortKeyRole), theirs = other.data(column, sortKeyRole);
        if (mine.isValid() && theirs.isValid()) {
            return mine.toLongLong() < theirs.toLongLong();
        }
        return text(column).localeAwareCompare(other.text(column)) < 0;
    }
    /// A row's tool tip is kept once, in its first column, and shown over every column.
    QVariant data(int column, int role) const override {
        return QTreeWidgetItem::data(role == Qt::ToolTipRole ? 0 : column, role);
    }
};

/// An alarm list row whose texts, colours and tool tip are made when the view first asks for them, as they
/// would have been at the fill: a row never scrolled to holds no text.
class AlarmListItem : public ListItem {
public:
    AlarmListItem(QTreeWidget* list, std::shared_ptr<MainWindowLists::AlarmRows> rows, std::shared_ptr<Alarm> alarm,
                  int shownIndex, int sortColumn)
        : ListItem(list), m_rows(std::move(rows)), m_alarm(std::move(alarm)), m_shownIndex(shownIndex),
          m_nextMoment(m_alarm->getNextAlarmDateAfter().serialSeconds()) {
        // Sorting compares every row, so the sort column's text is made now.
        if (sortColumn >= 0 && sortColumn < columns && sortColumn != momentColumn) {
            m_sortText = QString::fromStdString(
                m_alarm->getStringItems(m_rows->context)[static_cast<std::size_t>(sortColumn)].first);
        }
    }

    bool operator<(const QTreeWidgetItem& other) const override {
        const auto& theirs = static_cast<const AlarmListItem&>(other);
        if (treeWidget() != nullptr && treeWidget()->sortColumn() == momentColumn) {
            return m_nextMoment < theirs.m_nextMoment;
        }
        return m_sortText.localeAwareCompare(theirs.m_sortText) < 0;
    }

    QVariant data(int column, int role) const override {
        if (role == shownIndexRole) {
            return m_shownIndex;
        }
        if ((role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::ToolTipRole) || m_rows->forgotten ||
            column < 0 || column >= columns) {
            return ListItem::data(column, role);
        }
        if (role == Qt::ToolTipRole) {
            // Tool tips take markup, so the alarm's own words are escaped.
            const QString tip = QString::fromStdString(m_alarm->getToolTip(m_rows->context)).replace("\r\n", "\n");
            return tip.isEmpty() ? QString() : Qt::convertFromPlainText(tip, Qt::WhiteSpacePre);
        }
        if (!m_cells) {
            const auto items = m_alarm->getStringItems(m_rows->context);
            m_cells = std::make_unique<std::array<std::pair<QString, QBrush>, columns>>();
            for (std::size_t c = 0; c < items.size(); ++c) {
                (*m_cells)[c] = {QString::fromStdString(items[c].first), m_rows->brushes.forText(items[c].second)};
            }
        }
        const auto& cell = (*m_cells)[static_cast<std::size_t>(column)];
        return role == Qt::DisplayRole ? QVariant(cell.first) : QVariant(cell.second);
    }

private:
    static constexpr int columns = 7;
    static constexpr int momentColumn = 2;
    std::shared_ptr<MainWindowLists::AlarmRows> m_rows;
    std::shared_ptr<Alarm> m_alarm;
    int m_shownIndex;
    std::int64_t m_nextMoment;
    QString m_sortText;
    mutable std::unique_ptr<std::array<std::pair<QString, QBrush>, columns>> m_cells;
};

/// The position in the shown vector of a row, whatever the sorting did to the rows.
int shownIndex(const QTreeWidgetItem* item) {
    return item->data(0, shownIndexRole).toInt();
}

template <typename View> View* makeList(const char* name, QWidget* parent) {
    auto* list = new View(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->header()->setStretchLastSection(true);
    return list;
}

/// A list's column count and titles, whether it holds its rows or shows a model's.
int columnsOf(const QTreeView* list) {
    return list->model()->columnCount();
}

QString titleOf(const QTreeView* list, int column) {
    return list->model()->headerData(column, Qt::Horizontal).toString();
}

QLabel* makeCaption(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // Captions show group names as typed.
    label->setTextFormat(Qt::PlainText);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QWidget* titled(QLabel* caption, QWidget* body, QWidget* parent, QLayout* controls = nullptr) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    if (controls) {
        auto* row = new QHBoxLayout;
        row->addWidget(caption);
        row->addStretch(1);
        row->addLayout(controls);
        layout->addLayout(row);
    } else {
        layout->addWidget(caption);
    }
    layout->addWidget(body, 1);
    caption->setBuddy(body);
    return box;
}

constexpr const char* layoutNames[4] = {"ag", "al", "sa0", "sa1"};
constexpr int unitCount = 7;

} // namespace

MainWindowLists::MainWindowLists(CoreSubsystems& core, modTranslation& texts, MessageBoxRoutine& messages,
                                 const Clock& clock, Clipboard& systemClipboard, QWidget* parent)
    : QWidget(parent), m_core(core), m_texts(texts), m_messages(messages), m_clock(clock),
      m_systemClipboard(systemClipboard) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* vertical = new QSplitter(Qt::Vertical, this);
    vertical->setObjectName("lblHorDiv");
    auto* top = new QSplitter(Qt::Horizontal, vertical);
    top->setObjectName("lblVerDiv1");
    m_groups = makeList<QTreeWidget>("lstAlarmGroups", top);
    top->addWidget(titled(makeCaption("lblAlarmGroups", "Alarm groups", this), m_groups, top));
    m_alarms = makeList<QTreeWidget>("lstAlarms", top);
    m_alarmsLabel = makeCaption("lblAlarms", "", this);
    top->addWidget(titled(m_alarmsLabel, m_alarms, top));
    // The group list, the recent list and the to-do note keep their stored widths, the lower area its
    // height; the alarm list and the coming list take whatever the window gains, maximised or not.
    top->setStretchFactor(0, 0);
    top->setStretchFactor(1, 1);
    auto* bottom = new QSplitter(Qt::Horizontal, vertical);
    bottom->setObjectName("lblVerDiv2");
    m_splitters[0] = top;
    m_splitters[1] = vertical;
    m_splitters[2] = bottom;
    const char* seeNames[2] = {"lstSeeAlarms(0)", "lstSeeAlarms(1)"};
    const char* seeCaptions[2] = {"lblSeeAlarms(0)", "lblSeeAlarms(1)"};
    const char* seeTexts[2] = {"Recently sounded", "Coming"};
    for (int i : {1, 0}) {
        m_seeLists[i] = makeList<QTreeView>(seeNames[i], bottom);
        m_seeModels[i] = new SeeAlarmsModel(m_seeLists[i]);
        m_seeLists[i]->setModel(m_seeModels[i]);
        m_seeLabels[i] = makeCaption(seeCaptions[i], seeTexts[i], this);
        // The list's own controls: shown or not, and how far it looks back or ahead.
        auto* controls = new QHBoxLayout;
        m_seeShown[i] = new QCheckBox(this);
        m_seeShown[i]->setObjectName(QString("chkSeeAlarms(%1)").arg(i));
        m_seeAmount[i] = new QSpinBox(this);
        m_seeAmount[i]->setObjectName(QString("txtSeeAlarms(%1)").arg(i));
        m_seeAmount[i]->setRange(1, 999);
        m_seeUnit[i] = new QComboBox(this);
        m_seeUnit[i]->setObjectName(QString("cmbSeeAlarms(%1)").arg(i));
        controls->addWidget(m_seeShown[i]);
        controls->addWidget(m_seeAmount[i]);
        controls->addWidget(m_seeUnit[i]);
        bottom->addWidget(titled(m_seeLabels[i], m_seeLists[i], bottom, controls));
        connect(m_seeShown[i], &QCheckBox::toggled, this, [this, i] { seeAlarmsControlsChanged(i); });
        connect(m_seeAmount[i], &QSpinBox::valueChanged, this, [this, i] { seeAlarmsControlsChanged(i); });
        connect(m_seeUnit[i], &QComboBox::currentIndexChanged, this, [this, i] { seeAlarmsControlsChanged(i); });
    }
    m_toDo = new QPlainTextEdit(bottom);
    m_toDo->setObjectName("txtToDo");
    bottom->addWidget(titled(makeCaption("lblToDo", "To do", this), m_toDo, bottom));
    bottom->setStretchFactor(0, 1);
    bottom->setStretchFactor(1, 0);
    bottom->setStretchFactor(2, 0);
    vertical->setStretchFactor(0, 1);
    vertical->setStretchFactor(1, 0);
    layout->addWidget(vertical);

    for (QTreeView* list : std::initializer_list<QTreeView*>{m_groups, m_alarms, m_seeLists[0], m_seeLists[1]}) {
        list->installEventFilter(this);
        list->header()->setContextMenuPolicy(Qt::CustomContextMenu);
        list->header()->setSectionsMovable(true);
        connect(list->header(), &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& at) { chooseColumns(list, at); });
    }
    connect(m_groups, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_filling) {
            fillAlarms();
        }
    });
    connect(m_alarms, &QTreeWidget::itemDoubleClicked, this, [this] { editSelectedAlarms(); });
    m_groups->header()->setSectionsClickable(true);
    m_alarms->header()->setSectionsClickable(true);
    connect(m_groups->header(), &QHeaderView::sectionClicked, this, [this](int c) { headerClicked(true, c); });
    connect(m_alarms->header(), &QHeaderView::sectionClicked, this, [this](int c) { headerClicked(false, c); });
    for (int i = 0; i < 2; ++i) {
        connect(m_seeLists[i], &QTreeView::doubleClicked, this, [this, i] {
            const Vector<Alarm> chosen = seeAlarmsSelection(i);
            if (chosen.numberOfElements() > 0) {
                editAlarms(chosen, AlarmEditorLogic::existingAlarms);
            }
        });
    }
    for (int i = 0; i < 2; ++i) {
        m_seeLists[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_seeLists[i], &QWidget::customContextMenuRequested, this, [this, i](const QPoint& at) {
            const Vector<Alarm> chosen = seeAlarmsSelection(i);
            if (chosen.numberOfElements() == 0) {
                return;
            }
            QMenu menu(this);
            const auto entry = [&menu](const char* name, const std::string& text) {
                QAction* action = menu.addAction(QString::fromStdString(text));
                action->setObjectName(name);
                return action;
            };
            const auto key = [this](const char* name) { return m_texts.getValue("frmHalvikaMain", name, name); };
            QAction* properties = entry("mnuSAProperties", key("mnuSAProperties"));
            QAction* test = entry("mnuSATest", key("mnuSATest"));
            QAction* off = entry("mnuSATurnOff", key("mnuSATurnOff"));
            QAction* snooze = entry("mnuSAStopSnoozing", key("mnuSAStopSnoozing"));
            QAction* remove = entry("mnuSADelete", key("mnuSADelete"));
            QAction* removeSounded = entry("mnuSADeleteSounded", key("mnuSADeleteSounded"));
            QAction* picked = menu.exec(m_seeLists[i]->viewport()->mapToGlobal(at));
            if (picked == properties) {
                editAlarms(chosen, AlarmEditorLogic::existingAlarms);
            } else if (picked == test) {
                m_core.watch().testAlarms(chosen);
            } else if (picked == off || picked == snooze) {
                m_core.watch().setActivity(chosen, picked == off ? AlarmWatch::ActivityMode::SwitchOff
                                                                 : AlarmWatch::ActivityMode::StopSnoozing);
            } else if (picked == remove || picked == removeSounded) {
                m_core.groups().deleteAlarms(chosen, picked == removeSounded, m_core.watch().correctedNow());
            }
            refresh();
        });
    }
    connect(m_toDo, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling) {
            m_core.setToDo(m_toDo->toPlainText().toStdString());
        }
    });
    buildMenus();
    translate();
    fillPluginMenus();
}

MainWindowLists::~MainWindowLists() {
    // The rows' texts come from this object, which the base class's destructor no longer is.
    for (SeeAlarmsModel* model : m_seeModels) {
        model->forgetCells();
    }
    if (m_alarmRows) {
        m_alarmRows->forgotten = true;
    }
}

void MainWindowLists::buildMenus() {
    m_groupMenu = new QMenu("Alarm &groups", this);
    m_groupMenu->setObjectName("mnuAlarmgroup");
    const auto add = [this](QMenu* menu, const char* name, const QString& text, auto slot,
                            const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text, this, slot);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    add(m_groupMenu, "mnuAgAddNew", "&New alarm group...", [this] { newGroup(); });
    add(m_groupMenu, "mnuAgProperties", "&Properties...", [this] { editSelectedGroups(); });
    add(m_groupMenu, "mnuAgToggleOnOff", "S&witch on or off",
        [this] { setSelectedGroupsActivity(AlarmWatch::ActivityMode::Toggle); });
    add(m_groupMenu, "mnuAgTurnOn", "Switch &on",
        [this] { setSelectedGroupsActivity(AlarmWatch::ActivityMode::SwitchOn); });
    add(m_groupMenu, "mnuAgTurnOff", "Switch o&ff",
        [this] { setSelectedGroupsActivity(AlarmWatch::ActivityMode::SwitchOff); });
    m_groupMenu->addSeparator();
    add(m_groupMenu, "mnuAgImportFile", "&Import files...", [this] { importFiles(); });
    m_importPlugins = m_groupMenu->addMenu("Import wit&h");
    m_importPlugins->setObjectName("mnuAgImportPlugin");
    add(m_groupMenu, "mnuAgExportFile", "&Export...", [this] { exportSelectedGroups(); });
    m_exportPlugins = m_groupMenu->addMenu("E&xport with");
    m_exportPlugins->setObjectName("mnuAgExportPlugIn");
    m_gppMenu = new QMenu("&Tools", this);
    m_gppMenu->setObjectName("mnuGeneralGPP");
    connect(m_gppMenu, &QMenu::aboutToShow, this, [this] {
        // Asked in the background, the marks set as the answers come: a plug-in that hangs must freeze neither
        // the menu nor the alarms.
        PluginHost& plugins = m_core.plugins();
        for (QAction* action : m_gppMenu->actions()) {
            plugins.methodCallLater(
                action->data().toString().toStdString(), "GetStatus", plugins.lang(), false,
                [action = QPointer<QAction>(action)](const std::string& reply) {
                    if (action) {
                        action->setChecked(NumberText::parseBoolean(XMLNode::createFromXML(reply)->getString("active"))
                                               .value_or(false));
                    }
                });
        }
    });
    add(m_groupMenu, "mnuAgExportSel", "Export the selected groups as a &collection...",
        [this] { exportCollection(true); });
    add(m_groupMenu, "mnuAgExportCol", "Export &all groups as a collection...", [this] { exportCollection(false); });
    add(m_groupMenu, "mnuAgSynchronize", "S&ynchronise", [this] {
        m_core.groups().synchronizeAlarmGroups(selectedGroups());
        refresh();
    });
    m_groupMenu->addSeparator();
    add(m_groupMenu, "mnuAgSaveAll", "&Save all",
        [this] { m_core.groups().saveAllCommand([this](WriteTally& tally) { m_core.queueSettingsAndToDo(tally); }); });
    add(m_groupMenu, "mnuAgReloadAll", "&Reload all", [this] { m_core.groups().reloadAllCommand(); });
    add(m_groupMenu, "mnuAgUnload", "&Unload", [this] { unloadSelectedGroups(); });

    m_alarmMenu = new QMenu("&Alarms", this);
    m_alarmMenu->setObjectName("mnuAlarm");
    add(
        m_alarmMenu, "mnuAlAddNew", "&New alarm...", [this] { newAlarm(); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    add(m_alarmMenu, "mnuAlProperties", "&Properties...", [this] { editSelectedAlarms(); });
    add(m_alarmMenu, "mnuAlTest", "T&est", [this] { testSelectedAlarms(); });
    m_alarmMenu->addSeparator();
    add(m_alarmMenu, "mnuAlToggleActive", "Switch on or &off",
        [this] { setSelectedAlarmsActivity(AlarmWatch::ActivityMode::Toggle); });
    add(m_alarmMenu, "mnuAlTurnOn", "T&urn on",
        [this] { setSelectedAlarmsActivity(AlarmWatch::ActivityMode::SwitchOn); });
    add(m_alarmMenu, "mnuAlTurnOff", "Turn o&ff",
        [this] { setSelectedAlarmsActivity(AlarmWatch::ActivityMode::SwitchOff); });
    add(m_alarmMenu, "mnuAlTurnOffSnoozing", "Stop snoo&zing",
        [this] { setSelectedAlarmsActivity(AlarmWatch::ActivityMode::StopSnoozing); });
    m_alarmMenu->addSeparator();
    add(m_alarmMenu, "mnuAlCut", "Cu&t", [this] { copySelectedAlarms(true, false); });
    add(m_alarmMenu, "mnuAlCopy", "&Copy", [this] { copySelectedAlarms(false, false); });
    add(m_alarmMenu, "mnuAlPaste", "P&aste", [this] { pasteAlarms(false); });
    m_alarmMenu->addSeparator();
    add(m_alarmMenu, "mnuAlDelete", "&Delete", [this] { deleteSelectedAlarms(false); });
    add(m_alarmMenu, "mnuAlDeleteSounded", "Delete those that will not sound a&gain",
        [this] { deleteSelectedAlarms(true); });
    // No disabled command has a key, so the states matter only while a menu is open.
    connect(m_groupMenu, &QMenu::aboutToShow, this, &MainWindowLists::updateCommandStates);
    connect(m_alarmMenu, &QMenu::aboutToShow, this, &MainWindowLists::updateCommandStates);
}

void MainWindowLists::fillPluginMenus() {
    const struct {
        QMenu* menu;
        PluginHost::Type type;
        bool import;
    } menus[2] = {{m_importPlugins, PluginHost::Import, true}, {m_exportPlugins, PluginHost::Export, false}};
    for (const auto& m : menus) {
        m.menu->clear();
        for (const std::string& id : m_core.plugins().plugins(m.type)) {
            const std::string name = m_core.plugins().menuCaption(id);
            QAction* action = m.menu->addAction(QString::fromStdString(name.empty() ? id : name));
            const bool import = m.import;
            connect(action, &QAction::triggered, this, [this, id, import] {
                const BusyCursor busy;
                if (import) {
                    m_core.groups().importAlarmGroupsFromPlugin(id);
                } else {
                    const Vector<AlarmGroup> groups = selectedGroups();
                    for (int i = 0; i < groups.numberOfElements(); ++i) {
                        m_core.groups().exportToPluginCommand(id, groups.elementAt(i));
                    }
                }
                refresh();
            });
        }
    }
    m_gppMenu->clear();
    for (const std::string& id : m_core.plugins().plugins(PluginHost::GeneralPurpose)) {
        const std::string caption = m_core.plugins().menuCaption(id);
        QAction* action = m_gppMenu->addAction(QString::fromStdString(caption.empty() ? id : caption));
        action->setCheckable(true);
        action->setData(QString::fromStdString(id));
        connect(action, &QAction::triggered, this, [this, action, id] {
            // The check mark shows what the plug-in said before the click until it answers, and changes only on
            // success. The answer is waited for in the background, like every plug-in's.
            const bool running = !action->isChecked();
            action->setChecked(running);
            PluginHost& plugins = m_core.plugins();
            auto answered = [action = QPointer<QAction>(action), running](const std::string& reply) {
                if (action && XMLNode::createFromXML(reply)->getNodeIndex("success") >= 0) {
                    action->setChecked(!running);
                }
            };
            plugins.methodCallLater(id, running ? "Quit" : "Run", plugins.lang(), !running, std::move(answered));
        });
    }
    m_gppMenu->setEnabled(!m_gppMenu->isEmpty());
}

void MainWindowLists::importFiles() {
    // The file plug-ins' formats join the language file's filter (known from the background load).
    const std::string filter = m_core.plugins().buildFileFilter(m_texts.getText("Filters", filterGroupFiles), true);
    const std::vector<std::string> paths =
        m_messages.dialogs().chooseFilesToOpen(m_core.alarmGroupFolderPath(), filter, true);
    if (paths.empty()) {
        return;
    }
    m_core.groups().importFilesCommand(paths, [list = QPointer<MainWindowLists>(this)](bool) {
        if (list) {
            list->refresh();
        }
    });
}

void MainWindowLists::exportSelectedGroups() {
    const Vector<AlarmGroup> groups = selectedGroups();
    const std::string filter = m_core.plugins().buildFileFilter(m_texts.getText("Filters", filterExportGroup), false);
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        const auto& group = groups.elementAt(i);
        const std::string proposed =
            m_core.paths().home() + "/" + AlarmGroupCollection::makeFileName(group->name) + ".agx";
        const std::string file = m_messages.dialogs().chooseFileToSave(proposed, filter);
        if (file.empty()) {
            continue;
        }
        m_core.groups().exportFileCommand(group, file);
    }
}

void MainWindowLists::exportCollection(bool selectionOnly) {
    const Vector<AlarmGroup> groups = selectionOnly ? selectedGroups() : m_core.groups().alarmGroups;
    if (groups.numberOfElements() == 0) {
        return;
    }
    const std::string name = m_core.groups().proposedCollectionName(m_clock.now().date, selectionOnly);
    const std::string file = m_messages.dialogs().chooseFileToSave(m_core.paths().home() + "/" + name,
                                                                   m_texts.getText("Filters", filterCollection));
    if (file.empty()) {
        return;
    }
    const BusyCursor busy;
    m_core.groups().exportCollectionCommand(groups, file);
}

void MainWindowLists::editSelectedGroups() {
    const Vector<AlarmGroup> groups = selectedGroups();
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        frmAlarmGroupProperties dialog(groups.elementAt(i), m_core.groupServices(), &m_core.plugins(), editorServices(),
                                       this);
        if (dialog.exec() != QDialog::Accepted) {
            continue;
        }
        const std::int16_t kinds = GroupPropertiesLogic::apply(*groups.elementAt(i), dialog.form());
        Vector<AlarmGroup> changed;
        changed.addElement(groups.elementAt(i));
        m_core.watch().groupsChanged(changed, kinds);
    }
    refresh();
}

void MainWindowLists::translate() {
    const auto headers = [this](QTreeWidget* list, const char* section, std::initializer_list<int> numbers) {
        QStringList labels;
        for (int n : numbers) {
            labels << QString::fromStdString(m_texts.getText(section, n));
        }
        list->setHeaderLabels(labels);
    };
    headers(m_groups, "AlarmGroup", {201, 202, 203});
    headers(m_alarms, "Alarm", {201, 202, 203, 204, 205, 206, 207});
    QStringList seeTitles;
    for (int n : {301, 302, 303, 304}) {
        seeTitles << QString::fromStdString(m_texts.getText("frmHalvikaMain", n));
    }
    for (SeeAlarmsModel* see : m_seeModels) {
        see->setTitles(seeTitles);
    }
    const bool wasFilling = m_filling;
    m_filling = true;
    for (QComboBox* units : m_seeUnit) {
        const int current = units->currentIndex();
        units->clear();
        for (int p = 0; p < unitCount; ++p) {
            units->addItem(QString::fromStdString(
                m_texts.getStringsText(unitCodeOfListPosition(static_cast<std::int16_t>(p)) + 1)));
        }
        units->setCurrentIndex(current);
    }
    m_filling = wasFilling;
    fillPluginMenus(); // the captions are in the language just chosen once the plug-ins have answered
    refresh();
}

AlarmEditorLogic::Services MainWindowLists::editorServices() {
    return {m_clock, m_texts, m_messages, m_core.groups(), m_core.watch(), m_core.settings(), &m_core.paths()};
}

void MainWindowLists::applySettings() {
    SettingsStore& settings = m_core.settings();
    QFont font(QString::fromStdString(settings.listFont.name));
    font.setPointSizeF(settings.listFont.size > 1 && settings.listFont.size < 200 ? settings.listFont.size : 9);
    font.setBold(settings.listFont.bold);
    font.setItalic(settings.listFont.italic);
    font.setStrikeOut(settings.listFont.strikethrough);
    font.setUnderline(settings.listFont.underline);
    QTreeView* lists[4] = {m_groups, m_alarms, m_seeLists[0], m_seeLists[1]};
    for (int l = 0; l < 4; ++l) {
        QTreeView* list = lists[l];
        list->setFont(font);
        QHeaderView* header = list->header();
        const auto columns = ColumnLayout::read(*settings.layouts[static_cast<std::size_t>(l)], columnsOf(list));
        for (int c = 0; c < columnsOf(list); ++c) {
            header->setSectionHidden(c, true);
        }
        for (std::size_t position = 0; position < columns.size(); ++position) {
            const auto& column = columns[position];
            header->setSectionHidden(column.index, false);
            header->moveSection(header->visualIndex(column.index), static_cast<int>(position));
            // Never narrower than its own title (a layout made in another language may be too narrow), nor a
            // moment column than a moment in the chosen format and font.
            const QString title = titleOf(list, column.index);
            int least = list->fontMetrics().horizontalAdvance(title) + 16;
            const bool momentColumn = (l == 1 && column.index == 2) || (l >= 2 && column.index == 1);
            if (momentColumn) {
                const std::string& format = settings.displayFormats[l == 1 ? 0 : 1];
                const std::string widest = formatDate(format, Date::fromParts(2026, 12, 30, 20, 58, 58));
                least = std::max(least, list->fontMetrics().horizontalAdvance(QString::fromStdString(widest)) + 16);
            }
            list->setColumnWidth(column.index, std::max(column.width, least));
        }
    }
    m_dividersPending = true;
    placeDividers();
    m_filling = true;
    for (int i = 0; i < 2; ++i) {
        m_seeShown[i]->setChecked(settings.seeAlarmsShown[static_cast<std::size_t>(i)] != 0);
        m_seeAmount[i]->setValue(settings.seeAlarmsAmount[static_cast<std::size_t>(i)]);
        m_seeUnit[i]->setCurrentIndex(listPositionOfUnitCode(settings.seeAlarmsUnit[static_cast<std::size_t>(i)]));
        m_seeLists[i]->setEnabled(m_seeShown[i]->isChecked());
    }
    m_filling = false;
}

void MainWindowLists::placeDividers() {
    // Only once the splitters have their real size: the rest is measured from it.
    if (!m_dividersPending || !isVisible() || m_splitters[0]->width() <= 0) {
        return;
    }
    m_dividersPending = false;
    // The group list's width, the lower area's height, the to-do note's and the recent list's widths; the
    // alarm list and the coming list take the rest.
    const auto& dv = m_core.settings().dividers;
    const auto sane = [](int v) { return std::clamp(v, 40, 4000); };
    m_splitters[0]->setSizes({sane(dv[0]), std::max(200, m_splitters[0]->width() - sane(dv[0]))});
    m_splitters[1]->setSizes({std::max(150, m_splitters[1]->height() - sane(dv[1])), sane(dv[1])});
    m_splitters[2]->setSizes(
        {std::max(150, m_splitters[2]->width() - sane(dv[2]) - sane(dv[3])), sane(dv[3]), sane(dv[2])});
}

void MainWindowLists::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeDividers();
}

void MainWindowLists::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeDividers();
}

void MainWindowLists::takeSettings() {
    auto& dv = m_core.settings().dividers;
    const auto size = [](QSplitter* splitter, int index) {
        const QList<int> sizes = splitter->sizes();
        return static_cast<std::int16_t>(index < sizes.size() ? std::clamp(sizes[index], 0, 30000) : 0);
    };
    // Not shown since the settings came: the stored dividers are still the user's.
    if (!m_dividersPending && m_splitters[0]->width() > 0) {
        dv[0] = size(m_splitters[0], 0);
        dv[1] = size(m_splitters[1], 1);
        dv[2] = size(m_splitters[2], 2);
        dv[3] = size(m_splitters[2], 1);
    }
    const QTreeView* lists[4] = {m_groups, m_alarms, m_seeLists[0], m_seeLists[1]};
    for (int l = 0; l < 4; ++l) {
        const QHeaderView* header = lists[l]->header();
        std::vector<ColumnLayout::Column> columns;
        for (int position = 0; position < header->count(); ++position) {
            const int index = header->logicalIndex(position);
            if (!header->isSectionHidden(index)) {
                columns.push_back({index, header->sectionSize(index)});
            }
        }
        m_core.settings().layouts[static_cast<std::size_t>(l)] = ColumnLayout::write(layoutNames[l], columns);
    }
}

void MainWindowLists::chooseColumns(QTreeView* list, const QPoint& at) {
    QMenu menu(this);
    QHeaderView* header = list->header();
    for (int c = 0; c < columnsOf(list); ++c) {
        QAction* action = menu.addAction(titleOf(list, c));
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(c));
        connect(action, &QAction::toggled, this, [list, header, c](bool shown) {
            // At least one column stays.
            if (!shown && header->count() - header->hiddenSectionCount() <= 1) {
                return;
            }
            header->setSectionHidden(c, !shown);
            if (shown && list->columnWidth(c) < ColumnLayout::minimumWidth) {
                list->setColumnWidth(c, ColumnLayout::defaultWidth);
            }
        });
    }
    menu.exec(header->mapToGlobal(at));
    m_core.markSettingsChanged();
}

void MainWindowLists::seeAlarmsControlsChanged(int list) {
    if (m_filling) {
        return;
    }
    const auto i = static_cast<std::size_t>(list);
    SettingsStore& settings = m_core.settings();
    settings.seeAlarmsShown[i] = m_seeShown[list]->isChecked() ? 1 : 0;
    settings.seeAlarmsAmount[i] = static_cast<std::int16_t>(m_seeAmount[list]->value());
    settings.seeAlarmsUnit[i] =
        unitCodeOfListPosition(static_cast<std::int16_t>(std::max(0, m_seeUnit[list]->currentIndex())));
    m_core.refreshWatchSettings();
    m_seeLists[list]->setEnabled(m_core.watchSettings().seeAlarmsShown[i]);
    m_core.watch().rebuildSeeAlarmsList(list);
    m_core.markSettingsChanged();
    fillSeeAlarms(list);
}

void MainWindowLists::refresh() {
    m_filling = true;
    fillGroups();
    fillAlarms();
    fillSeeAlarms(0);
    fillSeeAlarms(1);
    if (m_toDo->toPlainText().toStdString() != m_core.toDo()) {
        m_toDo->setPlainText(QString::fromStdString(m_core.toDo()));
    }
    m_filling = false;
}

void MainWindowLists::updateCommandStates() {
    CommandAvailability::Situation now;
    now.groups = m_core.groups().alarmGroups.numberOfElements();
    const Vector<AlarmGroup> groups = selectedGroups();
    now.selectedGroups = groups.numberOfElements();
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        now.selectedSynchronised += groups.elementAt(i)->synchPlugin.empty() ? 0 : 1;
    }
    now.selectedAlarms = selectedAlarms().numberOfElements();
    now.clipboardHasAlarms = m_core.groups().ClipboardAlarms->getNodeIndex("al") >= 0;
    for (QMenu* menu : {m_groupMenu, m_alarmMenu}) {
        for (QAction* action : menu->actions()) {
            const QMenu* sub = action->menu();
            const std::string name = (sub != nullptr ? sub->objectName() : action->objectName()).toStdString();
            if (!name.empty()) {
                action->setEnabled(CommandAvailability::enabled(name, now) && (sub == nullptr || !sub->isEmpty()));
            }
        }
    }
}

void MainWindowLists::fillGroups() {
    const auto current = currentGroup();
    const Vector<AlarmGroup> selected = selectedGroups();
    const bool wasFilling = m_filling;
    m_filling = true;
    m_groups->clear();
    m_shownGroups.clear();
    const Vector<AlarmGroup>& all = m_core.groups().alarmGroups;
    TextBrushes brushes(palette());
    for (int i = 0; i < all.numberOfElements(); ++i) {
        const auto& group = all.elementAt(i);
        if (group->hidden) {
            continue;
        }
        auto* item = new ListItem(m_groups);
        item->setData(0, shownIndexRole, m_shownGroups.numberOfElements());
        const auto cells = group->getStringItems(m_core.groupServices());
        for (int c = 0; c < 3; ++c) {
            item->setText(c, QString::fromStdString(cells[static_cast<std::size_t>(c)].first));
            item->setForeground(c, brushes.forText(cells[static_cast<std::size_t>(c)].second));
        }
        m_shownGroups.addElement(group);
        if (selected.contains(group)) {
            item->setSelected(true);
        }
        if (group == current) {
            m_groups->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        }
    }
    sortList(m_groups, m_core.settings().groupSortColumn, m_core.settings().groupSortDescending);
    if (m_core.settings().groupSortColumn >= 0) {
        // The sorted list is the collection's order: moving and sounding follow what the user sees.
        Vector<AlarmGroup> order;
        for (int i = 0; i < m_groups->topLevelItemCount(); ++i) {
            order.addElement(m_shownGroups.elementAt(shownIndex(m_groups->topLevelItem(i))));
        }
        if (m_core.groups().orderShownGroups(order)) {
            m_shownGroups = order;
            for (int i = 0; i < m_groups->topLevelItemCount(); ++i) {
                m_groups->topLevelItem(i)->setData(0, shownIndexRole, i);
            }
            m_core.watch().updateUpcoming();
        }
    }
    if (!m_groups->currentItem() && m_groups->topLevelItemCount() > 0) {
        m_groups->setCurrentItem(m_groups->topLevelItem(0));
    }

    m_filling = wasFilling;
}

void MainWindowLists::fillAlarms() {
    const Vector<Alarm> selected = selectedAlarms();
    m_alarms->clear();
    m_shownAlarms.clear();
    const auto group = currentGroup();
    m_alarmsLabel->setText(group ? QString::fromStdString(group->name) : QString());
    if (!group) {
        return;
    }
    AlarmTexts context(m_texts, m_core.colours());
    context.dateFormat = m_core.settings().displayFormats[0];
    context.toolTips = m_core.settings().showToolTips;
    context.now = m_core.watch().correctedNow();
    context.groupColour = [](const Alarm& a) {
        const auto g = a.parent.lock();
        return g ? g->Color : 0;
    };
    if (m_alarmRows) {
        m_alarmRows->forgotten = true; // rows of the last fill still on their way out ask nothing more
    }
    m_alarmRows = std::make_shared<AlarmRows>(std::move(context), palette());
    for (int i = 0; i < group->alarms.numberOfElements(); ++i) {
        const auto& alarm = group->alarms.elementAt(i);
        if (alarm->hidden) {
            continue;
        }
        auto* item = new AlarmListItem(m_alarms, m_alarmRows, alarm, m_shownAlarms.numberOfElements(),
                                       m_core.settings().alarmSortColumn);
        m_shownAlarms.addElement(alarm);
        item->setSelected(selected.contains(alarm));
    }
    sortList(m_alarms, m_core.settings().alarmSortColumn, m_core.settings().alarmSortDescending);
}

void MainWindowLists::fillSeeAlarms(int list) {
    QTreeView* view = m_seeLists[list];
    SeeAlarmsModel* model = m_seeModels[list];
    // The selection stays with its entries (alarm and moment) across updates.
    std::vector<std::pair<const Alarm*, Date>> selected;
    for (const int row : selectedRows(list)) {
        selected.emplace_back(model->alarms().elementAt(row).get(), model->moments()[static_cast<std::size_t>(row)]);
    }
    const auto& entries = m_core.watch().seeAlarmsList(list);
    std::vector<Date> moments;
    moments.reserve(static_cast<std::size_t>(entries.alarms.numberOfElements()));
    for (int i = 0; i < entries.alarms.numberOfElements(); ++i) {
        moments.push_back(entries.moments.dateAt(i));
    }
    // The texts of a row are made when it is shown, as they would have been made now.
    const Date now = m_core.watch().correctedNow();
    model->show(entries.alarms, std::move(moments),
                [this, now](const Alarm& alarm, const Date& moment, int column, int role) -> QVariant {
                    if (role == Qt::ForegroundRole) {
                        // The name in its group's colour when a scheme is chosen; the moment by its nearness to now.
                        std::string colour;
                        if (column == 0) {
                            const auto group = alarm.parent.lock();
                            colour =
                                !m_core.colours().schemeName().empty() && group ? std::to_string(group->Color) : "";
                        } else if (column == 1) {
                            colour = m_core.colours().getTimeGradientColourText(now, moment, 21, 22);
                        }
                        return QBrush(PaletteColours::forText(colour, palette()));
                    }
                    AlarmTexts context(m_texts, m_core.colours());
                    context.dateFormat = m_core.settings().displayFormats[1];
                    switch (column) {
                    case 0:
                        return QString::fromStdString(alarm.name);
                    case 1:
                        return QString::fromStdString(formatDate(m_core.settings().displayFormats[1], moment));
                    case 2:
                        return QString::fromStdString(alarm.getDateTimeDescriptionItems(context).first);
                    default:
                        return QString::fromStdString(alarm.getActionDescriptionItems(context).first);
                    }
                });
    QItemSelection reselected;
    for (int row = 0; row < model->rowCount(); ++row) {
        const std::pair<const Alarm*, Date> key(model->alarms().elementAt(row).get(),
                                                model->moments()[static_cast<std::size_t>(row)]);
        if (std::find(selected.begin(), selected.end(), key) != selected.end()) {
            reselected.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
        }
    }
    view->selectionModel()->select(reselected, QItemSelectionModel::Select);
}

std::vector<int> MainWindowLists::selectedRows(int list) const {
    std::vector<int> rows;
    for (const QModelIndex& index : m_seeLists[list]->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

Vector<AlarmGroup> MainWindowLists::selectedGroups() const {
    Vector<AlarmGroup> selected;
    for (int i = 0; i < m_groups->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_groups->topLevelItem(i);
        if (item->isSelected() && shownIndex(item) < m_shownGroups.numberOfElements()) {
            selected.addElement(m_shownGroups.elementAt(shownIndex(item)));
        }
    }
    return selected;
}

void MainWindowLists::setShownView(HalvikaCalendarLogic* calendar, std::int16_t view) {
    m_calendar = calendar;
    m_shownView = calendar ? view : 0;
}

Vector<Alarm> MainWindowLists::selectedAlarms() const {
    if (m_shownView > 0) {
        return m_calendar->getSelectedAlarms();
    }
    Vector<Alarm> selected;
    for (int i = 0; i < m_alarms->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_alarms->topLevelItem(i);
        if (item->isSelected() && shownIndex(item) < m_shownAlarms.numberOfElements()) {
            selected.addElement(m_shownAlarms.elementAt(shownIndex(item)));
        }
    }
    return selected;
}

Vector<Alarm> MainWindowLists::seeAlarmsSelection(int list) const {
    Vector<Alarm> selected;
    for (const int row : selectedRows(list)) {
        const auto& alarm = m_seeModels[list]->alarms().elementAt(row);
        if (!selected.contains(alarm)) {
            selected.addElement(alarm);
        }
    }
    return selected;
}

std::shared_ptr<AlarmGroup> MainWindowLists::currentGroup() const {
    const QTreeWidgetItem* item = m_groups->currentItem();
    const int index = item ? shownIndex(item) : -1;
    return index >= 0 && index < m_shownGroups.numberOfElements() ? m_shownGroups.elementAt(index) : nullptr;
}

void MainWindowLists::selectGroup(const std::shared_ptr<AlarmGroup>& group) {
    const int index = m_shownGroups.indexOf(group);
    for (int i = 0; i < m_groups->topLevelItemCount(); ++i) {
        if (shownIndex(m_groups->topLevelItem(i)) == index) {
            m_groups->setCurrentItem(m_groups->topLevelItem(i));
        }
    }
}

void MainWindowLists::sortList(QTreeWidget* list, std::int16_t column, bool descending) {
    if (column >= 0 && column < list->columnCount()) {
        list->header()->setSortIndicatorShown(true);
        list->header()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        list->sortItems(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    } else {
        list->header()->setSortIndicatorShown(false);
    }
}

void MainWindowLists::headerClicked(bool groups, int column) {
    SettingsStore& settings = m_core.settings();
    std::int16_t& sortColumn = groups ? settings.groupSortColumn : settings.alarmSortColumn;
    bool& descending = groups ? settings.groupSortDescending : settings.alarmSortDescending;
    if (sortColumn == column) {
        descending = !descending;
    } else {
        sortColumn = static_cast<std::int16_t>(column);
        descending = false;
    }
    m_core.markSettingsChanged();
    refresh();
}

void MainWindowLists::newGroup() {
    auto group = AlarmGroup::createDefaultAlarmGroup(m_core.groupServices());
    frmAlarmGroupProperties dialog(group, m_core.groupServices(), &m_core.plugins(), editorServices(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return; // the group joins only when the dialog is confirmed
    }
    GroupPropertiesLogic::apply(*group, dialog.form());
    m_core.groups().addGroupCommand(group);
    refresh();
    selectGroup(group);
}

void MainWindowLists::newAlarm() {
    const auto alarm = m_core.groups().newAlarmCommand(currentGroup(), true);
    if (!alarm) {
        return;
    }
    refresh();
    Vector<Alarm> alarms;
    alarms.addElement(alarm);
    editAlarms(alarms, AlarmEditorLogic::newAlarm);
}

void MainWindowLists::newAlarmAt(const Date& moment) {
    const auto alarm = m_core.groups().newAlarmCommand(currentGroup(), true);
    if (!alarm) {
        return;
    }
    (alarm->momentKind == 0 ? alarm->onceDate : alarm->nextDate) = moment;
    alarm->setChanged();
    refresh();
    Vector<Alarm> alarms;
    alarms.addElement(alarm);
    editAlarms(alarms, AlarmEditorLogic::newAlarm);
}

void MainWindowLists::editAlarms(const Vector<Alarm>& alarms, AlarmEditorLogic::Mode mode) {
    frmAlarmProperties editor(editorServices(), &m_core.plugins(), this);
    editor.setAlarms(alarms, mode);
    editor.exec();
    refresh();
}

void MainWindowLists::editSelectedAlarms() {
    const Vector<Alarm> alarms = selectedAlarms();
    if (alarms.numberOfElements() > 0) {
        editAlarms(alarms, AlarmEditorLogic::existingAlarms);
    }
}

void MainWindowLists::deleteSelectedAlarms(bool soundedOnly) {
    const Vector<Alarm> alarms = selectedAlarms();
    if (alarms.numberOfElements() > 0) {
        m_core.groups().deleteAlarms(alarms, soundedOnly, m_core.watch().correctedNow());
        refresh();
    }
}

void MainWindowLists::setSelectedAlarmsActivity(AlarmWatch::ActivityMode mode) {
    const Vector<Alarm> alarms = selectedAlarms();
    if (alarms.numberOfElements() > 0) {
        m_core.watch().setActivity(alarms, mode);
        refresh();
    }
}

void MainWindowLists::setSelectedGroupsActivity(AlarmWatch::ActivityMode mode) {
    const Vector<AlarmGroup> groups = selectedGroups();
    if (groups.numberOfElements() > 0) {
        m_core.watch().setActivity(groups, mode);
        refresh();
    }
}

void MainWindowLists::testSelectedAlarms() {
    const Vector<Alarm> alarms = selectedAlarms();
    if (alarms.numberOfElements() > 0) {
        m_core.watch().testAlarms(alarms);
    }
}

void MainWindowLists::showCustomActionWindow() {
    if (!m_customAction) {
        m_customAction = Alarm::createDefaultAlarm(m_texts);
        m_customAction->name = m_texts.getText("frmAlarmProperties", textRunActionNow);
    }
    Vector<Alarm> alarms;
    alarms.addElement(m_customAction);
    frmAlarmProperties editor(editorServices(), &m_core.plugins(), this);
    editor.setAlarms(alarms, AlarmEditorLogic::templateAlarm);
    editor.setWindowTitle(QString::fromStdString(m_texts.getText("frmAlarmProperties", textRunActionNow)));
    if (editor.exec() == QDialog::Accepted) {
        m_core.watch().testAlarms(alarms);
    }
}

void MainWindowLists::copySelectedAlarms(bool cut, bool toSystem) {
    const Vector<Alarm> alarms = selectedAlarms();
    if (alarms.numberOfElements() > 0) {
        m_core.groups().copyAlarms(alarms, cut, m_shownView, m_shownView > 0 ? m_calendar->copyOffset() : 0,
                                   toSystem ? &m_systemClipboard : nullptr);
        refresh();
    }
}

void MainWindowLists::pasteAlarms(bool fromSystem) {
    if (m_shownView > 0) {
        // Into the copied alarms' own group, moved to the selected period when copied in this view.
        m_core.groups().pasteAlarms(currentGroup(), fromSystem ? &m_systemClipboard : nullptr,
                                    [this](Alarm& alarm, std::int16_t view, std::int32_t offset) {
                                        if (view == m_shownView) {
                                            m_calendar->shiftPasted(alarm, offset);
                                        }
                                    });
        refresh();
    } else if (const auto group = currentGroup()) {
        m_core.groups().pasteAlarms(group, fromSystem ? &m_systemClipboard : nullptr);
        refresh();
    }
}

void MainWindowLists::unloadSelectedGroups() {
    const Vector<AlarmGroup> groups = selectedGroups();
    if (groups.numberOfElements() > 0) {
        m_core.groups().unloadCommand(groups);
        refresh();
    }
}

void MainWindowLists::moveSelected(bool groups, int step) {
    if (groups) {
        // Moving starts from the order shown, which a sorted list has already made the collection's.
        if (!m_core.groups().moveGroup(currentGroup(), step)) {
            return;
        }
        m_core.settings().groupSortColumn = -1; // the user's order from now on
        m_core.watch().requestWork(AlarmWatch::settingsChanged);
        m_core.watch().updateUpcoming(); // alarms due together sound in the new order
        refresh();
        return;
    }
    const auto group = currentGroup();
    const Vector<Alarm> alarms = selectedAlarms();
    if (!group || alarms.numberOfElements() != 1) {
        return;
    }
    if (!m_core.groups().moveAlarm(group, alarms.elementAt(0), step)) {
        return;
    }
    m_core.settings().alarmSortColumn = -1;
    m_core.watch().requestWork(AlarmWatch::alarmDataChanged | AlarmWatch::settingsChanged);
    refresh();
}

void MainWindowLists::changeEvent(QEvent* event) {
    // A desktop theme switched at run time: the system colours in the lists follow it.
    if (event->type() == QEvent::PaletteChange) {
        refresh();
    }
    QWidget::changeEvent(event);
}

bool MainWindowLists::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool control = key->modifiers() & Qt::ControlModifier;
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const bool onGroups = watched == m_groups;
    const bool onAlarms = watched == m_alarms;
    if (!onGroups && !onAlarms) {
        return QWidget::eventFilter(watched, event);
    }
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (control) {
            moveSelected(onGroups, key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onAlarms ? editSelectedAlarms() : editSelectedGroups();
        return true;
    case Qt::Key_Delete:
        onGroups ? unloadSelectedGroups() : deleteSelectedAlarms(false);
        return true;
    case Qt::Key_X:
    case Qt::Key_C:
        if (control && onAlarms) {
            copySelectedAlarms(key->key() == Qt::Key_X, shift);
            return true;
        }
        break;
    case Qt::Key_V:
        if (control) {
            pasteAlarms(shift);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace halvika
