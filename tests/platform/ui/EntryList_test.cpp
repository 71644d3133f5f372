#include "platform/ui/EntryList.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ui/Window.h"

namespace kestrin::ui {
namespace {

// CP1251: А а Б б Ё ё.
const std::string kA = "\xC0", ka = "\xE0", kB = "\xC1", kb = "\xE1", kYo = "\xA8", kyo = "\xB8";

TEST(EntryList, SortedAddIgnoresCaseAndKeepsEqualEntriesInTheOrderAdded) {
    EntryList latin, cyrillic;
    for (const char* e : {"b", "A", "a"}) latin.add(e, true);
    EXPECT_EQ(latin.entries(), (std::vector<std::string>{"A", "a", "b"}));
    for (const std::string& e : std::vector<std::string>{kb, kA, ka}) cyrillic.add(e, true);
    EXPECT_EQ(cyrillic.entries(), (std::vector<std::string>{kA, ka, kb}));
    EXPECT_EQ(cyrillic.add(kB, true), 3) << "an equal entry goes after the others";
    EXPECT_EQ(cyrillic.add(kA, false), 4) << "unsorted: at the end";
}

TEST(EntryList, SelectionFollowsItsEntryThroughInsertsAndDeletes) {
    EntryList l;
    for (const char* e : {"one", "two", "three"}) l.add(e, false);
    EXPECT_TRUE(l.select(1));
    EXPECT_EQ(l.insert(0, "zero"), 0);
    EXPECT_EQ(l.selection(), 2);
    EXPECT_EQ(l.insert(-1, "four"), 4) << "-1 appends";
    EXPECT_EQ(l.insert(9, "far"), -1) << "past the end";
    EXPECT_EQ(l.erase(0), 4);
    EXPECT_EQ(l.text(l.selection()), "two");
    EXPECT_EQ(l.erase(1), 3) << "deleting the selected entry";
    EXPECT_EQ(l.selection(), -1);
    EXPECT_EQ(l.erase(3), -1);
    EXPECT_FALSE(l.select(7));
    EXPECT_EQ(l.selection(), -1);
    EXPECT_EQ(l.text(7), "");
    l.reset();
    EXPECT_EQ(l.count(), 0);
}

TEST(EntryList, SearchesWrapAfterTheStartAndIgnoreCase) {
    EntryList l;
    for (const std::string& e : std::vector<std::string>{"Arial", "arial Black", kYo + "lka", "Times"}) l.add(e, false);
    EXPECT_EQ(l.findPrefix(-1, "ARIAL"), 0);
    EXPECT_EQ(l.findPrefix(0, "arial"), 1);
    EXPECT_EQ(l.findPrefix(1, "arial"), 0) << "wraps round";
    EXPECT_EQ(l.findExact(-1, "ARIAL"), 0);
    EXPECT_EQ(l.findExact(0, "arial"), 0) << "the only exact match, found after wrapping";
    EXPECT_EQ(l.findExact(-1, kyo + "LKA"), 2);
    EXPECT_EQ(l.findExact(-7, "times"), 3) << "a start out of range searches from the first";
    EXPECT_EQ(l.findExact(99, "times"), 3);
    EXPECT_EQ(l.findExact(-1, "Tim"), -1);
    EXPECT_EQ(EntryList().findPrefix(-1, ""), -1);
}

TEST(EntryList, ChoiceTakesTheExactTextBeforeACaseInsensitiveMatch) {
    EntryList l;
    for (const char* e : {"abc", "ABC"}) l.add(e, false);
    EXPECT_EQ(l.findForChoice("ABC"), 1);
    EXPECT_EQ(l.findForChoice("Abc"), 0);
    EXPECT_EQ(l.findForChoice("x"), -1);
}

TEST(WindowState, EachKindHasOnlyItsOwnState) {
    Window combo(WindowKind::ComboBox), list(WindowKind::ListBox), edit(WindowKind::Edit), button(WindowKind::Button),
        stat(WindowKind::Static), dialog(WindowKind::Dialog);
    combo.edit().caret = 2;
    combo.list().add("x", false);
    EXPECT_EQ(combo.edit().caret, 2) << "the edit field of a combo box";
    EXPECT_EQ(list.list().count(), 0);
    EXPECT_NO_THROW(edit.edit());
    EXPECT_NO_THROW(button.image());
    EXPECT_NO_THROW(stat.image());
    EXPECT_NO_THROW(dialog.dialog());
    EXPECT_THROW(edit.list(), std::logic_error);
    EXPECT_THROW(list.edit(), std::logic_error);
    EXPECT_THROW(stat.button(), std::logic_error);
    EXPECT_THROW(button.dialog(), std::logic_error);
    EXPECT_THROW(dialog.image(), std::logic_error);
    try {
        combo.progress();
        ADD_FAILURE();
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("combo box"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace kestrin::ui
