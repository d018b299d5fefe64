// The character-by-character parser behind XMLNode::initializeFromXML.
#include "xml/XMLParser.h"

#include "text/Encoding.h"
#include "xml/NodeArena.h"
#include "xml/XMLNode.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace halvika {

namespace {

/// The position of the first '<' or '&' from `from` on, or `size`. Eight bytes at a time: character data
/// is most of a group file, and a byte at a time was a tenth of the parse.
std::size_t findMarkup(const char* text, std::size_t from, std::size_t size) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        while (from + 8 <= size) {
            std::uint64_t word = 0;
            std::memcpy(&word, text + from, 8);
            const std::uint64_t lt = word ^ (ones * '<');
            const std::uint64_t amp = word ^ (ones * '&');
            // A byte that is zero in `lt` or `amp`; the lowest one found is always a true one.
            const std::uint64_t found = (((lt - ones) & ~lt) | ((amp - ones) & ~amp)) & highs;
            if (found != 0) {
                return from + static_cast<std::size_t>(std::countr_zero(found) / 8);
            }
            from += 8;
        }
    }
    while (from < size && text[from] != '<' && text[from] != '&') {
        ++from;
    }
    return from;
}

} // namespace

bool XMLParser::isWhitespace(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 9 && u <= 13) || (u >= 28 && u <= 32);
}

bool XMLParser::pushState(int state) {
    if (static_cast<int>(m_states.size()) >= kMaxDepth) {
        return false;
    }
    m_states.push_back(state);
    return true;
}

int XMLParser::popState() {
    if (m_states.empty()) {
        return Prolog;
    }
    const int state = m_states.back();
    m_states.pop_back();
    return state;
}

bool XMLParser::openElement(std::string_view elementName) {
    if (m_depth >= kMaxDepth) {
        return false;
    }
    ++m_depth;
    if (m_depth == 1) {
        m_nodes[0]->name = elementName;
        m_nodes.resize(1);
        return true;
    }
    if (m_arena == nullptr) {
        m_arena = &m_nodes[0]->arenaForParse(m_textBytes);
    }
    XMLNode* child = m_arena->newNode(elementName);
    m_nodes[static_cast<std::size_t>(m_depth - 2)]->addParsedChild(child);
    m_nodes.resize(static_cast<std::size_t>(m_depth - 1));
    m_nodes.push_back(child);
    return true;
}

bool XMLParser::closeElement() {
    // A closing tag with no element open has nothing to close.
    if (m_depth <= 0) {
        return false;
    }
    --m_depth;
    return true;
}

bool XMLParser::takeBufferAsText() {
    if (m_depth <= 0) {
        return false;
    }
    std::pmr::string& value = m_nodes[static_cast<std::size_t>(m_depth - 1)]->Value;
    // Most elements hold one run of text: hand the buffer over instead of copying it.
    value += m_buffer;
    m_buffer.clear();
    return true;
}

bool XMLParser::appendText(std::string_view text) {
    // Text (a CDATA section, say) with no element open has nowhere to go.
    if (m_depth <= 0) {
        return false;
    }
    std::pmr::string& value = m_nodes[static_cast<std::size_t>(m_depth - 1)]->Value;
    value += text;
    return true;
}

bool XMLParser::bufferEndsWith(std::string_view tail) const {
    return m_buffer.size() >= tail.size() && m_buffer.compare(m_buffer.size() - tail.size(), tail.size(), tail) == 0;
}

void XMLParser::discardUnflushedText() {
    // Text is handed to its element only at the next "<"; text that never got there was not parsed.
    if (m_unflushed != nullptr) {
        m_unflushed->resize(m_unflushedFrom);
        m_unflushed = nullptr;
    }
}

