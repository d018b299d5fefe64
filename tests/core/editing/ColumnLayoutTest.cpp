// Column layouts read from the settings, mended when absurd, and written back in display order.
#include "editing/ColumnLayout.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(ColumnLayoutTest, LayoutsReadInDisplayOrderAndAbsurdEntriesAreMended) {
    auto layout = XMLNode::createFromXML("<al><clm><i>2</i><w>134</w></clm><clm><i>0</i><w>122.6</w></clm>"
                                         "<clm><i>9</i><w>50</w></clm><clm><i>2</i><w>70</w></clm>"
                                         "<clm><i>x</i><w>5</w></clm><clm><i>1</i><w>-4</w></clm>"
                                         "<clm><i>3</i><w>1e30</w></clm></al>");
    const auto columns = ColumnLayout::read(*layout, 7);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].index, 2);
    EXPECT_EQ(columns[0].width, 134);
    EXPECT_EQ(columns[1].index, 0);
    EXPECT_EQ(columns[1].width, 123);
    EXPECT_EQ(columns[2].width, ColumnLayout::defaultWidth);
    EXPECT_EQ(columns[3].width, ColumnLayout::maximumWidth);

    // Nothing usable: the first column is shown.
    const auto fallback = ColumnLayout::read(*XMLNode::createFromXML("<ag><clm><i>7</i></clm></ag>"), 3);
    ASSERT_EQ(fallback.size(), 1u);
    EXPECT_EQ(fallback[0].index, 0);

    // Written back, it reads as itself.
    const auto written = ColumnLayout::write("al", columns);
    EXPECT_EQ(written->name, "al");
    const auto again = ColumnLayout::read(*written, 7);
    ASSERT_EQ(again.size(), columns.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].index, columns[i].index);
        EXPECT_EQ(again[i].width, columns[i].width);
    }
}

} // namespace
} // namespace halvika
