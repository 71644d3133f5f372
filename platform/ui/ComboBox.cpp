#include "platform/ui/ComboBox.h"

#include <cstring>

#include "platform/ui/EditBehaviour.h"
#include "platform/ui/TextCompare.h"

using kestrin::ui::Window;

namespace {
bool validIndex(const Window* w, int index) {
    return w && index >= 0 && index < static_cast<int>(w->entries.size());
}

int findFrom(const Window* w, int startAfter, const std::string& text, bool prefix) {
    if (w == nullptr || w->entries.empty()) return CB_ERR;
    const int n = static_cast<int>(w->entries.size());
    const int first = (startAfter < 0 || startAfter >= n) ? 0 : startAfter + 1;
    const std::string key = kestrin::ui::lowerCp1251(text);
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        const std::string entry = kestrin::ui::lowerCp1251(w->entries[static_cast<std::size_t>(i)]);
        if (prefix ? entry.compare(0, key.size(), key) == 0 : entry == key) return i;
    }
    return CB_ERR;
}
}  // namespace

int CComboBox::AddString(const char* text) {
    Window* w = window();
    if (w == nullptr || text == nullptr) return CB_ERR;
    auto& e = w->entries;
    std::size_t at = e.size();
    if (w->style & CBS_SORT) {
        at = 0;
        while (at < e.size() && kestrin::ui::compareNoCase(e[at], text) <= 0) ++at;
    }
    e.insert(e.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (w->curSel >= static_cast<int>(at)) ++w->curSel;
    return static_cast<int>(at);
}

int CComboBox::InsertString(int index, const char* text) {
    Window* w = window();
    if (w == nullptr || text == nullptr || index > static_cast<int>(w->entries.size())) return CB_ERR;
    const auto at = index < 0 ? w->entries.size() : static_cast<std::size_t>(index);
    w->entries.insert(w->entries.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (w->curSel >= static_cast<int>(at)) ++w->curSel;
    return static_cast<int>(at);
}

int CComboBox::DeleteString(UINT index) {
    Window* w = window();
    if (!validIndex(w, static_cast<int>(index))) return CB_ERR;
    w->entries.erase(w->entries.begin() + index);
    if (w->curSel == static_cast<int>(index)) w->curSel = -1;
    else if (w->curSel > static_cast<int>(index)) --w->curSel;
    return static_cast<int>(w->entries.size());
}

void CComboBox::ResetContent() {
    if (Window* w = window()) {
        w->entries.clear();
        w->curSel = -1;
        w->text.clear();
        w->edit = {};
    }
}

int CComboBox::GetCount() const {
    const Window* w = window();
    return w ? static_cast<int>(w->entries.size()) : CB_ERR;
}

int CComboBox::GetCurSel() const {
    const Window* w = window();
    return w ? w->curSel : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    Window* w = window();
    if (w == nullptr) return CB_ERR;
    if (!validIndex(w, index)) {
        kestrin::ui::editSetText(*w, {}, false);
        return CB_ERR;
    }
    kestrin::ui::editSetText(*w, w->entries[static_cast<std::size_t>(index)], false);
    w->curSel = index;
    kestrin::ui::editSetSel(*w, 0, -1);
    return index;
}

void CComboBox::GetLBText(int index, std::string& out) const {
    const Window* w = window();
    out = validIndex(w, index) ? w->entries[static_cast<std::size_t>(index)] : std::string();
}

int CComboBox::GetLBText(int index, LPSTR buffer) const {
    const Window* w = window();
    if (!validIndex(w, index) || buffer == nullptr) return CB_ERR;
    const std::string& s = w->entries[static_cast<std::size_t>(index)];
    std::memcpy(buffer, s.c_str(), s.size() + 1);
    return static_cast<int>(s.size());
}

int CComboBox::GetLBTextLen(int index) const {
    const Window* w = window();
    return validIndex(w, index) ? static_cast<int>(w->entries[static_cast<std::size_t>(index)].size()) : CB_ERR;
}

int CComboBox::FindString(int startAfter, const char* prefix) const {
    return findFrom(window(), startAfter, prefix ? prefix : "", true);
}

int CComboBox::FindStringExact(int startAfter, const char* text) const {
    return findFrom(window(), startAfter, text ? text : "", false);
}

int CComboBox::SelectString(int startAfter, const char* prefix) {
    const int i = FindString(startAfter, prefix);
    return i == CB_ERR ? CB_ERR : SetCurSel(i);
}

DWORD CComboBox::GetEditSel() const {
    const Window* w = window();
    return w ? MAKELONG(static_cast<WORD>(w->edit.selStart()), static_cast<WORD>(w->edit.selEnd())) : 0;
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
    if (!validIndex(w, index)) return;
    notifyParent(combo, CBN_DROPDOWN);
    if ((w = windowOf(combo)) == nullptr || !validIndex(w, index)) return;
    editSetText(*w, w->entries[static_cast<std::size_t>(index)], false);
    w->curSel = index;
    editSetSel(*w, 0, -1);
    notifyParent(combo, CBN_SELENDOK);
    notifyParent(combo, CBN_CLOSEUP);
    notifyParent(combo, CBN_SELCHANGE);
}

int findEntryForChoice(const Window& combo, const std::string& text) {
    for (std::size_t i = 0; i < combo.entries.size(); ++i)
        if (combo.entries[i] == text) return static_cast<int>(i);
    return findFrom(&combo, -1, text, false);
}

}  // namespace kestrin::ui
