// Small helpers for looking at XML trees in tests.
#pragma once

#include "xml/XMLNode.h"

#include <string>
#include <vector>

namespace halvika::test {

/// The names of a node's children, in order.
inline std::vector<std::string> childNames(const XMLNode& node) {
    std::vector<std::string> names;
    for (int i = 0; i < node.getNumberOfNodes(); ++i) {
        names.emplace_back(node.getNodeAt(i)->name);
    }
    return names;
}

} // namespace halvika::test
