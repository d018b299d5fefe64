// An XML element kept as its text until it is first used.
#pragma once

#include "xml/XMLNode.h"

#include <string>
#include <string_view>

namespace halvika {

/// Most alarms' action settings are only read from their file and written back; a node tree each would cost
/// several times their text for as long as the alarms are loaded. The element is read from its text the
/// first time it is used, and is kept as a node from then on.
class StoredNode {
public:
    /// An empty element `name`.
    explicit StoredNode(std::string_view name);

    /// Takes the node itself, not a copy: a change through either is seen by both. None counts as an empty
    /// element of the same name.
    StoredNode& operator=(XMLNodePtr node);
    /// Keeps a copy of `element`.
    void keepCopyOf(const XMLNode& element);

    XMLNode* operator->() const { return &node(); }
    XMLNode& operator*() const { return node(); }
    /// The element, read from its text on first use.
    XMLNode& node() const;
    /// Whether the element is still kept as text.
    bool isText() const { return m_node == nullptr; }
    /// The element's XML text, without reading it into a node.
    std::string toString() const;
    /// A deep copy, for writing it out.
    XMLNodePtr getCopy() const;

private:
    mutable std::string m_text;
    mutable XMLNodePtr m_node;
};

} // namespace halvika
