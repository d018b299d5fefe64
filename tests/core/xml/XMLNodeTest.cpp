// The node model: shared children, typed values, editing and files.
#include "xml/XMLNode.h"
#include "fakes/TempHome.h"
#include "text/TextFile.h"

#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace halvika {
namespace {

TEST(XMLNode, ChildrenAreSharedNotCopied) {
    auto root = XMLNode::Create("root");
    auto child = XMLNode::Create("c", "1");
    root->addNode(child);
    child->Value = "2";
    EXPECT_EQ(root->getString("c"), "2");
    root->getNode("c")->addString("grand", "g");
    EXPECT_EQ(child->getString("grand"), "g");

    auto copy = root->getCopy();
    copy->getNode("c")->Value = "changed";
    EXPECT_EQ(root->getString("c"), "2");
    EXPECT_EQ(copy->toString(), "<root><c>changed<grand>g</grand></c></root>");
}

TEST(XMLNode, ACopyOutlivesItsParsedDocumentAndAnyDepth) {
    XMLNodePtr kept;
    {
        const auto document = XMLNode::createFromXML("<algr><sett><s>a &amp; b</s><s>2</s><t/></sett></algr>");
        kept = document->getChildCopy("sett", *XMLNode::Create("none"));
    }
    EXPECT_EQ(kept->toString(), "<sett><s>a &amp; b</s><s>2</s><t></t></sett>");
    // No such child: a copy of the fallback, which stays the caller's own.
    const auto fallback = XMLNode::Create("acpl");
    const auto taken = kept->getChildCopy("acpl", *fallback);
    taken->addString("plin", "x");
    EXPECT_EQ(taken->toString(), "<acpl><plin>x</plin></acpl>");
    EXPECT_EQ(fallback->getNumberOfNodes(), 0);

    // Deeper than any recursion could go.
    auto root = XMLNode::Create("d");
    XMLNode* deepest = root.get();
    for (int i = 0; i < 200000; ++i) {
        auto next = XMLNode::Create("d");
        deepest->addNode(next);
        deepest = next.get();
    }
    deepest->Value = "bottom";
    auto copy = root->getCopy();
    const XMLNode* walk = copy.get();
    int depth = 0;
    while (walk->getNumberOfNodes() > 0) {
        walk = walk->getNodeAt(0).get();
        ++depth;
    }
    EXPECT_EQ(depth, 200000);
    EXPECT_EQ(walk->Value, "bottom");
}

TEST(XMLNode, AParsedDocumentLivesAsLongAsAnyOfItsNodesAndNoLonger) {
    auto document = XMLNode::createFromXML("<g><al><n>one</n></al><al><n>two</n></al></g>");
    const std::weak_ptr<XMLNode> watch = document->getNodeAt(0);
    auto second = document->getNodeAt(1);
    EXPECT_EQ(document->getNodeAt(1), second); // the node itself, not a copy

    // Moved inside its own document, parsed into again, handed out: still the same nodes.
    document->getNodeAt(0)->addNode(document->removeNodeAt(1));
    EXPECT_EQ(document->toString(), "<g><al><n>one</n><al><n>two</n></al></al></g>");
    ASSERT_FALSE(document->initializeFromXML("<g><al><n>three</n></al></g>"));
    EXPECT_EQ(document->getNumberOfNodes(), 2);
    EXPECT_EQ(second->getString("n"), "two");

    // A node kept after its document keeps it; a node of the document listed in another tree too.
    auto other = XMLNode::createFromXML("<h><x/></h>");
    other->addNode(second);
    document.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(other->toString(), "<h><x></x><al><n>two</n></al></h>");
    second.reset();
    EXPECT_FALSE(watch.expired());
    other.reset();
    EXPECT_TRUE(watch.expired());

    // Clearing lets the document go even while the node parsed into stays.
    auto settings = XMLNode::createFromXML("<s><a>1</a></s>");
    const std::weak_ptr<XMLNode> a = settings->getNode("a");
    settings->clear();
    EXPECT_TRUE(a.expired());
    ASSERT_FALSE(settings->initializeFromXML("<s><b>2</b></s>"));
    EXPECT_EQ(settings->getString("b"), "2");

    // A heap node added into a parsed document, and a document nested deeper than recursion goes, go with it.
    std::string deep;
    for (int i = 0; i < 30000; ++i) {
        deep += "<d>";
    }
    auto nested = XMLNode::createFromXML(deep);
    const std::weak_ptr<XMLNode> bottom = [&] {
        XMLNodePtr walk = nested;
        while (walk->getNumberOfNodes() > 0) {
            walk = walk->getNodeAt(0);
        }
        walk->addNode(XMLNode::Create("leaf", "x"));
        return walk->getNode("leaf");
    }();
    EXPECT_FALSE(bottom.expired());
    nested.reset();
    EXPECT_TRUE(bottom.expired());
}

TEST(XMLNode, MissingNodeGivesAFreshNodeOutsideTheTree) {
    auto root = XMLNode::Create("root");
    auto missing = root->getNode("missing", 0, "");
    EXPECT_EQ(missing->name, "");
    EXPECT_EQ(missing->getNumberOfNodes(), 0);
    missing->addString("x", "1");
    EXPECT_EQ(root->getNumberOfNodes(), 0);

    auto fromDefault = root->getNode("missing", 0, "<d><e>5</e></d>");
    EXPECT_EQ(fromDefault->name, "d");
    EXPECT_EQ(fromDefault->getInteger("e"), 5);
    EXPECT_EQ(root->getNodeAt(0), nullptr);
    EXPECT_EQ(root->getNodeAt(-1), nullptr);
}

TEST(XMLNode, NameAndIndexAddressChildrenOfThatName) {
    auto root = XMLNode::Create("root");
    root->addString("x", "a");
    root->addString("y", "b");
    root->addString("x", "c");
    root->addString("X", "d");
    EXPECT_EQ(root->getNumberOfNodesWithName("x"), 2);
    EXPECT_EQ(root->getNodeIndex("x", 1), 2);
    EXPECT_EQ(root->getNodeIndex("x", 2), -1);
    EXPECT_EQ(root->getString("x", 1), "c");
    EXPECT_EQ(root->getString("X"), "d");

    auto fresh = XMLNode::Create("n");
    fresh->setString("x", "v", 2);
    ASSERT_EQ(fresh->getNumberOfNodesWithName("x"), 3);
    EXPECT_EQ(fresh->getString("x", 0, "?"), "");
    EXPECT_EQ(fresh->getString("x", 1, "?"), "");
    EXPECT_EQ(fresh->getString("x", 2, "?"), "v");
    fresh->setString("x", "w", 0);
    EXPECT_EQ(fresh->getNumberOfNodesWithName("x"), 3);
    EXPECT_EQ(fresh->getString("x", 0), "w");
}

TEST(XMLNode, IntegerAndLongConversions) {
    auto n = XMLNode::createFromXML("<n><a></a><b>abc</b><c>40000</c><d>-12</d><e>2.5</e><f>3.5</f><g> 7 </g>"
                                    "<h>-32768</h><i>2147483647</i><j>2147483648</j></n>");
    EXPECT_EQ(n->getInteger("a", 0, 5), 5);
    EXPECT_EQ(n->getInteger("b", 0, 5), 5);
    EXPECT_EQ(n->getInteger("c", 0, 5), 5);
    EXPECT_EQ(n->getInteger("d", 0, 5), -12);
    EXPECT_EQ(n->getInteger("e", 0, 5), 2); // halves to even
    EXPECT_EQ(n->getInteger("f", 0, 5), 4);
    EXPECT_EQ(n->getInteger("g", 0, 5), 7);
    EXPECT_EQ(n->getInteger("h", 0, 5), -32768);
    EXPECT_EQ(n->getInteger("missing", 0, 5), 5);
    EXPECT_EQ(n->getLong("c", 0, 1), 40000);
    EXPECT_EQ(n->getLong("i", 0, 1), 2147483647);
    EXPECT_EQ(n->getLong("j", 0, 1), 1);

    auto w = XMLNode::Create("w");
    w->addInteger("i", -12);
    w->addLong("l", -2000000000);
    EXPECT_EQ(w->toString(), "<w><i>-12</i><l>-2000000000</l></w>");
}

TEST(XMLNode, BooleanConversions) {
    auto n = XMLNode::createFromXML(
        "<n><a>-1</a><b>1</b><c>True</c><d>true</d><e>0</e><f>False</f><g>yes</g><h>TRUE</h></n>");
    for (const char* t : {"a", "b", "c", "d", "h"}) {
        EXPECT_TRUE(n->getBoolean(t, 0, false)) << t;
    }
    EXPECT_FALSE(n->getBoolean("e", 0, true));
    EXPECT_FALSE(n->getBoolean("f", 0, true));
    EXPECT_TRUE(n->getBoolean("g", 0, true));
    EXPECT_FALSE(n->getBoolean("g", 0, false));

    auto w = XMLNode::Create("w");
    w->addBoolean("t", true);
    w->addBoolean("f", false);
    EXPECT_EQ(w->toString(), "<w><t>-1</t><f>0</f></w>");
}

TEST(XMLNode, DateConversions) {
    const Date def = Date::fromParts(2000, 1, 1);
    auto n = XMLNode::createFromXML("<n><a>2026/03/07</a><b>2026-03-07 07:05:00</b><c>2026/13/01 24:00:00</c>"
                                    "<d>2026/03/07 07:05:0x</d><e>0099/12/31 00:00:00</e></n>");
    EXPECT_EQ(n->getDate("a", 0, def), def);
    EXPECT_EQ(n->getDate("b", 0, def), Date::fromParts(2026, 3, 7, 7, 5, 0));
    EXPECT_EQ(n->getDate("c", 0, def), Date::fromParts(2027, 1, 2, 0, 0, 0));
    EXPECT_EQ(n->getDate("d", 0, def), def);
    EXPECT_EQ(n->getDate("e", 0, def), def);

    auto w = XMLNode::Create("w");
    w->addDate("d", Date::fromParts(2026, 3, 7, 7, 5, 0));
    EXPECT_EQ(w->toString(), "<w><d>2026/03/07 07:05:00</d></w>");
    w->setDate("d", Date::none());
    EXPECT_EQ(w->getDate("d"), Date::none());
}

TEST(XMLNode, SingleAndDoubleTextForms) {
    auto w = XMLNode::Create("w");
    w->addSingle("a", 1.5f);
    w->addSingle("b", 0.25f);
    w->addSingle("c", 1e-5f);
    w->addSingle("d", 0.1f);
    w->addSingle("e", 12345678.0f);
    w->addDouble("f", 0.1);
    w->addDouble("g", -2.0);
    EXPECT_EQ(w->toString(), "<w><a>1.5</a><b>0.25</b><c>1E-05</c><d>0.1</d><e>1.234568E+07</e><f>0.1</f>"
                             "<g>-2</g></w>");
    EXPECT_FLOAT_EQ(w->getSingle("d"), 0.1f);
    EXPECT_FLOAT_EQ(w->getSingle("c"), 1e-5f);
    EXPECT_DOUBLE_EQ(w->getDouble("f"), 0.1);
    EXPECT_FLOAT_EQ(w->getSingle("missing", 0, 2.5f), 2.5f);

    auto r = XMLNode::createFromXML("<r><a>1,5</a><b>abc</b><c>1e400</c></r>");
    EXPECT_FLOAT_EQ(r->getSingle("a", 0, 9.0f), 9.0f);
    EXPECT_FLOAT_EQ(r->getSingle("b", 0, 9.0f), 9.0f);
    EXPECT_FLOAT_EQ(r->getSingle("c", 0, 9.0f), 9.0f);
    EXPECT_DOUBLE_EQ(r->getDouble("c", 0, 9.0), 9.0);
}

TEST(XMLNode, RemoveReturnsTheValueAndEditsTheList) {
    auto n = XMLNode::createFromXML("<n><a>1</a><b>2</b><a>3</a></n>");
    EXPECT_EQ(n->removeInteger("a", 1, 0), 3);
    EXPECT_EQ(n->getNumberOfNodes(), 2);
    EXPECT_EQ(n->removeInteger("a", 5, 9), 9);
    EXPECT_EQ(n->getNumberOfNodes(), 2);

    n->addNodeAt(0, XMLNode::Create("first", ""));
    n->addNodeAt(99, XMLNode::Create("ignored", ""));
    EXPECT_EQ(n->toString(), "<n><first></first><a>1</a><b>2</b></n>");
    n->setNodeAt(1, XMLNode::Create("z", "26"));
    EXPECT_EQ(n->getNodeAt(1)->name, "z");
    auto removed = n->removeNodeAt(0);
    EXPECT_EQ(removed->name, "first");
    EXPECT_EQ(n->removeNode("nothing"), nullptr);
    n->addXMLString("<x><y>1</y></x>");
    EXPECT_EQ(n->toString(), "<n><z>26</z><b>2</b><x><y>1</y></x></n>");

    auto source = XMLNode::createFromXML("<b>new<deep>1</deep></b>");
    n->setNode(*source);
    EXPECT_EQ(n->getNode("b")->Value, "new");
    EXPECT_EQ(n->getNode("b")->getNumberOfNodes(), 0);
    n->clear();
    EXPECT_EQ(n->toString(), "<n></n>");
}

TEST(XMLNode, Files) {
    test::TempHome home;
    auto missing = XMLNode::createFromFile(home.file("nothing.agx"));
    EXPECT_EQ(missing->name, "");
    EXPECT_EQ(missing->getNumberOfNodes(), 0);
    std::string content = "untouched";
    EXPECT_TRUE(XMLNode::getFile(home.file("nothing.agx"), content));
    EXPECT_EQ(content, "untouched");
    EXPECT_TRUE(XMLNode::getFile(home.path(), content)); // a folder is not a file

    home.write("f.txt", std::string(1000, 'x'));
    EXPECT_FALSE(XMLNode::putFile(home.file("f.txt"), "short"));
    EXPECT_EQ(home.read("f.txt"), "short");

    auto doc = XMLNode::Create("doc", "caf\xC3\xA9");
    EXPECT_FALSE(doc->toXMLFile(home.file("doc.xml")));
    auto back = XMLNode::createFromFile(home.file("doc.xml"));
    EXPECT_EQ(back->Value, "caf\xC3\xA9");
    EXPECT_TRUE(XMLNode::createFromXML("<x/>")->toXMLFile(home.file("no/such/folder/x.xml")));

    // Nothing but the written files is left behind: writes go through a renamed temporary file.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(home.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2);

    // A file from the old platform in Windows-1252 loads, and writes back as UTF-8 without loss.
    home.write("old.agx", "<algr><name>Caf\xE9 \x80 \x96</name></algr>");
    auto old = XMLNode::createFromFile(home.file("old.agx"));
    EXPECT_EQ(old->getString("name"), "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93");
    auto again = std::make_shared<XMLNode>();
    EXPECT_FALSE(old->toXMLFile(home.file("old.agx")));
    EXPECT_FALSE(again->initializeFromFile(home.file("old.agx")));
    EXPECT_EQ(again->getString("name"), old->getString("name"));
}

TEST(XMLNode, WhatXmlCannotHoldIsLeftOutAndAFailedWriteSaysWhy) {
    auto alarm = XMLNode::Create("alrm");
    alarm->addString("name", std::string("bell\x01\x07 & <tab>\there\r\n"));
    const std::string text = alarm->toString();
    EXPECT_EQ(text.find('\x01'), std::string::npos);
    EXPECT_EQ(text.find('\x07'), std::string::npos);
    auto back = std::make_shared<XMLNode>();
    ASSERT_FALSE(back->initializeFromXML(text));
    EXPECT_EQ(back->getString("name"), "bell & <tab>\there\r\n");

    test::TempHome home;
    std::string reason;
    EXPECT_TRUE(alarm->toXMLFile(home.file("no/such/folder/x.xml"), &reason));
    EXPECT_EQ(reason, "No such file or directory");
}

TEST(XMLNode, TemporariesACrashLeftAreRemovedAndNothingElse) {
    test::TempHome home;
    for (const char* name : {"usg_0.agx.Ab12Cd", "usr.cfx.x9Y8z7", "todo.txt.QQQQQQ"}) {
        home.write(name, "<algr>half");
    }
    for (const char* name : {"usg_0.agx", "photo.jpg.Ab12Cd", "usg_1.agx.bak", "notes.txt.1234567"}) {
        home.write(name, "mine");
    }
    EXPECT_EQ(TextFile::removeLeftoverTemporaries(home.path()), 3);
    int left = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(home.path())) {
        ++left;
    }
    EXPECT_EQ(left, 4);
}