void XMLParser::decodeEntity() {
    const std::string& e = m_entityName;
    if (e == "lt") {
        m_buffer += '<';
    } else if (e == "gt") {
        m_buffer += '>';
    } else if (e == "amp") {
        m_buffer += '&';
    } else if (e == "quot") {
        m_buffer += '"';
    } else if (e == "apos") {
        m_buffer += '\'';
    } else if (e.size() >= 2 && e[0] == '#') {
        // A numeric reference becomes its character; one that does not read as a code point is kept as
        // written after the "#".
        const bool hex = e[1] == 'x' || e[1] == 'X';
        const char* first = e.data() + (hex ? 2 : 1);
        const char* last = e.data() + e.size();
        unsigned long cp = 0;
        const auto [ptr, ec] = std::from_chars(first, last, cp, hex ? 16 : 10);
        if (first != last && ec == std::errc() && ptr == last && cp > 0 && cp <= 0x10FFFF &&
            !(cp >= 0xD800 && cp <= 0xDFFF)) {
            Encoding::appendCodePoint(m_buffer, static_cast<char32_t>(cp));
        } else {
            m_buffer.append(e, 1, std::string::npos);
        }
    } else if (e != "#") {
        m_failed = true;
    }
}

bool XMLParser::parseDocument(std::string_view xml, XMLNode& root) {
    m_states.clear();
    m_arena = nullptr;
    m_textBytes = xml.size();
    m_unflushed = nullptr;
    m_nodes.assign(1, &root);
    m_depth = 0;
    m_buffer.clear();
    m_tagName.clear();
    m_entityName.clear();
    m_failed = false;

    int state = Prolog;
    const char* const text = xml.data();
    const std::size_t size = xml.size();
    std::size_t i = 0;
    // Each branch either consumes characters and continues, or stops the parse by returning.
    auto fail = [this]() {
        m_failed = true;
        discardUnflushedText();
        return true;
    };
    while (i < size) {
        const char c = text[i];
        switch (state) {
        case Done:
            return m_failed;
        case Content:
            if (c == '<') {
                if (!pushState(Content)) {
                    return fail();
                }
                m_unflushed = nullptr;
                state = TagOpen;
                if (!m_buffer.empty()) {
                    if (!takeBufferAsText()) {
                        return fail();
                    }
                }
                ++i;
            } else if (c == '&') {
                if (!pushState(Content)) {
                    return fail();
                }
                state = Entity;
                m_entityName.clear();
                ++i;
            } else {
                // Plain character data runs up to the next markup character. With nothing pending in the
                // buffer it can go straight into the open element: the order of the text stays the same.
                const std::size_t end = findMarkup(text, i + 1, size);
                if (m_buffer.empty() && m_depth > 0) {
                    std::pmr::string& value = m_nodes[static_cast<std::size_t>(m_depth - 1)]->Value;
                    if (m_unflushed == nullptr) {
                        m_unflushed = &value;
                        m_unflushedFrom = value.size();
                    }
                    value.append(text + i, end - i);
                } else {
                    m_buffer.append(text + i, end - i);
                }
                i = end;
            }
            break;
        case EndTag:
            if (c == '>') {
                state = popState();
                m_buffer.clear();
                if (!closeElement()) {
                    return fail();
                }
                if (m_depth == 0) {
                    state = Done;
                }
                ++i;
            } else {
                // The closing tag's name is not compared with anything; skip to its end.
                const void* gt = std::memchr(text + i, '>', size - i);
                i = gt ? static_cast<std::size_t>(static_cast<const char*>(gt) - text) : size;
            }
            break;
        case CData:
            if (c == '>' && bufferEndsWith("]]")) {
                m_buffer.resize(m_buffer.size() - 2);
                if (!appendText(m_buffer)) {
                    return fail();
                }
                m_buffer.clear();
                state = popState();
            } else {
                m_buffer += c;
            }
            ++i;
            break;
        case Comment:
            if (c == '>' && bufferEndsWith("--")) {
                m_buffer.clear();
                state = popState();
            } else {
                m_buffer += c;
            }
            ++i;
            break;
        case Prolog:
            if (c == '<') {
                if (!pushState(Content)) {
                    return fail();
                }
                state = TagOpen;
            }
            ++i;
            break;
        case Skip:
            if (c == '>') {
                const int popped = popState();
                state = popped == Content ? Prolog : popped;
            }
            ++i;
            break;
        case TagOpen:
            if (c == '/') {
                state = EndTag;
            } else if (c == '?') {
                popState();
                state = Skip;
            } else {
                // The common case, a plain start tag "<name>", becomes an element without going through
                // the buffers; anything else takes the general road below.
                if (c != '!' && m_buffer.empty()) {
                    std::size_t end = i + 1;
                    while (end < size && text[end] != '>' && text[end] != '/' && !isWhitespace(text[end])) {
                        ++end;
                    }
                    if (end < size && text[end] == '>') {
                        if (!openElement(std::string_view(text + i, end - i))) {
                            return fail();
                        }
                        state = popState();
                        i = end + 1;
                        break;
                    }
                }
                state = TagName;
                m_tagName.clear();
                m_buffer += c;
            }
            ++i;
            break;
        case Entity:
            if (c == ';') {
                state = popState();
                decodeEntity();
            } else {
                m_entityName += c;
            }
            ++i;
            break;
        case EmptyTagEnd:
            if (c != '>') {
                discardUnflushedText();
                return m_failed;
            }
            if (m_tagName.empty()) {
                m_tagName = m_buffer;
            }
            if (!openElement(m_tagName) || !closeElement()) {
                return fail();
            }
            m_tagName.clear();
            if (m_depth == 0) {
                state = Done;
            } else {
                m_buffer.clear();
                state = popState();
            }
            ++i;
            break;
        case TagName:
            if (c == '>') {
                if (m_tagName.empty()) {
                    m_tagName = std::move(m_buffer);
                }
                m_buffer.clear();
                if (!openElement(m_tagName)) {
                    return fail();
                }
                m_tagName.clear();
                state = popState();
            } else if (c == '/') {
                state = EmptyTagEnd;
            } else if (c == '-' && m_buffer == "!-") {
                state = Comment;
            } else if (c == '[' && m_buffer == "![CDATA") {
                state = CData;
                m_buffer.clear();
            } else if (c == 'E' && m_buffer == "!DOCTYP") {
                state = Skip;
                m_buffer.clear();
            } else if (isWhitespace(c)) {
                m_tagName = std::move(m_buffer);
                m_buffer.clear();
                state = InTag;
            } else if (m_buffer.empty() || m_buffer[0] != '!') {
                // An ordinary name: take it up to the next character that ends or marks it.
                std::size_t end = i + 1;
                while (end < size && text[end] != '>' && text[end] != '/' && !isWhitespace(text[end])) {
                    ++end;
                }
                m_buffer.append(text + i, end - i);
                i = end;
                break;
            } else {
                m_buffer += c;
            }
            ++i;
            break;
        case AttrValue:
            if (c == m_quote) {
                m_buffer.clear();
                state = InTag;
            } else if (c == '&') {
                if (!pushState(AttrValue)) {
                    return fail();
                }
                state = Entity;
                m_entityName.clear();
            } else {
                m_buffer += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
            }
            ++i;
            break;
        case AttrEquals:
            if (c == '\'' || c == '"') {
                m_quote = c;
                state = AttrValue;
            } else if (!isWhitespace(c)) {
                return fail();
            }
            ++i;
            break;
        case AttrName:
            if (isWhitespace(c)) {
                m_buffer.clear();
                state = AttrAfterName;
            } else if (c == '=') {
                m_buffer.clear();
                state = AttrEquals;
            } else {
                m_buffer += c;
            }
            ++i;
            break;
        case AttrAfterName:
            if (c == '=') {
                state = AttrEquals;
            } else if (!isWhitespace(c)) {
                return fail();
            }
            ++i;
            break;
        case InTag:
            if (c == '>') {
                state = popState();
                if (!openElement(m_tagName)) {
                    return fail();
                }
                m_tagName.clear();
            } else if (c == '/') {
                state = EmptyTagEnd;
            } else if (!isWhitespace(c)) {
                state = AttrName;
                m_buffer += c;
            }
            ++i;
            break;
        default:
            return fail();
        }
    }
    if (state != Done) {
        m_failed = true;
        discardUnflushedText();
    }
    return m_failed;
}

} // namespace halvika
