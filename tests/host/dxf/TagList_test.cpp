#include "host/dxf/TagList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrin::dxf;

namespace {

// The reference the packed list must agree with.
using Plain = std::vector<std::pair<int, std::string>>;

void expectSame(const TagList& list, const Plain& plain) {
    ASSERT_EQ(list.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(list[i].code, plain[i].first) << "tag " << i;
        EXPECT_EQ(list[i].value, plain[i].second) << "tag " << i;
    }
    std::size_t i = 0;
    for (const TagView t : list) {
        ASSERT_LT(i, plain.size());
        EXPECT_EQ(t.code, plain[i].first);
        EXPECT_EQ(t.value, plain[i].second);
        ++i;
    }
    EXPECT_EQ(i, plain.size());
}

std::string valueFor(std::size_t i) {
    // Short, empty, and long (>= 255 bytes, the long length form) values.
    if (i % 7 == 3) return std::string(255 + i % 300, static_cast<char>('a' + i % 26));
    if (i % 5 == 1) return "";
    return std::string("v").append(std::to_string(i));  // not "v" + temporary: g++ 12 -Wrestrict
}

}  // namespace

TEST(TagList, KeepsCodesAndValuesThroughEveryEdit) {
    TagList list;
    Plain plain;
    for (std::size_t i = 0; i < 200; ++i) {
        const int code = static_cast<int>(i % 1072);
        list.push(code, valueFor(i));
        plain.emplace_back(code, valueFor(i));
    }
    expectSame(list, plain);

    // Edits at the start, in the middle, across index strides, at the end.
    for (std::size_t at : {0u, 15u, 16u, 17u, 100u, 199u}) {
        list.set(at, "changed" + std::to_string(at));
        plain[at].second = "changed" + std::to_string(at);
    }
    list.set(5, std::string(1000, 'x'));
    plain[5].second = std::string(1000, 'x');
    list.insert(0, 999, "first");
    plain.insert(plain.begin(), {999, "first"});
    list.insert(40, -5, "negative code");
    plain.insert(plain.begin() + 40, {-5, "negative code"});
    list.insert(list.size(), 1071, "last");
    plain.emplace_back(1071, "last");
    for (std::size_t at : {0u, 31u, 32u, 150u}) {
        list.erase(at);
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
    }
    expectSame(list, plain);

    while (!plain.empty()) {
        list.erase(plain.size() / 2);
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(plain.size() / 2));
    }
    expectSame(list, plain);
    EXPECT_TRUE(list.empty());
}

TEST(TagList, FindLooksFromTheGivenIndex) {
    TagList list;
    for (int i = 0; i < 50; ++i) list.push(i % 10 == 0 ? 8 : 1, std::to_string(i));
    EXPECT_EQ(list.find(8), 0u);
    EXPECT_EQ(list.find(8, 1), 10u);
    EXPECT_EQ(list.find(8, 41), TagList::npos);
    EXPECT_EQ(list.find(8, 500), TagList::npos);
    EXPECT_EQ(list.find(62), TagList::npos);

    // The first value of a code, an empty one included, or none.
    list.set(20, "");
    list.insert(45, 7, "seven");
    list.insert(46, 7, "later");
    EXPECT_EQ(list.first(8), "0");
    EXPECT_EQ(list.first(7), "seven");
    list.insert(0, 3, "");
    ASSERT_TRUE(list.first(3).has_value());
    EXPECT_EQ(*list.first(3), "");
    EXPECT_FALSE(list.first(62).has_value());
    EXPECT_FALSE(TagList().first(8).has_value());
}

TEST(TagList, CopiesAreIndependentAndCompareByContent) {
    TagList a;
    for (int i = 0; i < 40; ++i) a.push(i, std::string("x").append(std::to_string(i)));  // g++ 12 -Wrestrict
    TagList b = a;
    EXPECT_EQ(a, b);
    b.set(39, "y");
    EXPECT_NE(a, b);
    EXPECT_EQ(a[39].value, "x39");
    TagList c = std::move(b);
    EXPECT_EQ(c[39].value, "y");
    EXPECT_EQ(c.size(), 40u);
    a = c;
    EXPECT_EQ(a, c);
    EXPECT_NE(TagList(), a);

    std::vector<TagView> views{{1, "one"}, {2, "two"}};
    TagList built = TagList::fromViews(views);
    TagList pushed;
    pushed.push(1, "one");
    pushed.push(2, "two");
    EXPECT_EQ(built, pushed);
}

TEST(TagList, RefusesWhatItCannotHoldAndBadIndexes) {
    TagList list;
    EXPECT_THROW(list.push(40000, "x"), std::length_error);
    EXPECT_THROW(list.set(0, "x"), std::out_of_range);
    EXPECT_THROW(list.erase(0), std::out_of_range);
    EXPECT_THROW(list.insert(1, 1, "x"), std::out_of_range);
    EXPECT_TRUE(list.empty());
}

TEST(TagList, SmallRecordCostsLittleMoreThanItsText) {
    // A typical single-line text: about 110 bytes of values in 13 tags.
    std::vector<TagView> tags{{5, "1A2B3"},  {330, "1F"},  {100, "AcDbEntity"}, {8, "0"},  {100, "AcDbText"},
                              {10, "123.456"}, {20, "789.012"}, {30, "0.0"}, {40, "2.5"}, {1, "Some text 12345"},
                              {7, "Standard"}, {100, "AcDbText"}, {73, "0"}};
    std::size_t text = 0;
    for (const TagView& t : tags) text += t.value.size();
    const TagList list = TagList::fromViews(tags);
    EXPECT_LE(list.heapBytes(), text + 2 * tags.size() + 2);
    EXPECT_LE(sizeof(TagList), 32u);
}
