#include "platform/ui/EntryList.h"

#include "platform/ui/TextCompare.h"

namespace kestrin::ui {

const std::string& EntryList::text(int index) const {
    static const std::string none;
    return valid(index) ? entries_[static_cast<std::size_t>(index)] : none;
}

int EntryList::add(std::string text, bool sorted) {
    std::size_t at = entries_.size();
    if (sorted) {
        at = 0;
        while (at < entries_.size() && compareNoCase(entries_[at], text) <= 0) ++at;
    }
    return insert(static_cast<int>(at), std::move(text));
}

int EntryList::insert(int index, std::string text) {
    if (index > count()) return -1;
    const int at = index < 0 ? count() : index;
    entries_.insert(entries_.begin() + at, std::move(text));
    if (selection_ >= at) ++selection_;
    return at;
}

int EntryList::erase(int index) {
    if (!valid(index)) return -1;
    entries_.erase(entries_.begin() + index);
    if (selection_ == index) selection_ = -1;
    else if (selection_ > index) --selection_;
    return count();
}

void EntryList::reset() {
    entries_.clear();
    selection_ = -1;
}

int EntryList::find(int startAfter, const std::string& text, bool prefix) const {
    const int n = count();
    if (n == 0) return -1;
    const int first = (startAfter < 0 || startAfter >= n) ? 0 : startAfter + 1;
    const std::string key = lowerCp1251(text);
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        const std::string entry = lowerCp1251(entries_[static_cast<std::size_t>(i)]);
        if (prefix ? entry.compare(0, key.size(), key) == 0 : entry == key) return i;
    }
    return -1;
}

int EntryList::findPrefix(int startAfter, const std::string& prefix) const { return find(startAfter, prefix, true); }
int EntryList::findExact(int startAfter, const std::string& text) const { return find(startAfter, text, false); }

int EntryList::findForChoice(const std::string& text) const {
    for (int i = 0; i < count(); ++i)
        if (entries_[static_cast<std::size_t>(i)] == text) return i;
    return findExact(-1, text);
}

bool EntryList::select(int index) {
    selection_ = valid(index) ? index : -1;
    return selection_ == index;
}

}  // namespace kestrin::ui
