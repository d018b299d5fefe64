// The one document type: a named element with a text value and ordered, shared children.
#pragma once

#include "dates/Date.h"
#include "xml/FailureFlag.h"

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

namespace halvika {

class XMLNode;
class NodeArena;
using XMLNodePtr = std::shared_ptr<XMLNode>;

/// Children are held by reference: adding a node stores that very node, and getting a child returns the
/// child itself, so changes through it change the tree. getCopy is the only deep copy. A child is addressed
/// by (name, index), the index counting only children of that name. Typed getters never fail: a missing
/// child or text that does not convert gives the caller's default.
///
/// The nodes of a parsed document live in the document's `NodeArena` and are held as a whole: a child list
/// keeps a node of its own document without a hold of its own, and a node handed out holds the document.
/// A node of one document listed in another keeps all of the first for as long as the second lives, so two
/// documents must not list each other's nodes (take a copy instead).
///
/// Operations whose result is a "failure flag" return true when they failed.
class XMLNode {
public:
    /// In the arena too, for a node of a parsed document: such a node then needs no destructor.
    std::pmr::string name;
    /// In a parsed document's arena, like the child list: a value is mostly longer than a string holds in
    /// itself (a date is 19 characters), and one heap allocation per value made parsing three times slower.
    std::pmr::string Value;

    XMLNode() = default;
    XMLNode(std::string_view nodeName, std::string_view value) : name(nodeName), Value(value) {}
    XMLNode(const XMLNode&) = delete;
    XMLNode& operator=(const XMLNode&) = delete;
    ~XMLNode();

    static XMLNodePtr Create(std::string_view name = "", std::string_view value = "");
    /// Parses the text into a new node; a parse failure is not reported (the node holds what was parsed).
    static XMLNodePtr createFromXML(std::string_view xml, std::string_view overrideRootName = "");
    /// A node with name "" and no children when the file cannot be read.
    static XMLNodePtr createFromFile(const std::string& path);

    /// Parses into this node without clearing it first. Failure flag: the text was not a complete document.
    FailureFlag initializeFromXML(std::string_view xml);
    FailureFlag initializeFromFile(const std::string& path);
    /// A copy held on the heap, apart from any parsed document: keeping a node of a parsed document keeps
    /// that whole document in memory.
    XMLNodePtr getCopy() const;
    /// getCopy of child (childName, 0), or of `fallback` when there is no such child: for a part of a
    /// parsed document that is kept after the document.
    XMLNodePtr getChildCopy(std::string_view childName, const XMLNode& fallback) const;
    std::string toString() const;
    void appendTo(std::string& out) const;
    /// Failure flag; `reason` (when given) then says why.
    FailureFlag toXMLFile(const std::string& path, std::string* reason = nullptr) const;
    void clear();

    // Navigation.
    int getNumberOfNodes() const { return static_cast<int>(m_children.size()); }
    int getNumberOfNodesWithName(std::string_view childName) const;
    /// Position of child (name, index), or -1.
    int getNodeIndex(std::string_view childName, int index = 0) const;
    /// The child at the position, or null when the position is out of range.
    XMLNodePtr getNodeAt(int position) const;
    XMLNodePtr Nodes(int position) const { return getNodeAt(position); }
    /// The child, or a new node made from `defaultXMLString` that is not added to the tree.
    XMLNodePtr getNode(std::string_view childName, int index = 0, std::string_view defaultXMLString = "") const;

    // Typed access.
    std::string getString(std::string_view childName, int index = 0, std::string_view def = "") const;
    std::int16_t getInteger(std::string_view childName, int index = 0, std::int16_t def = 0) const;
    std::int32_t getLong(std::string_view childName, int index = 0, std::int32_t def = 0) const;
    bool getBoolean(std::string_view childName, int index = 0, bool def = false) const;
    Date getDate(std::string_view childName, int index = 0, const Date& def = Date()) const;
    float getSingle(std::string_view childName, int index = 0, float def = 0) const;
    double getDouble(std::string_view childName, int index = 0, double def = 0) const;

