// The character-by-character parser behind XMLNode::initializeFromXML.
#pragma once

#include "xml/FailureFlag.h"

#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

namespace halvika {

class NodeArena;
class XMLNode;

/// A small state machine over the text. Attributes are read only to get past them; comments, processing
/// instructions and a document type declaration are skipped; CDATA text is kept verbatim; closing tags
/// close the innermost open element whatever their name. Never throws.
class XMLParser {
public:
    /// Deepest element nesting and most pending states; deeper documents fail.
    static constexpr int kMaxDepth = 32767;

    /// Parses into `root` (appending to what it holds). Failure flag: true when the text was not a complete
    /// document; the tree built up to the failure stays.
    FailureFlag parse(std::string_view xml, XMLNode& root) { return FailureFlag(parseDocument(xml, root)); }

private:
    /// True when the parse failed.
    bool parseDocument(std::string_view xml, XMLNode& root);
    enum State : int {
        Done = 1,
        Content = 2,
        EndTag = 3,
        CData = 4,
        Comment = 5,
        Prolog = 6,
        Skip = 7,
        TagOpen = 8,
        Entity = 9,
        EmptyTagEnd = 10,
        TagName = 11,
        AttrValue = 12,
        AttrEquals = 13,
        AttrName = 14,
        AttrAfterName = 15,
        InTag = 16,
    };

    bool openElement(std::string_view elementName);
    bool closeElement();
    bool appendText(std::string_view text);
    /// Appends the buffer to the innermost open element and empties it.
    bool takeBufferAsText();
    bool pushState(int state);
    int popState();
    static bool isWhitespace(char c);
    void decodeEntity();
    void discardUnflushedText();
    bool bufferEndsWith(std::string_view tail) const;

    /// Where the nodes of this parse go: the root's arena, taken with the first child element.
    NodeArena* m_arena = nullptr;
    std::size_t m_textBytes = 0;
    std::vector<int> m_states;
    std::vector<XMLNode*> m_nodes;
    int m_depth = 0;
    std::string m_buffer;
    std::string m_tagName;
    std::string m_entityName;
    /// Character data appended straight to an element since the last "<", and where it began: a parse that
    /// ends before the next "<" takes it back out, as if it had waited in the buffer.
    std::pmr::string* m_unflushed = nullptr;
    std::size_t m_unflushedFrom = 0;
    char m_quote = '"';
    bool m_failed = false;
};

} // namespace halvika
