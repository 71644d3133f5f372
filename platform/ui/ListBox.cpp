#include "platform/ui/ListBox.h"

using kestrin::ui::Window;

int CListBox::AddString(const char* text) {
    Window* w = window();
    return kestrin::ui::addEntry(w, text, w != nullptr && (w->style & LBS_SORT) != 0, LB_ERR);
}

int CListBox::InsertString(int index, const char* text) { return kestrin::ui::insertEntry(window(), index, text, LB_ERR); }

int CListBox::DeleteString(UINT index) { return kestrin::ui::deleteEntry(window(), index, LB_ERR); }

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
