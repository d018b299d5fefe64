// Parsing XML text into node trees, and writing trees back.
#include "xml/XMLParser.h"
#include "xml/XMLNode.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

struct Parsed {
    XMLNodePtr node = std::make_shared<XMLNode>();
    bool failed = false;
};

Parsed parse(std::string_view xml) {
    Parsed p;
    p.failed = p.node->initializeFromXML(xml).failed();
    return p;
}

TEST(XMLParser, EscapedValuesSurviveARoundTrip) {
    auto a = XMLNode::Create("a", "x<y");
    EXPECT_EQ(a->toString(), "<a>x&lt;y</a>");
    EXPECT_EQ(parse(a->toString()).node->Value, "x<y");

    const std::string tricky = "He said \"it's\" & <left> 'now'";
    auto b = XMLNode::Create("b", tricky);
    const Parsed back = parse(b->toString());
    EXPECT_FALSE(back.failed);
    EXPECT_EQ(std::string_view(back.node->Value), tricky);
}

TEST(XMLParser, WritesOneLineWithStartAndEndTagsOnly) {
    auto root = XMLNode::Create("algr");
    root->addString("name", "A & B");
    root->addBoolean("stat", true);
    root->addString("empty", "");
    EXPECT_EQ(root->toString(), "<algr><name>A &amp; B</name><stat>-1</stat><empty></empty></algr>");
}

TEST(XMLParser, MixedContentAndWhitespaceGoIntoTheValue) {
    const Parsed mixed = parse("<a>x<b>1</b>y</a>");
    EXPECT_FALSE(mixed.failed);
    EXPECT_EQ(mixed.node->name, "a");
    EXPECT_EQ(mixed.node->Value, "xy");
    ASSERT_EQ(mixed.node->getNumberOfNodes(), 1);
    EXPECT_EQ(mixed.node->getString("b"), "1");

    const Parsed spaced = parse("<a>\r\n  <b>1</b>\r\n</a>");
    EXPECT_FALSE(spaced.failed);
    EXPECT_EQ(spaced.node->Value, "\r\n  \r\n");
}

TEST(XMLParser, EmptyElementFormsAndAttributes) {
    for (const char* xml : {"<a><b/></a>", "<a><b /></a>", "<a><b c='1'/></a>", "<a><b c = \"1\" d='x&amp;y'/></a>"}) {
        SCOPED_TRACE(xml);
        const Parsed p = parse(xml);
        EXPECT_FALSE(p.failed);
        ASSERT_EQ(p.node->getNumberOfNodes(), 1);
        EXPECT_EQ(p.node->getNodeAt(0)->name, "b");
        EXPECT_EQ(p.node->getNodeAt(0)->Value, "");
        EXPECT_EQ(p.node->getNodeAt(0)->getNumberOfNodes(), 0);
    }
    const Parsed withAttr = parse("<a x=\"1\">v</a>");
    EXPECT_FALSE(withAttr.failed);
    EXPECT_EQ(withAttr.node->name, "a");
    EXPECT_EQ(withAttr.node->Value, "v");
    // An empty root element ends the document.
    const Parsed emptyRoot = parse("<a/>trailing");
    EXPECT_FALSE(emptyRoot.failed);
    EXPECT_EQ(emptyRoot.node->name, "a");
}

TEST(XMLParser, ClosingTagsAreNotMatchedByName) {
    const Parsed p = parse("<a></b>");
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.node->name, "a");
    EXPECT_EQ(p.node->getNumberOfNodes(), 0);
}

TEST(XMLParser, UnclosedRootFailsButKeepsTheTree) {
    const Parsed p = parse("<a><b>1</b>");
    EXPECT_TRUE(p.failed);
    EXPECT_EQ(p.node->name, "a");
    EXPECT_EQ(p.node->getString("b"), "1");

    // Text waiting for the next "<" is not part of the tree, however it was read.
    const Parsed cut = parse("<a>kept<b>x&lt;y");
    EXPECT_TRUE(cut.failed);
    EXPECT_EQ(cut.node->Value, "kept");
    EXPECT_EQ(cut.node->getString("b", 0, "?"), "");

    EXPECT_TRUE(parse("").failed);
    EXPECT_TRUE(parse("just text").failed);
}

TEST(XMLParser, Entities) {
    const Parsed unknown = parse("<a>&unknown;x</a>");
    EXPECT_TRUE(unknown.failed);
    EXPECT_EQ(unknown.node->Value, "x");

    const Parsed known = parse("<a>&lt;&gt;&amp;&quot;&apos;&#;</a>");
    EXPECT_FALSE(known.failed);
    EXPECT_EQ(known.node->Value, "<>&\"'");

    // Numeric references become their character; ones that do not read as one stay as written.
    const Parsed numeric = parse("<a>&#65;&#x263A;&#zz;</a>");
    EXPECT_FALSE(numeric.failed);
    EXPECT_EQ(numeric.node->Value, "A\xE2\x98\xBAzz");

    // A bare "&" runs to the next ";".
    const Parsed bare = parse("<a>fish & chips; peas</a>");
    EXPECT_TRUE(bare.failed);
    EXPECT_EQ(bare.node->Value, "fish  peas");
}

