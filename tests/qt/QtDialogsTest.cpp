// Message box styles map to the right buttons, icons and default button.
#include "platform/QtDialogs.h"
#include "qt/QtTestApp.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(QtDialogs, StylesMapToButtonsIconsAndDefaults) {
    test::ensureQtApp();
    struct Case {
        int style;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
    };
    const Case cases[] = {
        {52, QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning, QMessageBox::Yes},
        {308, QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning, QMessageBox::No},
        {36, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, QMessageBox::Yes},
        {48, QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok},
        {16, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        QMessageBox box;
        QtDialogs::applyStyle(box, c.style);
        EXPECT_EQ(box.standardButtons(), c.buttons);
        EXPECT_EQ(box.icon(), c.icon);
        EXPECT_EQ(box.defaultButton(), box.button(c.defaultButton));
    }
    EXPECT_EQ(QtDialogs::answerFor(QMessageBox::Yes), Dialogs::answerYes);
    EXPECT_EQ(QtDialogs::answerFor(QMessageBox::No), Dialogs::answerNo);
    EXPECT_EQ(QtDialogs::answerFor(QMessageBox::Ok), Dialogs::answerOk);
}

TEST(QtDialogs, AnswerComesFromTheClickedButton) {
    test::ensureQtApp();
    QtDialogs dialogs;
    QString seenText;
    QTimer::singleShot(0, [&seenText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.messageBox("Halvika", "Continue?", 36), Dialogs::answerNo);
    EXPECT_EQ(seenText, "Continue?");

    // Closed by the program's end (its windows are hidden): no button, so the answer is the cautious one,
    // even where Yes is the default.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->hide(); });
    EXPECT_EQ(dialogs.messageBox("Halvika", "Unload anyway?", Dialogs::styleYesNo), Dialogs::answerNo);
}

TEST(QtDialogs, ANoticeIsShownWithoutWaitingAndGoesWhenClosed) {
    test::ensureQtApp();
    QtDialogs dialogs;
    // Returns at once: nothing runs the box's own event loop, and no modal box holds the timers back.
    dialogs.showNotice("Halvika", "Groups not saved", 48);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QMessageBox* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            shown = box;
        }
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), "Groups not saved");
    EXPECT_EQ(shown->icon(), QMessageBox::Warning);
    QPointer<QMessageBox> watched = shown;
    shown->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return watched.isNull(); }));
}

} // namespace
} // namespace halvika
