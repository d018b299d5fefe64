// The one document type: a named element with a text value and ordered, shared children.
#include "xml/XMLNode.h"

#include "text/NumberText.h"
#include "text/TextFile.h"
#include "xml/NodeArena.h"
#include "xml/XMLParser.h"

#include <algorithm>
#include <array>
#include <utility>

namespace halvika {

namespace {

template <typename T, typename Parse> T convertOr(const std::pmr::string* text, T def, Parse parse) {
    if (text == nullptr) {
        return def;
    }
    if (auto value = parse(*text)) {
        return *value;
    }
    return def;
}

// A control character XML 1.0 cannot hold, not even as a reference: the writer leaves it out.
constexpr bool isLeftOut(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

} // namespace

XMLNode::~XMLNode() {
    // Ordinary trees are torn down by the members' own destructors. Beyond a safe depth the rest is torn
    // down without recursion: a document nested thousands of levels deep would otherwise overflow the
    // stack in the chain of destructors.
    thread_local int depth = 0;
    constexpr int kRecursionLimit = 256;
    if (depth < kRecursionLimit) {
        ++depth;
        m_children.clear();
        --depth;
        return;
    }
    std::pmr::vector<XMLNodePtr> pending = std::move(m_children);
    while (!pending.empty()) {
        XMLNodePtr node = std::move(pending.back());
        pending.pop_back();
        if (node && node.use_count() == 1) {
            for (auto& child : node->m_children) {
                pending.push_back(std::move(child));
            }
            node->m_children.clear();
        }
    }
}

XMLNode::XMLNode(std::string_view nodeName, NodeArena* arena)
    : name(nodeName, arena), Value(arena), m_children(arena), m_arena(arena) {}

NodeArena& XMLNode::arenaForParse(std::size_t textBytes) {
    if (m_arena == nullptr) {
        // The nodes of a small document take about four times its text (a node is larger than its tags).
        m_document = NodeArena::create(4 * textBytes);
        m_arena = m_document.get();
    }
    return *m_arena;
}

void XMLNode::addParsedChild(XMLNode* child) {
    append(XMLNodePtr(XMLNodePtr(), child));
}

void XMLNode::append(XMLNodePtr entry) {
    // Records have a dozen or more fields; start with room for several to save reallocations.
    if (m_children.capacity() == 0) {
        m_children.reserve(8);
    }
    m_children.push_back(std::move(entry));
}

XMLNodePtr XMLNode::handedOut(const XMLNodePtr& entry) {
    // An entry with no count of its own is a node of its document's arena.
    if (!entry || entry.use_count() != 0) {
        return entry;
    }
    return XMLNodePtr(entry->m_arena->shared_from_this(), entry.get());
}

XMLNodePtr XMLNode::listed(XMLNodePtr node) {
    // The document outlives both this node and its own nodes; a hold on it from inside would keep it forever.
    if (node && m_arena != nullptr && node->m_arena == m_arena && !node->m_document) {
        return XMLNodePtr(XMLNodePtr(), node.get());
    }
    if (node) {
        noteHoldsOthers();
    }
    return node;
}

void XMLNode::noteHoldsOthers() {
    // A node of an arena is destroyed with it only when it holds something outside it.
    if (!m_holdsOthers && m_arena != nullptr && !m_document) {
        m_arena->noteHolder(this);
    }
    m_holdsOthers = true;
}

XMLNodePtr XMLNode::Create(std::string_view nodeName, std::string_view value) {
    return std::make_shared<XMLNode>(nodeName, value);
}

XMLNodePtr XMLNode::createFromXML(std::string_view xml, std::string_view overrideRootName) {
    auto node = std::make_shared<XMLNode>();
    // Not reported: the node holds what was parsed up to the failure, and callers look at that.
    static_cast<void>(node->initializeFromXML(xml));
    if (!overrideRootName.empty()) {
        node->name = overrideRootName;
    }
    return node;
}

XMLNodePtr XMLNode::createFromFile(const std::string& path) {
    std::string content;
    if (getFile(path, content)) {
        return std::make_shared<XMLNode>();
    }
    return createFromXML(content, "");
}

FailureFlag XMLNode::initializeFromXML(std::string_view xml) {
    XMLParser parser;
    return parser.parse(xml, *this);
}

FailureFlag XMLNode::initializeFromFile(const std::string& path) {
    std::string content;
    if (getFile(path, content)) {
        return FailureFlag(true);
    }
    return initializeFromXML(content);
}

XMLNodePtr XMLNode::getCopy() const {
    // Node by node: parsing a copy would take an arena block for each. A work list, as documents can be deep.
    auto root = Create(name, Value);
    std::vector<std::pair<const XMLNode*, XMLNode*>> pending{{this, root.get()}};
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->m_children.reserve(from->m_children.size());
        for (const auto& child : from->m_children) {
            auto copy = Create(child->name, child->Value);
            pending.emplace_back(child.get(), copy.get());
            to->m_children.push_back(std::move(copy));
        }
    }
    return root;
}

XMLNodePtr XMLNode::getChildCopy(std::string_view childName, const XMLNode& fallback) const {
    const int position = getNodeIndex(childName);
    return position >= 0 ? m_children[static_cast<std::size_t>(position)]->getCopy() : fallback.getCopy();
}

std::string XMLNode::toString() const {
    std::string out;
    appendTo(out);
    return out;
}

void XMLNode::appendTo(std::string& out) const {
    // Iterative, so that deeply nested documents cannot exhaust the stack.
    struct Frame {
        const XMLNode* node;
        std::size_t next;
    };
    std::vector<Frame> stack;
    auto open = [&out, &stack](const XMLNode* node) {
        out += '<';
        out += node->name;
        out += '>';
        appendEscaped(out, node->Value);
        stack.push_back({node, 0});
    };
    open(this);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.node->m_children.size()) {
            const XMLNode* child = top.node->m_children[top.next++].get();
            open(child);
        } else {
            out += "</";
            out += top.node->name;
            out += '>';
            stack.pop_back();
        }
    }
}