TEST(XMLParser, PrologCommentsAndDeclarations) {
    const Parsed p = parse("<?xml version='1.0'?><!-- c --><a>1</a>");
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.node->name, "a");
    EXPECT_EQ(p.node->Value, "1");

    const Parsed doctype = parse("<!DOCTYPE a>\n<a>1</a>");
    EXPECT_FALSE(doctype.failed);
    EXPECT_EQ(doctype.node->Value, "1");

    // After a comment before the root, any character other than "<" is text with no element to hold it.
    const Parsed lineBreak = parse("<!-- c -->\n<a>1</a>");
    EXPECT_TRUE(lineBreak.failed);
    EXPECT_EQ(lineBreak.node->name, "");
    EXPECT_EQ(lineBreak.node->getNumberOfNodes(), 0);

    const Parsed cdataFirst = parse("<![CDATA[x]]><a>1</a>");
    EXPECT_TRUE(cdataFirst.failed);
    EXPECT_EQ(cdataFirst.node->name, "");

    const Parsed inner = parse("<a>1<!-- <b>no</b> -->2</a>");
    EXPECT_FALSE(inner.failed);
    EXPECT_EQ(inner.node->Value, "12");
    EXPECT_EQ(inner.node->getNumberOfNodes(), 0);
}

TEST(XMLParser, TextKeepsItsOrderAroundEntitiesAndChildren) {
    const Parsed p = parse("<a>abc&lt;def<b>1&amp;2</b>ghi&gt;<c/>jkl</a>");
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.node->Value, "abc<defghi>jkl");
    EXPECT_EQ(p.node->getString("b"), "1&2");

    // Markup at every place in and around a long run of text, and bytes that differ from '<' and '&' by a
    // single bit ('=', '>', '$', '\'', '.' and high-bit bytes), which must not be taken for them.
    const std::string filler = "=>$'.\xbc\xa6x=>$'.\xbc\xa6y";
    for (std::size_t at = 0; at <= filler.size(); ++at) {
        const std::string before = filler.substr(0, at);
        const std::string after = filler.substr(at);
        const Parsed q = parse("<a>" + before + "&amp;" + after + "<b>" + before + "</b>" + after + "</a>");
        EXPECT_FALSE(q.failed) << at;
        EXPECT_EQ(std::string_view(q.node->Value), before + "&" + after + after) << at;
        EXPECT_EQ(q.node->getString("b"), before) << at;
    }
}

TEST(XMLParser, ParsedNodesOutliveTheirDocument) {
    XMLNodePtr kept;
    {
        auto doc = XMLNode::createFromXML("<a><b><c>1</c><d>a value longer than a short string</d></b><x>2</x></a>");
        kept = doc->getNode("b");
    }
    // Values live in the document's storage too: they stay, and take longer ones.
    EXPECT_EQ(kept->getString("d"), "a value longer than a short string");
    kept->setString("d", std::string(200, 'v'));
    EXPECT_EQ(kept->getString("d"), std::string(200, 'v'));
    kept->removeNode("d");
    // The child list grows after the rest of the document is gone.
    for (int i = 0; i < 100; ++i) {
        kept->addString("e", std::to_string(i));
    }
    EXPECT_EQ(kept->getString("c"), "1");
    EXPECT_EQ(kept->getString("e", 99), "99");
    auto other = XMLNode::Create("other");
    other->addNode(kept);
    kept.reset();
    EXPECT_EQ(other->toString().substr(0, 27), "<other><b><c>1</c><e>0</e><");
}

TEST(XMLParser, CDataIsKeptVerbatim) {
    const Parsed p = parse("<a>x<![CDATA[<b>&amp;]]>y</a>");
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.node->Value, "x<b>&amp;y");
    EXPECT_EQ(p.node->getNumberOfNodes(), 0);
}

TEST(XMLParser, ProcessingInstructionInsideAnElementDropsTextUpToTheNextTag) {
    const Parsed p = parse("<a>1<?pi?>lost<b>2</b></a>");
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.node->Value, "1");
    EXPECT_EQ(p.node->getString("b"), "2");
}

TEST(XMLParser, BadAttributeSyntaxFails) {
    EXPECT_TRUE(parse("<a b=1>x</a>").failed);
    EXPECT_TRUE(parse("<a b c='1'>x</a>").failed);
    // A "/" not followed by ">" stops the parse without a failure being recorded; nothing was opened.
    const Parsed stopped = parse("<a><b/x></a>");
    EXPECT_FALSE(stopped.failed);
    EXPECT_EQ(stopped.node->getNumberOfNodes(), 0);
}

TEST(XMLParser, NestingLimit) {
    auto nested = [](int depth) {
        std::string xml;
        for (int i = 0; i < depth; ++i) {
            xml += "<n>";
        }
        for (int i = 0; i < depth; ++i) {
            xml += "</n>";
        }
        return xml;
    };
    const Parsed deepest = parse(nested(XMLParser::kMaxDepth));
    EXPECT_FALSE(deepest.failed);
    // Writing and copying such a tree must not exhaust the stack either.
    EXPECT_EQ(deepest.node->toString().size(), nested(XMLParser::kMaxDepth).size());

    const Parsed tooDeep = parse(nested(XMLParser::kMaxDepth + 1));
    EXPECT_TRUE(tooDeep.failed);
    EXPECT_EQ(tooDeep.node->name, "n");
}

TEST(XMLParser, InitializeAppendsToAnExistingNode) {
    auto node = XMLNode::Create("old", "v");
    node->addString("keep", "1");
    EXPECT_FALSE(node->initializeFromXML("<new>w<x>2</x></new>"));
    EXPECT_EQ(node->name, "new");
    EXPECT_EQ(node->Value, "vw");
    ASSERT_EQ(node->getNumberOfNodes(), 2);
    EXPECT_EQ(node->getNodeAt(0)->name, "keep");
    EXPECT_EQ(node->getNodeAt(1)->name, "x");

    auto renamed = XMLNode::createFromXML("<a><b>1</b></a>", "root");
    EXPECT_EQ(renamed->name, "root");
    EXPECT_EQ(renamed->getString("b"), "1");
}

} // namespace
} // namespace halvika