TEST(XMLNode, OversizedAndBinaryFilesNeverCrash) {
    test::TempHome home;
    // A sparse file larger than any document of ours is refused rather than read into memory.
    home.write("huge.agx", "");
    std::filesystem::resize_file(home.file("huge.agx"), TextFile::kMaxFileSize + 1);
    std::string content = "kept";
    EXPECT_TRUE(XMLNode::getFile(home.file("huge.agx"), content));
    EXPECT_EQ(content, "kept");
    EXPECT_EQ(XMLNode::createFromFile(home.file("huge.agx"))->name, "");

    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919) % 256);
    }
    home.write("binary.agx", binary);
    auto node = std::make_shared<XMLNode>();
    EXPECT_TRUE(node->initializeFromFile(home.file("binary.agx")));
    home.write("truncated.agx", "<algr><name>Wor");
    auto truncated = std::make_shared<XMLNode>();
    EXPECT_TRUE(truncated->initializeFromFile(home.file("truncated.agx")));
    EXPECT_EQ(truncated->name, "algr");
    // Text is handed to its element at the next "<": text cut off before one was never parsed.
    EXPECT_EQ(truncated->getNumberOfNodes(), 1);
    EXPECT_EQ(truncated->getString("name", 0, "?"), "");
}

} // namespace
} // namespace halvika