FailureFlag XMLNode::toXMLFile(const std::string& path, std::string* reason) const {
    return putFile(path, toString(), reason);
}

void XMLNode::clear() {
    Value.clear();
    m_children.clear();
    // Nothing listed needs the document any more; what was handed out holds it itself.
    if (m_document) {
        m_document.reset();
        m_arena = nullptr;
    }
}

int XMLNode::getNumberOfNodesWithName(std::string_view childName) const {
    int count = 0;
    for (const auto& child : m_children) {
        count += child->name == childName ? 1 : 0;
    }
    return count;
}

int XMLNode::getNodeIndex(std::string_view childName, int index) const {
    if (index < 0) {
        return -1;
    }
    int seen = 0;
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->name == childName && seen++ == index) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

XMLNodePtr XMLNode::getNodeAt(int position) const {
    if (position < 0 || position >= getNumberOfNodes()) {
        return nullptr;
    }
    return handedOut(m_children[static_cast<std::size_t>(position)]);
}

XMLNodePtr XMLNode::getNode(std::string_view childName, int index, std::string_view defaultXMLString) const {
    const int position = getNodeIndex(childName, index);
    if (position >= 0) {
        return handedOut(m_children[static_cast<std::size_t>(position)]);
    }
    return createFromXML(defaultXMLString, "");
}

const XMLNode* XMLNode::findChild(std::string_view childName, int index) const {
    const int position = getNodeIndex(childName, index);
    return position < 0 ? nullptr : m_children[static_cast<std::size_t>(position)].get();
}

std::string XMLNode::getString(std::string_view childName, int index, std::string_view def) const {
    const XMLNode* child = findChild(childName, index);
    return child ? std::string(child->Value) : std::string(def);
}

