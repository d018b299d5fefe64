// Every menu of the main window and the tray, in every shipped language: no two entries share a mnemonic,
// so that Alt and a letter always reaches the one entry it names.
#include "app/CoreSubsystems.h"
#include "app/HalvikaApp.h"
#include "fakes/CoreTestRig.h"
#include "fakes/MemoryClipboard.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingSubsystems.h"
#include "fakes/RecordingViews.h"
#include "qt/MainWindowRig.h"
#include "qt/QtTestApp.h"
#include "windows/Translatable.h"
#include "windows/TrayIcon.h"
#include "windows/frmHalvikaMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <map>

namespace halvika {
namespace {

/// The entries of one menu that share a mnemonic with an earlier one, as "text / text".
QStringList clashes(const QList<QAction*>& actions) {
    std::map<QChar, QString> seen;
    QStringList found;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        const QString text = action->text();
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') {
                continue;
            }
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            const QChar key = text[i + 1].toLower();
            if (const auto it = seen.find(key); it != seen.end()) {
                found << it->second + " / " + text;
            } else {
                seen.emplace(key, text);
            }
            break;
        }
    }
    return found;
}

class MenuMnemonicsTest : public ::testing::Test, protected test::MainWindowRig {
protected:
    MenuMnemonicsTest() {
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><lng>English</lng></settings>");
        core.mainStart(false);
        window.setCore(core, clock, systemClipboard, watchReports);
    }
    TrayIcon tray;
};

TEST_F(MenuMnemonicsTest, NoTwoEntriesOfAMenuShareAMnemonicInAnyLanguage) {
    for (const char* language : {"English", "Deutsch"}) {
        app.translation().setLanguage(language);
        Translatable::translateAll();
        tray.translate(app.translation());
        std::vector<std::pair<QString, QList<QAction*>>> menus{{"menu bar", window.menuBar()->actions()},
                                                               {"tray", tray.menu()->actions()}};
        for (QMenu* menu : window.findChildren<QMenu*>()) {
            menus.emplace_back(menu->objectName().isEmpty() ? menu->title() : menu->objectName(), menu->actions());
        }
        ASSERT_GT(menus.size(), 6u);
        for (const auto& [name, actions] : menus) {
            EXPECT_EQ(clashes(actions), QStringList{}) << language << ", " << name.toStdString();
        }
    }
    app.translation().setLanguage("English");
    Translatable::translateAll();
}

} // namespace
} // namespace halvika
