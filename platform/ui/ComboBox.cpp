#include "platform/ui/ComboBox.h"

#include <cstring>

#include "platform/ui/EditBehaviour.h"
#include "platform/ui/TextCompare.h"

using kestrin::ui::Window;

using kestrin::ui::EntryList;

namespace {
// Puts entry `index` into the edit field, selected, and makes it current.
void takeEntry(Window& w, int index) {
    const std::string text = w.list().text(index);
    kestrin::ui::editSetText(w, text, false);
    kestrin::ui::selectEntry(w, index);
    kestrin::ui::editSetSel(w, 0, -1);
}
}  // namespace

int CComboBox::AddString(const char* text) {
    Window* w = window();
    return kestrin::ui::addEntry(w, text, w != nullptr && (w->style & CBS_SORT) != 0, CB_ERR);
}

int CComboBox::InsertString(int index, const char* text) { return kestrin::ui::insertEntry(window(), index, text, CB_ERR); }

int CComboBox::DeleteString(UINT index) { return kestrin::ui::deleteEntry(window(), index, CB_ERR); }

void CComboBox::ResetContent() {
    Window* w = window();
    if (w == nullptr) return;
    const int before = w->list().selection();
    w->list().reset();
    w->edit() = {};
    kestrin::ui::setWindowText(*w, {});
    if ((w = window()) != nullptr) kestrin::ui::entriesChanged(*w, before);
}

int CComboBox::GetCount() const {
    const Window* w = window();
    return w ? w->list().count() : CB_ERR;
}

int CComboBox::GetCurSel() const {
    const Window* w = window();
    return w ? w->list().selection() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    Window* w = window();
    if (w == nullptr) return CB_ERR;
    if (!w->list().valid(index)) {
        kestrin::ui::editSetText(*w, {}, false);
        if ((w = window()) != nullptr) kestrin::ui::selectEntry(*w, -1);
        return CB_ERR;
    }
    takeEntry(*w, index);
    return index;
}

void CComboBox::GetLBText(int index, std::string& out) const {
    const Window* w = window();
    out = w ? w->list().text(index) : std::string();
}

int CComboBox::GetLBText(int index, LPSTR buffer) const {
    const Window* w = window();
    if (w == nullptr || !w->list().valid(index) || buffer == nullptr) return CB_ERR;
    const std::string& s = w->list().text(index);
    std::memcpy(buffer, s.c_str(), s.size() + 1);
    return static_cast<int>(s.size());
}

int CComboBox::GetLBTextLen(int index) const {
    const Window* w = window();
    return w && w->list().valid(index) ? static_cast<int>(w->list().text(index).size()) : CB_ERR;
}

int CComboBox::FindString(int startAfter, const char* prefix) const {
    const Window* w = window();
    return w ? w->list().findPrefix(startAfter, prefix ? prefix : "") : CB_ERR;
}

int CComboBox::FindStringExact(int startAfter, const char* text) const {
    const Window* w = window();
    return w ? w->list().findExact(startAfter, text ? text : "") : CB_ERR;
}

int CComboBox::SelectString(int startAfter, const char* prefix) {
    const int i = FindString(startAfter, prefix);
    return i == CB_ERR ? CB_ERR : SetCurSel(i);
}

DWORD CComboBox::GetEditSel() const {
    const Window* w = window();
    return w ? MAKELONG(static_cast<WORD>(w->edit().selStart()), static_cast<WORD>(w->edit().selEnd())) : 0;
}

BOOL CComboBox::SetEditSel(int start, int end) {
    Window* w = window();
    if (w == nullptr) return FALSE;
    kestrin::ui::editSetSel(*w, start, end);
    return TRUE;
}

void CComboBox::Cut() {
    if (Window* w = window()) kestrin::ui::editCut(*w);
}
void CComboBox::Copy() {
    if (Window* w = window()) kestrin::ui::editCopy(*w);
}
void CComboBox::Paste() {
    if (Window* w = window()) kestrin::ui::editPaste(*w);
}
void CComboBox::Clear() {
    if (Window* w = window()) kestrin::ui::editClear(*w);
}

namespace kestrin::ui {

void chooseEntry(HWND combo, int index) {
    Window* w = windowOf(combo);
    if (w == nullptr || !w->list().valid(index)) return;
    notifyParent(combo, CBN_DROPDOWN);
    if ((w = windowOf(combo)) == nullptr || !w->list().valid(index)) return;
    takeEntry(*w, index);
    notifyParent(combo, CBN_SELENDOK);
    notifyParent(combo, CBN_CLOSEUP);
    notifyParent(combo, CBN_SELCHANGE);
}

}  // namespace kestrin::ui