// A default for a missing child goes through the text form too, as the Part's readers expect: a Date
// default comes back to the whole second, a Single default to its written precision.
std::int16_t XMLNode::getInteger(std::string_view childName, int index, std::int16_t def) const {
    const XMLNode* child = findChild(childName, index);
    return convertOr(child ? &child->Value : nullptr, def, NumberText::parseInteger);
}

std::int32_t XMLNode::getLong(std::string_view childName, int index, std::int32_t def) const {
    const XMLNode* child = findChild(childName, index);
    return convertOr(child ? &child->Value : nullptr, def, NumberText::parseLong);
}

bool XMLNode::getBoolean(std::string_view childName, int index, bool def) const {
    const XMLNode* child = findChild(childName, index);
    return convertOr(child ? &child->Value : nullptr, def, NumberText::parseBoolean);
}

Date XMLNode::getDate(std::string_view childName, int index, const Date& def) const {
    const XMLNode* child = findChild(childName, index);
    return convertOr(child ? &child->Value : nullptr, def, Date::fromFileString);
}

float XMLNode::getSingle(std::string_view childName, int index, float def) const {
    const XMLNode* child = findChild(childName, index);
    const float rounded = NumberText::parseSingle(NumberText::formatSingle(def)).value_or(def);
    return convertOr(child ? &child->Value : nullptr, rounded, NumberText::parseSingle);
}

double XMLNode::getDouble(std::string_view childName, int index, double def) const {
    const XMLNode* child = findChild(childName, index);
    const double rounded = NumberText::parseDouble(NumberText::formatDouble(def)).value_or(def);
    return convertOr(child ? &child->Value : nullptr, rounded, NumberText::parseDouble);
}

XMLNode& XMLNode::childForSet(std::string_view childName, int index) {
    while (getNodeIndex(childName, index) < 0) {
        m_children.push_back(Create(childName, ""));
        noteHoldsOthers();
    }
    return *m_children[static_cast<std::size_t>(getNodeIndex(childName, index))];
}

void XMLNode::setText(std::string_view childName, std::string_view value, int index) {
    if (index < 0) {
        return;
    }
    childForSet(childName, index).Value.assign(value);
}

void XMLNode::setString(std::string_view childName, std::string_view value, int index) {
    setText(childName, value, index);
}
void XMLNode::setInteger(std::string_view childName, std::int16_t value, int index) {
    setText(childName, std::to_string(value), index);
}
void XMLNode::setLong(std::string_view childName, std::int32_t value, int index) {
    setText(childName, std::to_string(value), index);
}
void XMLNode::setBoolean(std::string_view childName, bool value, int index) {
    setText(childName, NumberText::formatBoolean(value), index);
}
void XMLNode::setDate(std::string_view childName, const Date& value, int index) {
    setText(childName, value.toFileString(), index);
}
void XMLNode::setSingle(std::string_view childName, float value, int index) {
    setText(childName, NumberText::formatSingle(value), index);
}
void XMLNode::setDouble(std::string_view childName, double value, int index) {
    setText(childName, NumberText::formatDouble(value), index);
}

void XMLNode::addString(std::string_view childName, std::string_view value) {
    addNode(Create(childName, value));
}
void XMLNode::addInteger(std::string_view childName, std::int16_t value) {
    addNode(Create(childName, std::to_string(value)));
}
void XMLNode::addLong(std::string_view childName, std::int32_t value) {
    addNode(Create(childName, std::to_string(value)));
}
void XMLNode::addBoolean(std::string_view childName, bool value) {
    addNode(Create(childName, NumberText::formatBoolean(value)));
}
void XMLNode::addDate(std::string_view childName, const Date& value) {
    addNode(Create(childName, value.toFileString()));
}
void XMLNode::addSingle(std::string_view childName, float value) {
    addNode(Create(childName, NumberText::formatSingle(value)));
}
void XMLNode::addDouble(std::string_view childName, double value) {
    addNode(Create(childName, NumberText::formatDouble(value)));
}

