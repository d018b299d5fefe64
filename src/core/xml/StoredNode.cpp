#include "xml/StoredNode.h"

#include <utility>

namespace halvika {

StoredNode::StoredNode(std::string_view name) {
    // Short names stay within the string itself: an empty element costs no allocation.
    const std::string tag(name);
    m_text = "<" + tag + "></" + tag + ">";
}

StoredNode& StoredNode::operator=(XMLNodePtr node) {
    if (!node) {
        node = XMLNode::Create(this->node().name);
    }
    m_node = std::move(node);
    m_text = std::string();
    return *this;
}

void StoredNode::keepCopyOf(const XMLNode& element) {
    m_text = element.toString();
    m_node.reset();
}

XMLNode& StoredNode::node() const {
    if (!m_node) {
        m_node = XMLNode::createFromXML(m_text);
        m_text = std::string();
    }
    return *m_node;
}

std::string StoredNode::toString() const {
    return m_node ? m_node->toString() : m_text;
}

XMLNodePtr StoredNode::getCopy() const {
    return m_node ? m_node->getCopy() : XMLNode::createFromXML(m_text);
}

} // namespace halvika
