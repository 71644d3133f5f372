#include "platform/ui/ListBox.h"

using kestrin::ui::Window;

int CListBox::AddString(const char* text) {
    Window* w = window();
    if (w == nullptr || text == nullptr) return LB_ERR;
    const int before = w->list().selection();
    const int at = w->list().add(text, (w->style & LBS_SORT) != 0);
    kestrin::ui::entriesChanged(*w, before);
    return at;
}

int CListBox::InsertString(int index, const char* text) {
    Window* w = window();
    if (w == nullptr || text == nullptr) return LB_ERR;
    const int before = w->list().selection();
    const int at = w->list().insert(index, text);
    if (at < 0) return LB_ERR;
    kestrin::ui::entriesChanged(*w, before);
    return at;
}

int CListBox::DeleteString(UINT index) {
    Window* w = window();
    if (w == nullptr || index > static_cast<UINT>(w->list().count())) return LB_ERR;
    const int before = w->list().selection();
    const int left = w->list().erase(static_cast<int>(index));
    if (left < 0) return LB_ERR;
    kestrin::ui::entriesChanged(*w, before);
    return left;
}

void CListBox::ResetContent() {
    if (Window* w = window()) {
        const int before = w->list().selection();
        w->list().reset();
        kestrin::ui::entriesChanged(*w, before);
    }
}

int CListBox::GetCount() const {
    const Window* w = window();
    return w ? w->list().count() : LB_ERR;
}

int CListBox::GetCurSel() const {
    const Window* w = window();
    return w ? w->list().selection() : LB_ERR;
}

int CListBox::SetCurSel(int index) {
    Window* w = window();
    if (w == nullptr) return LB_ERR;
    const bool selected = kestrin::ui::selectEntry(*w, index);
    return selected ? index : LB_ERR;
}

void CListBox::GetText(int index, std::string& out) const {
    const Window* w = window();
    out = w ? w->list().text(index) : std::string();
}

int CListBox::FindStringExact(int startAfter, const char* text) const {
    const Window* w = window();
    if (w == nullptr || text == nullptr) return LB_ERR;
    return w->list().findExact(startAfter, text);
}

namespace kestrin::ui {

void selectListEntry(HWND list, int index) {
    Window* w = windowOf(list);
    if (w == nullptr || !w->list().valid(index)) return;
    selectEntry(*w, index);
    if ((w = windowOf(list)) == nullptr) return;
    ++w->paints;
    if (w->style & LBS_NOTIFY) notifyParent(list, LBN_SELCHANGE);
}

}  // namespace kestrin::ui
