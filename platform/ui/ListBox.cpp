#include "platform/ui/ListBox.h"

#include "platform/ui/TextCompare.h"

using kestrin::ui::Window;

namespace {
bool validIndex(const Window* w, int i) { return w && i >= 0 && i < static_cast<int>(w->entries.size()); }
}  // namespace

int CListBox::AddString(const char* text) {
    Window* w = window();
    if (w == nullptr || text == nullptr) return LB_ERR;
    auto& e = w->entries;
    std::size_t at = e.size();
    if (w->style & LBS_SORT) {
        at = 0;
        while (at < e.size() && kestrin::ui::compareNoCase(e[at], text) <= 0) ++at;
    }
    e.insert(e.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (w->curSel >= static_cast<int>(at)) ++w->curSel;
    return static_cast<int>(at);
}

int CListBox::InsertString(int index, const char* text) {
    Window* w = window();
    if (w == nullptr || text == nullptr || index > static_cast<int>(w->entries.size())) return LB_ERR;
    const auto at = index < 0 ? w->entries.size() : static_cast<std::size_t>(index);
    w->entries.insert(w->entries.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (w->curSel >= static_cast<int>(at)) ++w->curSel;
    return static_cast<int>(at);
}

int CListBox::DeleteString(UINT index) {
    Window* w = window();
    if (!validIndex(w, static_cast<int>(index))) return LB_ERR;
    w->entries.erase(w->entries.begin() + index);
    if (w->curSel == static_cast<int>(index)) w->curSel = -1;
    else if (w->curSel > static_cast<int>(index)) --w->curSel;
    return static_cast<int>(w->entries.size());
}

void CListBox::ResetContent() {
    if (Window* w = window()) {
        w->entries.clear();
        w->curSel = -1;
    }
}

int CListBox::GetCount() const {
    const Window* w = window();
    return w ? static_cast<int>(w->entries.size()) : LB_ERR;
}

int CListBox::GetCurSel() const {
    const Window* w = window();
    return w ? w->curSel : LB_ERR;
}

int CListBox::SetCurSel(int index) {
    Window* w = window();
    if (w == nullptr) return LB_ERR;
    w->curSel = validIndex(w, index) ? index : -1;
    return index == -1 || validIndex(w, index) ? index : LB_ERR;
}

void CListBox::GetText(int index, std::string& out) const {
    const Window* w = window();
    out = validIndex(w, index) ? w->entries[static_cast<std::size_t>(index)] : std::string();
}

int CListBox::FindStringExact(int startAfter, const char* text) const {
    const Window* w = window();
    if (w == nullptr || text == nullptr) return LB_ERR;
    const int n = static_cast<int>(w->entries.size());
    const std::string key = kestrin::ui::lowerCp1251(text);
    for (int k = 0; k < n; ++k) {
        const int i = (startAfter + 1 + k) % n;
        if (kestrin::ui::lowerCp1251(w->entries[static_cast<std::size_t>(i)]) == key) return i;
    }
    return LB_ERR;
}

namespace kestrin::ui {

void selectListEntry(HWND list, int index) {
    Window* w = windowOf(list);
    if (!validIndex(w, index)) return;
    w->curSel = index;
    ++w->paints;
    if (w->style & LBS_NOTIFY) notifyParent(list, LBN_SELCHANGE);
}

}  // namespace kestrin::ui