std::string XMLNode::removeString(std::string_view childName, int index, std::string_view def) {
    auto value = getString(childName, index, def);
    removeNode(childName, index);
    return value;
}
std::int16_t XMLNode::removeInteger(std::string_view childName, int index, std::int16_t def) {
    const auto value = getInteger(childName, index, def);
    removeNode(childName, index);
    return value;
}
std::int32_t XMLNode::removeLong(std::string_view childName, int index, std::int32_t def) {
    const auto value = getLong(childName, index, def);
    removeNode(childName, index);
    return value;
}
bool XMLNode::removeBoolean(std::string_view childName, int index, bool def) {
    const bool value = getBoolean(childName, index, def);
    removeNode(childName, index);
    return value;
}
Date XMLNode::removeDate(std::string_view childName, int index, const Date& def) {
    const Date value = getDate(childName, index, def);
    removeNode(childName, index);
    return value;
}
float XMLNode::removeSingle(std::string_view childName, int index, float def) {
    const float value = getSingle(childName, index, def);
    removeNode(childName, index);
    return value;
}
double XMLNode::removeDouble(std::string_view childName, int index, double def) {
    const double value = getDouble(childName, index, def);
    removeNode(childName, index);
    return value;
}

void XMLNode::addNode(XMLNodePtr node) {
    if (node) {
        append(listed(std::move(node)));
    }
}

void XMLNode::addNodeAt(int position, XMLNodePtr node) {
    if (node && position >= 0 && position <= getNumberOfNodes()) {
        m_children.insert(m_children.begin() + position, listed(std::move(node)));
    }
}

void XMLNode::addXMLString(std::string_view xml) {
    addNode(createFromXML(xml, ""));
}

void XMLNode::setNodeAt(int position, XMLNodePtr node) {
    if (node && position >= 0 && position < getNumberOfNodes()) {
        m_children[static_cast<std::size_t>(position)] = listed(std::move(node));
    }
}

void XMLNode::setNode(const XMLNode& node, int index) {
    setString(node.name, node.Value, index);
}

XMLNodePtr XMLNode::removeNodeAt(int position) {
    if (position < 0 || position >= getNumberOfNodes()) {
        return nullptr;
    }
    XMLNodePtr removed = handedOut(m_children[static_cast<std::size_t>(position)]);
    m_children.erase(m_children.begin() + position);
    return removed;
}

XMLNodePtr XMLNode::removeNode(std::string_view childName, int index) {
    return removeNodeAt(getNodeIndex(childName, index));
}

std::string XMLNode::stringToXMLString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

bool XMLNode::writesAsEmpty(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isLeftOut);
}

void XMLNode::appendEscaped(std::string& out, std::string_view text) {
    // The characters written otherwise: the five markup characters, and the control characters XML 1.0
    // cannot hold, not even as references (they are left out, so that every reader can read the file).
    static constexpr auto special = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c) {
            table[static_cast<std::size_t>(c)] = isLeftOut(static_cast<char>(c));
        }
        for (const char c : {'&', '<', '>', '"', '\''}) {
            table[static_cast<unsigned char>(c)] = true;
        }
        return table;
    }();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!special[static_cast<unsigned char>(text[i])]) {
            continue;
        }
        out.append(text, start, i - start);
        switch (text[i]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            break;
        }
        start = i + 1;
    }
    out.append(text, start, std::string_view::npos);
}

FailureFlag XMLNode::getFile(const std::string& path, std::string& content) {
    auto text = TextFile::readText(path);
    if (!text) {
        return FailureFlag(true);
    }
    content = std::move(*text);
    return FailureFlag(false);
}

FailureFlag XMLNode::putFile(const std::string& path, const std::string& content, std::string* reason) {
    return FailureFlag(!TextFile::writeAtomically(path, content, reason));
}

} // namespace halvika
