// File-dialog filters in the language files' form, as the desktop's dialogs need them.
#include "text/FileDialogFilter.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(FileDialogFilter, EntriesAreReadShownAndGiveTheirExtensionToBareNames) {
    const auto entries =
        FileDialogFilter::parse("All (*.agx;*.ics)|*.agx; *.ics|Sounds|*.wav;*.wav|No patterns||dangling");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "All");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.agx", "*.ics"}));
    EXPECT_EQ(FileDialogFilter::shownForm(entries[0]), "All (*.agx *.ics)");
    EXPECT_EQ(FileDialogFilter::shownForm(entries[1]), "Sounds (*.wav)"); // the repeated pattern once
    EXPECT_TRUE(FileDialogFilter::parse("").empty());

    const auto ics = FileDialogFilter::parse("iCalendar (*.ics)|*.ics")[0];
    EXPECT_EQ(FileDialogFilter::withChosenExtension("/home/u/work", ics), "/home/u/work.ics");
    EXPECT_EQ(FileDialogFilter::withChosenExtension("/home/u/work.agx", ics), "/home/u/work.agx"); // typed one
    EXPECT_EQ(FileDialogFilter::withChosenExtension("/home/u.d/work", ics), "/home/u.d/work.ics");
    EXPECT_EQ(FileDialogFilter::withChosenExtension("/home/u/work", entries[0]), "/home/u/work"); // two: no guess
    EXPECT_EQ(FileDialogFilter::withChosenExtension("/x/y", FileDialogFilter::parse("All|*.*")[0]), "/x/y");
}

} // namespace
} // namespace halvika