    void setString(std::string_view childName, std::string_view value, int index = 0);
    void setInteger(std::string_view childName, std::int16_t value, int index = 0);
    void setLong(std::string_view childName, std::int32_t value, int index = 0);
    void setBoolean(std::string_view childName, bool value, int index = 0);
    void setDate(std::string_view childName, const Date& value, int index = 0);
    void setSingle(std::string_view childName, float value, int index = 0);
    void setDouble(std::string_view childName, double value, int index = 0);

    void addString(std::string_view childName, std::string_view value);
    void addInteger(std::string_view childName, std::int16_t value);
    void addLong(std::string_view childName, std::int32_t value);
    void addBoolean(std::string_view childName, bool value);
    void addDate(std::string_view childName, const Date& value);
    void addSingle(std::string_view childName, float value);
    void addDouble(std::string_view childName, double value);

    std::string removeString(std::string_view childName, int index = 0, std::string_view def = "");
    std::int16_t removeInteger(std::string_view childName, int index = 0, std::int16_t def = 0);
    std::int32_t removeLong(std::string_view childName, int index = 0, std::int32_t def = 0);
    bool removeBoolean(std::string_view childName, int index = 0, bool def = false);
    Date removeDate(std::string_view childName, int index = 0, const Date& def = Date());
    float removeSingle(std::string_view childName, int index = 0, float def = 0);
    double removeDouble(std::string_view childName, int index = 0, double def = 0);

    // Child list editing. Positions out of range are ignored (nothing is inserted, replaced or removed).
    void addNode(XMLNodePtr node);
    void addNodeAt(int position, XMLNodePtr node);
    void addXMLString(std::string_view xml);
    void setNodeAt(int position, XMLNodePtr node);
    /// Copies only the node's value into child (node.name, index), not its children.
    void setNode(const XMLNode& node, int index = 0);
    XMLNodePtr removeNodeAt(int position);
    XMLNodePtr removeNode(std::string_view childName, int index = 0);

    // Text and files.
    static std::string stringToXMLString(std::string_view text);
    /// Appends the escaped text to `out`.
    static void appendEscaped(std::string& out, std::string_view text);
    /// True when nothing of `text` would be written: it is empty or only holds characters XML cannot carry.
    static bool writesAsEmpty(std::string_view text);
    /// Failure flag; on failure `content` is left unchanged.
    static FailureFlag getFile(const std::string& path, std::string& content);
    /// Failure flag; the file is replaced whole or, on failure, left as it was.
    static FailureFlag putFile(const std::string& path, const std::string& content, std::string* reason = nullptr);

private:
    friend class NodeArena;
    friend class XMLParser;

    /// A node of `arena`, which also holds its value and child list.
    XMLNode(std::string_view nodeName, NodeArena* arena);

    const XMLNode* findChild(std::string_view childName, int index) const;
    XMLNode& childForSet(std::string_view childName, int index);
    void setText(std::string_view childName, std::string_view value, int index);
    /// The arena a parse into this node puts its nodes in: its own, or a new one this node then holds,
    /// sized for a document of `textBytes`.
    NodeArena& arenaForParse(std::size_t textBytes);
    /// A child made by the parser in this node's arena.
    void addParsedChild(XMLNode* child);
    /// Adds the entry as it is to the end of the child list.
    void append(XMLNodePtr entry);
    /// The child list's entry as a caller may keep it: a node of the document holds the document.
    static XMLNodePtr handedOut(const XMLNodePtr& entry);
    /// The entry for a node about to be listed: no hold of its own when it lives in this node's document.
    XMLNodePtr listed(XMLNodePtr node);
    /// From now on the child list holds a node by a count of its own.
    void noteHoldsOthers();

    std::pmr::vector<XMLNodePtr> m_children;
    /// The arena this node lives in, or (for a node on the heap) the one its parsed children live in.
    NodeArena* m_arena = nullptr;
    /// Set only on a node on the heap that was parsed into: its hold on the arena of its children.
    std::shared_ptr<NodeArena> m_document;
    /// Set once the child list has held a node by a count of its own (a node made in code, or of another
    /// document): a node of an arena that never did needs no destructor.
    bool m_holdsOthers = false;
};

} // namespace halvika
