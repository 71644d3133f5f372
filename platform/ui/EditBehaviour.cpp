#include "platform/ui/EditBehaviour.h"

#include <algorithm>

#include "platform/clipboard/Clipboard.h"
#include "platform/ui/TextCompare.h"
#include "platform/ui/UiEvents.h"
#include "platform/ui/Wnd.h"

namespace kestrin::ui {

namespace {
enum class Undo { Record, JoinTyping, Discard };

int length(const Window& w) { return static_cast<int>(w.text.size()); }

// Tells the views and the parent after a change; `w` may be gone when the
// handlers return. Editing a combo box's text leaves no entry selected.
void changed(Window& w, bool edited, bool textChanged) {
    ++w.paints;
    const HWND h = w.handle;
    if (textChanged) uiEvents().textChanged.emit(h, w.text);
    if (windowOf(h) != &w) return;
    if (w.kind == WindowKind::Edit) {
        notifyParent(h, EN_UPDATE);
        notifyParent(h, EN_CHANGE);
    } else if (w.kind == WindowKind::ComboBox && edited) {
        selectEntry(w, -1);
        if (windowOf(h) != &w) return;
        notifyParent(h, CBN_EDITUPDATE);
        notifyParent(h, CBN_EDITCHANGE);
    }
}

// Answers whether the text changed.
bool replaceRange(Window& w, int start, int end, const std::string& insert, Undo undo) {
    EditState& e = w.edit();
    const bool join = undo == Undo::JoinTyping && e.typing && e.canUndo;
    if (undo == Undo::Discard) {
        e.canUndo = false;
        e.undoText.clear();
    } else if (!join) {
        e.canUndo = true;
        e.undoText = w.text;
        e.undoAnchor = e.anchor;
        e.undoCaret = e.caret;
    }
    std::string text = w.text.substr(0, static_cast<std::size_t>(start)) + insert + w.text.substr(static_cast<std::size_t>(end));
    const bool differs = text != w.text;
    w.text = std::move(text);
    e.anchor = e.caret = start + static_cast<int>(insert.size());
    e.typing = undo == Undo::JoinTyping;
    return differs;
}

bool isMultiLine(const Window& w) { return w.kind == WindowKind::Edit && (w.style & ES_MULTILINE) != 0; }
bool isReadOnly(const Window& w) { return w.kind == WindowKind::Edit && (w.style & ES_READONLY) != 0; }

void deleteSelection(Window& w) {
    changed(w, true, replaceRange(w, w.edit().selStart(), w.edit().selEnd(), {}, Undo::Record));
}
}  // namespace

void editSetText(Window& w, const std::string& text, bool edited) {
    const bool differs = w.text != text;
    w.text = text;
    w.edit() = EditState{};
    changed(w, edited, differs);
}

void editReplaceSel(Window& w, const std::string& text, bool canUndo) {
    const EditState& e = w.edit();
    changed(w, false, replaceRange(w, e.selStart(), e.selEnd(), text, canUndo ? Undo::Record : Undo::Discard));
}

void editSetSel(Window& w, int start, int end) {
    const int n = length(w);
    EditState& e = w.edit();
    e.typing = false;
    if (start == -1) {
        e.anchor = e.caret;
        return;
    }
    if (end == -1 || end > n) end = n;
    e.anchor = std::clamp(start, 0, n);
    e.caret = std::clamp(end, 0, n);
}

bool editUndo(Window& w) {
    EditState& e = w.edit();
    if (!e.canUndo) return false;
    const bool differs = w.text != e.undoText;
    std::swap(w.text, e.undoText);
    std::swap(e.anchor, e.undoAnchor);
    std::swap(e.caret, e.undoCaret);
    e.typing = false;
    changed(w, true, differs);
    return true;
}

void editCopy(const Window& w) {
    const EditState& e = w.edit();
    if (e.selStart() == e.selEnd()) return;
    clipboard::setText(w.text.substr(static_cast<std::size_t>(e.selStart()), static_cast<std::size_t>(e.selEnd() - e.selStart())));
}

void editCut(Window& w) {
    if (w.edit().selStart() == w.edit().selEnd() || isReadOnly(w)) return;
    editCopy(w);
    deleteSelection(w);
}

void editClear(Window& w) {
    if (w.edit().selStart() == w.edit().selEnd() || isReadOnly(w)) return;
    deleteSelection(w);
}

void editPaste(Window& w) {
    const auto text = clipboard::text();
    if (!text || isReadOnly(w)) return;
    std::string insert = *text;
    if (!isMultiLine(w)) insert = insert.substr(0, insert.find_first_of("\r\n"));
    changed(w, true, replaceRange(w, w.edit().selStart(), w.edit().selEnd(), insert, Undo::Record));
}

void editChar(Window& w, unsigned char c) {
    // The control characters of Ctrl with a letter: the edit's own operations.
    switch (c) {
        case 1: editSetSel(w, 0, -1); return;   // Ctrl+A
        case 3: editCopy(w); return;            // Ctrl+C
        case 24: editCut(w); return;            // Ctrl+X
        case 22: editPaste(w); return;          // Ctrl+V
        case 26: editUndo(w); return;           // Ctrl+Z
        default: break;
    }
    if (isReadOnly(w)) return;
    EditState& e = w.edit();
    if (c == 8) {
        if (e.selStart() != e.selEnd()) {
            deleteSelection(w);
        } else if (e.caret > 0) {
            changed(w, true, replaceRange(w, e.caret - 1, e.caret, {}, Undo::Record));
        }
        return;
    }
    if (c == '\r' && !isMultiLine(w)) return;
    if (c != '\r' && c < 0x20 && !(c == '\t' && isMultiLine(w))) return;  // control characters do not enter the text
    // Made in one go: assigning "\r\n" later drew a g++ 12 -Wmaybe-uninitialized false positive.
    std::string insert = c == '\r' ? std::string("\r\n") : std::string(1, static_cast<char>(c));
    if ((w.style & ES_NUMBER) && w.kind == WindowKind::Edit && (c < '0' || c > '9')) return;
    if ((w.style & ES_UPPERCASE) && w.kind == WindowKind::Edit) insert = upperCp1251(insert);
    if ((w.style & ES_LOWERCASE) && w.kind == WindowKind::Edit) insert = lowerCp1251(insert);
    changed(w, true, replaceRange(w, e.selStart(), e.selEnd(), insert, Undo::JoinTyping));
}

void editKey(Window& w, int virtualKey, bool shift) {
    EditState& e = w.edit();
    const int n = length(w);
    auto moveTo = [&](int caret) {
        e.caret = std::clamp(caret, 0, n);
        if (!shift) e.anchor = e.caret;
    };
    switch (virtualKey) {
        case VK_DELETE:
            if (isReadOnly(w)) return;
            if (shift) {
                editCut(w);
            } else if (e.selStart() != e.selEnd()) {
                deleteSelection(w);
            } else if (e.caret < n) {
                changed(w, true, replaceRange(w, e.caret, e.caret + 1, {}, Undo::Record));
            }
            return;
        case VK_LEFT:
            if (!shift && e.selStart() != e.selEnd()) moveTo(e.selStart());
            else moveTo(e.caret - 1);
            break;
        case VK_RIGHT:
            if (!shift && e.selStart() != e.selEnd()) moveTo(e.selEnd());
            else moveTo(e.caret + 1);
            break;
        case VK_HOME: moveTo(0); break;
        case VK_END: moveTo(n); break;
        default: return;
    }
    e.typing = false;
}

}  // namespace kestrin::ui
