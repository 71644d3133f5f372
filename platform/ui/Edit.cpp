#include "platform/ui/Edit.h"

#include <algorithm>

#include "platform/ui/EditBehaviour.h"

using kestrin::ui::WindowKind;

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!createOwned(WindowKind::Edit, parent, id, style, {})) return FALSE;
    window()->rect = rect;
    return TRUE;
}

void CEdit::SetSel(int start, int end, BOOL) {
    if (auto* w = window()) kestrin::ui::editSetSel(*w, start, end);
}

void CEdit::SetSel(DWORD selection, BOOL noScroll) {
    SetSel(static_cast<SHORT>(LOWORD(selection)), static_cast<SHORT>(HIWORD(selection)), noScroll);
}

DWORD CEdit::GetSel() const {
    int s = 0, e = 0;
    GetSel(s, e);
    return MAKELONG(static_cast<WORD>(s), static_cast<WORD>(e));
}

void CEdit::GetSel(int& start, int& end) const {
    const auto* w = window();
    start = w ? w->edit().selStart() : 0;
    end = w ? w->edit().selEnd() : 0;
}

void CEdit::ReplaceSel(const char* text, BOOL canUndo) {
    if (auto* w = window()) kestrin::ui::editReplaceSel(*w, text ? text : "", canUndo != FALSE);
}

BOOL CEdit::Undo() {
    auto* w = window();
    return w && kestrin::ui::editUndo(*w) ? TRUE : FALSE;
}

BOOL CEdit::CanUndo() const {
    const auto* w = window();
    return w && w->edit().canUndo ? TRUE : FALSE;
}

void CEdit::EmptyUndoBuffer() {
    if (auto* w = window()) {
        w->edit().canUndo = false;
        w->edit().undoText.clear();
    }
}

void CEdit::Cut() {
    if (auto* w = window()) kestrin::ui::editCut(*w);
}
void CEdit::Copy() {
    if (auto* w = window()) kestrin::ui::editCopy(*w);
}
void CEdit::Paste() {
    if (auto* w = window()) kestrin::ui::editPaste(*w);
}
void CEdit::Clear() {
    if (auto* w = window()) kestrin::ui::editClear(*w);
}

void CEdit::SetReadOnly(BOOL readOnly) {
    if (auto* w = window()) w->style = readOnly ? (w->style | ES_READONLY) : (w->style & ~ES_READONLY);
}

int CEdit::GetLineCount() const {
    const auto* w = window();
    return w ? 1 + static_cast<int>(std::count(w->text.begin(), w->text.end(), '\n')) : 0;
}
