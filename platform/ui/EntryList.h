// The entries of a list (combo boxes, list boxes, the lists of a directory
// chooser) and its one current selection. Indexes are 0-based; -1 is "none".
// Sorted lists keep case-insensitive CP1251 order; an entry equal to others
// goes after them.
#pragma once

#include <string>
#include <vector>

namespace kestrin::ui {

class EntryList {
public:
    int count() const { return static_cast<int>(entries_.size()); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    const std::vector<std::string>& entries() const { return entries_; }
    // The entry's text; empty for an index out of range.
    const std::string& text(int index) const;

    // Answers the new entry's index. `sorted` places it in order, else at the end.
    int add(std::string text, bool sorted);
    // At `index` (-1 appends); -1 when the index is past the end. No sorting.
    int insert(int index, std::string text);
    // Answers the count left, or -1 for an index out of range.
    int erase(int index);
    void reset();

    // Searches after `startAfter` (-1 or out of range: from the first entry),
    // wrapping round; case-insensitive. -1 when none.
    int findPrefix(int startAfter, const std::string& prefix) const;
    int findExact(int startAfter, const std::string& text) const;
    // The exact text first, then the case-insensitive match.
    int findForChoice(const std::string& text) const;

    int selection() const { return selection_; }
    // Selects an entry; an index out of range clears the selection. Answers
    // whether the selection is `index` afterwards.
    bool select(int index);

private:
    int find(int startAfter, const std::string& text, bool prefix) const;
    std::vector<std::string> entries_;
    int selection_ = -1;
};

}  // namespace kestrin::ui
