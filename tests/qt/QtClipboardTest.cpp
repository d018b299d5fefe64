// Alarms copied to the desktop's clipboard come back from it.
#include "platform/QtClipboard.h"
#include "qt/QtTestApp.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(QtClipboard, TextGoesToTheDesktopAndBack) {
    test::ensureQtApp();
    QtClipboard clipboard;
    const std::string document = "<cb><al><name>Caf\xC3\xA9</name></al><cc>0</cc></cb>";
    clipboard.setText(document);
    EXPECT_EQ(clipboard.text(), document);
    clipboard.clear();
    EXPECT_EQ(clipboard.text(), "");
}

} // namespace
} // namespace halvika
