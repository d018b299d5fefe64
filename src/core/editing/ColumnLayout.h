// Which columns a list shows, in which order and how wide: the settings' layout elements.
#pragma once

#include "xml/XMLNode.h"

#include <string_view>
#include <vector>

namespace halvika {

class ColumnLayout {
public:
    struct Column {
        int index = 0; ///< the column's number in the list's full set of columns
        int width = 0; ///< pixels
    };

    /// The "clm" children in display order; columns outside 0..columnCount-1, repeated ones and absurd
    /// widths are left out or mended. A layout that leaves no column shows the first one.
    static std::vector<Column> read(const XMLNode& layout, int columnCount);
    /// The layout element `name` for the columns as shown, in display order.
    static XMLNodePtr write(std::string_view name, const std::vector<Column>& columns);

    static constexpr int minimumWidth = 16;
    static constexpr int maximumWidth = 2000;
    static constexpr int defaultWidth = 100;
};

} // namespace halvika
