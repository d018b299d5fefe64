// The vector containers: capacity rule, identity, and the typed vectors.
#include "containers/Vector.h"
#include "containers/BooleanVector.h"
#include "containers/DateVector.h"
#include "containers/StringVector.h"

#include <gtest/gtest.h>

#include <string>

namespace halvika {
namespace {

struct Item {
    std::string text;
};
using ItemPtr = std::shared_ptr<Item>;

ItemPtr item(std::string text) {
    return std::make_shared<Item>(Item{std::move(text)});
}

TEST(Vector, CapacityDoublesAndHalves) {
    auto v = Vector<Item>::createVector();
    EXPECT_EQ(v.numberOfElements(), 0);
    EXPECT_EQ(v.capacity(), 10);
    for (int i = 0; i < 11; ++i) {
        ASSERT_TRUE(v.addElement(item(std::to_string(i))));
    }
    EXPECT_EQ(v.capacity(), 20);
    v.removeElementAt(0);
    EXPECT_EQ(v.capacity(), 20); // 10 of 20 in use: not fewer than half
    v.removeElementAt(0);
    EXPECT_EQ(v.numberOfElements(), 9);
    EXPECT_EQ(v.capacity(), 10);
    EXPECT_EQ(v.elementAt(0)->text, "2");

    for (int i = 0; i < 31; ++i) {
        v.addElement(item("x"));
    }
    EXPECT_EQ(v.capacity(), 40);
    v.clear();
    EXPECT_EQ(v.numberOfElements(), 0);
    EXPECT_EQ(v.capacity(), 10);
}

TEST(Vector, LimitIsAnErrorTheCallerSees) {
    StringVector s;
    for (int i = 0; i < VectorStorage<std::string>::kMaxCount; ++i) {
        ASSERT_TRUE(s.addString("x"));
    }
    EXPECT_EQ(s.capacity(), 20480);
    EXPECT_FALSE(s.addString("one too many"));
    EXPECT_EQ(s.numberOfElements(), 20480);
}

TEST(Vector, ElementsAreComparedByIdentity) {
    auto a = item("same");
    auto b = item("same");
    auto v = Vector<Item>::createVectorWithObj(a, 3);
    v.addElementAt(b, 1);
    EXPECT_EQ(v.numberOfElements(), 4);
    EXPECT_EQ(v.indexOf(b), 1);
    EXPECT_EQ(v.indexOf(a, 1), 2);
    v.remove(a);
    EXPECT_EQ(v.numberOfElements(), 1);
    EXPECT_EQ(v.indexOf(a), -1);
    EXPECT_TRUE(v.contains(b));
    EXPECT_FALSE(v.contains(item("same")));
    EXPECT_EQ(Vector<Item>::createVectorWithObj(a, 0).numberOfElements(), 0);
}

TEST(Vector, RemovingReleasesTheReference) {
    auto a = item("a");
    auto v = Vector<Item>::createVector();
    v.addElement(a);
    EXPECT_EQ(a.use_count(), 2);
    v.removeElementAt(0);
    EXPECT_EQ(a.use_count(), 1);
    EXPECT_EQ(v.elementAt(0), nullptr); // a slot past the count reads empty
}

TEST(Vector, SwapReverseAndCopies) {
    auto a = item("a"), b = item("b"), c = item("c"), x = item("x");
    auto v = Vector<Item>::createVector();
    v.addElement(a);
    v.addElement(b);
    v.addElement(c);
    v.swap(0, 5);
    EXPECT_EQ(v.elementAt(0), a);
    v.swapObjects(a, x);
    EXPECT_EQ(v.elementAt(0), a);
    v.swapObjects(a, c);
    EXPECT_EQ(v.elementAt(0), c);
    EXPECT_EQ(v.elementAt(2), a);
    v.reverse();
    EXPECT_EQ(v.elementAt(0), a);
    EXPECT_EQ(v.elementAt(2), c);

    auto copy = v.getCopy();
    copy.removeElementAt(0);
    EXPECT_EQ(v.numberOfElements(), 3);
    EXPECT_EQ(copy.numberOfElements(), 2);
    EXPECT_EQ(copy.elementAt(0), v.elementAt(1)); // the same object, shared

    v.addVectorAt(v, 1);
    EXPECT_EQ(v.numberOfElements(), 6);
    EXPECT_EQ(v.elementAt(1), a);
    EXPECT_EQ(v.elementAt(4), b);
    EXPECT_FALSE(v.addElementAt(x, 99));
    EXPECT_FALSE(v.setElementAt(x, 6));
    EXPECT_FALSE(v.removeElementAt(-1));
}

TEST(TypedVectors, StringsBooleansDates) {
    StringVector s;
    s.addString("ABC");
    EXPECT_EQ(s.indexOf("abc"), -1);
    EXPECT_EQ(s.indexOf("ABC"), 0);
    StringVector more;
    more.addString("d");
    s.addStringVector(more);
    s.addStringVector(s);
    EXPECT_EQ(s.numberOfElements(), 4);
    s.removeStringAt(0);
    EXPECT_EQ(s.stringAt(0), "d");
    EXPECT_EQ(s.stringAt(10), "");

    BooleanVector b;
    b.addBoolean(true, 3);
    EXPECT_EQ(b.numberOfElements(), 3);
    b.addBoolean(true, 0);
    EXPECT_EQ(b.numberOfElements(), 4);
    b.addBooleanAt(false, 0);
    EXPECT_FALSE(b.booleanAt(0));
    EXPECT_TRUE(b.setBooleanAt(1, false));
    EXPECT_FALSE(b.booleanAt(1));
    EXPECT_TRUE(b.booleanAt(2));

    DateVector d;
    const Date day = Date::fromParts(2026, 3, 7);
    d.addDate(day, -5);
    d.addDateAt(Date::none(), 0);
    EXPECT_EQ(d.numberOfElements(), 2);
    EXPECT_EQ(d.dateAt(0), Date::none());
    d.removeDateAt(0);
    EXPECT_EQ(d.dateAt(0), day);
    EXPECT_EQ(d.dateAt(5), Date::zero());
}

} // namespace
} // namespace halvika
