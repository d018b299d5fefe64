#include "editing/ColumnLayout.h"

#include <algorithm>
#include <cmath>

namespace halvika {

std::vector<ColumnLayout::Column> ColumnLayout::read(const XMLNode& layout, int columnCount) {
    std::vector<Column> columns;
    std::vector<bool> seen(static_cast<std::size_t>(std::max(columnCount, 0)), false);
    const int count = layout.getNumberOfNodesWithName("clm");
    for (int i = 0; i < count; ++i) {
        const XMLNodePtr clm = layout.getNode("clm", i);
        const int index = clm->getInteger("i", 0, -1);
        if (index < 0 || index >= columnCount || seen[static_cast<std::size_t>(index)]) {
            continue;
        }
        seen[static_cast<std::size_t>(index)] = true;
        // Widths are written as Single; anything unreadable or absurd gets a usable width.
        const float raw = clm->getSingle("w", 0, defaultWidth);
        int width = std::isfinite(raw) ? static_cast<int>(std::lround(std::clamp(raw, -1.0f, 1.0e6f))) : defaultWidth;
        if (width < minimumWidth || width > maximumWidth) {
            width = width < minimumWidth ? defaultWidth : maximumWidth;
        }
        columns.push_back({index, width});
    }
    if (columns.empty() && columnCount > 0) {
        columns.push_back({0, defaultWidth});
    }
    return columns;
}

XMLNodePtr ColumnLayout::write(std::string_view name, const std::vector<Column>& columns) {
    auto layout = XMLNode::Create(name);
    for (const Column& c : columns) {
        auto clm = XMLNode::Create("clm");
        clm->addInteger("i", static_cast<std::int16_t>(c.index));
        clm->addSingle("w", static_cast<float>(c.width));
        layout->addNode(clm);
    }
    return layout;
}

} // namespace halvika
