// The window model: the state of every window (dialogs and their controls),
// addressed by handle. This is what a view renders and what checks read; the
// class framework (CWnd and its family) is a thin layer over it.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/EntryList.h"
#include "platform/ui/ResourceTable.h"
#include "platform/win/Types.h"

class CWnd;
class CMenu;
class CFont;

namespace kestrin::ui {

enum class WindowKind { Dialog, Button, Edit, ComboBox, ListBox, Static, ProgressBar, ToolTip };
const char* windowKindName(WindowKind k);
WindowKind windowKindOf(ControlClass c);

// Text, selection and the one-level undo of an edit control (also the edit
// field of a combo box). The selection runs from anchor to caret.
struct EditState {
    int anchor = 0, caret = 0;
    bool canUndo = false;
    std::string undoText;
    int undoAnchor = 0, undoCaret = 0;
    bool typing = false;  // the last change was typing at the caret: further typing joins its undo step
    int selStart() const { return anchor < caret ? anchor : caret; }
    int selEnd() const { return anchor < caret ? caret : anchor; }
};

struct Tool {
    HWND window = nullptr;  // the window the tool covers
    UINT_PTR id = 0;
    std::string text;
};

// The image of a button or static: a bitmap or an icon.
struct ImageState {
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    int imageId = 0;  // the resource number of bitmap or icon, 0 for none
};

struct ButtonState {
    int check = 0;  // 0 unchecked, 1 checked, 2 indeterminate
    ImageState image;
};

struct StaticState {
    ImageState image;
};

struct ComboBoxState {
    EditState edit;  // the edit field
    EntryList list;
};

struct ListBoxState {
    EntryList list;
};

struct ProgressState {
    int low = 0, high = 100, pos = 0, step = 10;
};

struct ToolTipState {
    std::vector<Tool> tools;
    bool active = true;
    int relayed = 0;  // messages relayed to the tooltip
};

struct DialogState {
    int templateId = 0;
    int defId = 0;           // DM_SETDEFID; 0: the template's default push button
    HWND focus = nullptr;    // the control with the focus while this dialog is active
    HICON bigIcon = nullptr, smallIcon = nullptr;
    std::unique_ptr<CMenu> systemMenu;
    std::unique_ptr<CFont> templateFont;  // the dialog font of the template
    bool modal = false;
    bool opened = false;     // views were told the dialog opened (they are told when it closes)

    DialogState();
    DialogState(DialogState&&) noexcept;
    DialogState& operator=(DialogState&&) noexcept;
    ~DialogState();
};

// A window: what every kind has, and the state of its kind, reached through
// the accessor of the kind (edit(), list(), dialog(), ...). An accessor used
// on a window of another kind throws std::logic_error naming both kinds.
struct Window {
    HWND handle = nullptr;
    const WindowKind kind;
    int id = 0;
    DWORD style = 0;
    RECT rect;          // in the parent's client area, pixels
    DialogRect units;   // as the template gave it, dialog units
    std::string text;   // caption or content (CP1251); change it through setWindowText
    bool shown = false;     // change it through setShown
    bool enabled = true;    // change it through setEnabled
    bool iconic = false;
    HWND parent = nullptr;
    std::vector<HWND> children;  // in creation (tab) order

    HFONT font = nullptr;
    std::string fontFace;
    int fontPoints = 0;

    COLORREF textColor = 0x000000, backColor = 0xFFFFFF;  // as the last colour query answered
    int paints = 0;               // invalidations since creation (for tests; views use the notifications)
    HICON paintedIcon = nullptr;  // the icon the last paint drew

    // The object that handles this window's messages: a subclassing object
    // when one is attached, else the framework's own object of the kind.
    CWnd* handler = nullptr;
    std::unique_ptr<CWnd> frameworkObject;
    CWnd* creator = nullptr;  // the object that created the window with Create, if any

    explicit Window(WindowKind kind);
    ~Window();

    ButtonState& button();
    const ButtonState& button() const;
    ImageState& image();  // buttons and statics
    const ImageState& image() const;
    EditState& edit();    // edits and the edit field of combo boxes
    const EditState& edit() const;
    EntryList& list();    // combo boxes and list boxes
    const EntryList& list() const;
    ProgressState& progress();
    const ProgressState& progress() const;
    ToolTipState& toolTip();
    const ToolTipState& toolTip() const;
    DialogState& dialog();
    const DialogState& dialog() const;

private:
    std::variant<DialogState, ButtonState, EditState, ComboBoxState, ListBoxState, StaticState, ProgressState,
                 ToolTipState>
        state_;
};

// Handles.
HWND createWindow(WindowKind kind, HWND parent, int id, DWORD style, std::string text);
void destroyWindow(HWND h);  // with its children; handler objects are detached
Window* windowOf(HWND h);    // null for a handle that does not exist (any more)
Window& windowRef(HWND h);   // throws std::logic_error for a dead handle

// The dialog that holds a window (itself for a dialog); null when none.
Window* dialogOf(HWND h);
// A child of a dialog by control id; null when none.
Window* childById(HWND dialog, int id);

// Tooltip controls created with `owner` as parent (they are not children).
std::vector<HWND> ownedToolTips(HWND owner);
// The text of the first tool that covers a control, in any tooltip control of
// its dialog or of the dialog's controls; empty when none.
std::string toolTipTextOf(HWND control);

// The stack of modal dialogs, the topmost last, and which of them show.
const std::vector<HWND>& modalStack();
void pushModal(HWND dialog);
void popModal(HWND dialog);
// The dialog that takes the person's actions: the topmost modal dialog when
// it is shown, else null.
HWND activeDialog();

// A short name of a control for messages: `control 8024 ("Новая строка")`
// (UTF-8).
std::string describeControl(HWND h);

// The base units of a dialog font of `points` points: the pixels of 4
// horizontal and of 8 vertical dialog units (6 by 13 for 8 points). The
// height is the font's text height as the device context measures it.
SIZE dialogBaseUnits(int points);
// Dialog units in pixels, with the base units of the dialog's font.
RECT dialogUnitsToPixels(const DialogRect& r, int fontPoints = 8);

// Gives a button or static its image and repaints it; answers the previous one.
HBITMAP setWindowBitmap(Window& w, HBITMAP bitmap);
HICON setWindowIcon(Window& w, HICON icon);

// Changes of the state every kind has. Each repaints the window and tells
// the views (UiEvents) when the value really changes; an equal value changes
// nothing. Answer whether it changed.
bool setWindowText(Window& w, std::string text);
bool setShown(Window& w, bool shown);
bool setEnabled(Window& w, bool enabled);
// A button's check state; nothing for other kinds.
bool setCheck(Window& w, int check);
// Selects an entry of a combo box or list box (an index out of range: none).
// Answers whether the selection is `index` afterwards.
bool selectEntry(Window& w, int index);
// After a change of a list's entries: entriesChanged, then selectionChanged
// when the selection moved from `selectionBefore`.
void entriesChanged(Window& w, int selectionBefore);
// The entry operations combo and list boxes share (AddString, InsertString,
// DeleteString): the index taken or the entries left, else `error` (CB_ERR
// or LB_ERR). `sorted`: the box keeps its entries sorted.
int addEntry(Window* w, const char* text, bool sorted, int error);
int insertEntry(Window* w, int index, const char* text, int error);
int deleteEntry(Window* w, unsigned index, int error);

}  // namespace kestrin::ui
