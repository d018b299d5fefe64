// Fuzzes the XML parser, the writer and the typed getters with arbitrary text.
#include "xml/XMLNode.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Names are written unescaped, so only trees whose names are plain words must survive a round trip.
bool plainNames(const halvika::XMLNode& node) {
    if (node.name.empty()) {
        return false;
    }
    for (const char c : node.name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.' && c != ':') {
            return false;
        }
    }
    for (int i = 0; i < node.getNumberOfNodes(); ++i) {
        if (!plainNames(*node.getNodeAt(i))) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto node = std::make_shared<halvika::XMLNode>();
    const bool failed = node->initializeFromXML(text).failed();
    const std::string written = node->toString();

    if (!failed && plainNames(*node) && halvika::XMLNode::createFromXML(written)->toString() != written) {
        std::abort();
    }
    for (int i = 0; i < node->getNumberOfNodes() && i < 16; ++i) {
        const std::string name(node->getNodeAt(i)->name);
        (void)node->getInteger(name, 0, 1);
        (void)node->getLong(name, 0, 1);
        (void)node->getBoolean(name, 0, true);
        (void)node->getDate(name, 0);
        (void)node->getSingle(name, 0, 1.5f);
        (void)node->getDouble(name, 0, 2.5);
    }
    return 0;
}
