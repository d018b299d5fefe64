#include "xml/StoredNode.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(StoredNode, KeptAsTextUntilUsedThenAsTheNodeItself) {
    StoredNode empty("sett");
    EXPECT_EQ(empty.toString(), "<sett></sett>");
    EXPECT_EQ(empty->getNumberOfNodes(), 0);

    // A copy: the source may change or go, and writing out does not read the text into a node.
    auto source = XMLNode::createFromXML("<acti><sett><s>Tea &amp; biscuits</s><i>1</i></sett></acti>");
    StoredNode settings("sett");
    settings.keepCopyOf(*source->getNode("sett"));
    source->getNode("sett")->setString("s", "changed");
    source.reset();
    EXPECT_TRUE(settings.isText());
    EXPECT_EQ(settings.toString(), "<sett><s>Tea &amp; biscuits</s><i>1</i></sett>");
    const XMLNodePtr written = settings.getCopy();
    EXPECT_TRUE(settings.isText());
    EXPECT_EQ(written->getString("s"), "Tea & biscuits");

    // First use reads it; from then on changes stay, and copies made before are not touched.
    EXPECT_EQ(settings->getInteger("i", 0), 1);
    EXPECT_FALSE(settings.isText());
    settings->setString("s", "Coffee");
    EXPECT_EQ(settings.toString(), "<sett><s>Coffee</s><i>1</i></sett>");
    EXPECT_EQ(settings.getCopy()->getString("s"), "Coffee");
    EXPECT_EQ(written->getString("s"), "Tea & biscuits");

    // A node handed over is shared, as an edit window's result is; none is an empty element.
    auto edited = XMLNode::createFromXML("<sett><url>https://example.org</url></sett>");
    settings = edited;
    edited->setString("user", "alice");
    EXPECT_EQ(settings->getString("user"), "alice");
    settings = XMLNodePtr();
    EXPECT_EQ(settings.toString(), "<sett></sett>");
}

} // namespace
} // namespace halvika
