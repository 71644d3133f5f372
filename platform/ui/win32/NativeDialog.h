// A dialog of the window model shown as a real Win32 dialog: made from an
// in-memory DLGTEMPLATE with the system's own BUTTON, EDIT, COMBOBOX,
// LISTBOX, STATIC and msctls_progress32 controls. The view over the model
// (gui/win32) tells it the model's state and hears the person's input from
// it; it never decides anything itself. Buttons are made so that they do
// not check themselves, and typing in an edit is caught before the control
// changes its text: the model does that, and the control shows it.
//
// Plain types only, so the model's side never meets the system headers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrin::ui::win32 {

enum class NativeKind { Button, Edit, ComboBox, ListBox, Static, Progress };

struct NativeControl {
    int id = 0;
    NativeKind kind = NativeKind::Static;
    std::uint32_t style = 0;  // the template's window style
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::string text;  // UTF-8
};

struct NativeTemplate {
    std::string caption;  // UTF-8
    std::uint32_t style = 0;
    int cx = 0, cy = 0;   // dialog units
    std::string fontFace = "MS Shell Dlg";
    int fontPoints = 8;
    std::vector<NativeControl> controls;
};

// What the person did in the dialog.
struct NativeInput {
    enum class Kind { Click, Type, Key, Choose, Open, Close, Focus } kind = Kind::Click;
    int id = 0;
    std::string text;  // Type: the characters (UTF-8); Key: enter, escape, tab, backspace, delete, left, right, home, end
    bool shift = false;
    int index = -1;    // Choose, Open: the entry
};

class NativeDialog {
public:
    using Input = std::function<void(const NativeInput&)>;
    NativeDialog(const NativeTemplate& t, Input input, const NativeDialog* owner = nullptr);
    ~NativeDialog();
    NativeDialog(const NativeDialog&) = delete;
    NativeDialog& operator=(const NativeDialog&) = delete;

    bool valid() const;
    void show(bool shown);
    void setCaption(const std::string& utf8);
    void setText(int id, const std::string& utf8);
    void setShown(int id, bool shown);
    void setEnabled(int id, bool enabled);
    void setCheck(int id, int check);
    void setEntries(int id, const std::vector<std::string>& utf8);
    void setSelection(int id, int index);
    void setEditSelection(int id, int anchor, int caret);
    void setProgress(int id, int low, int high, int pos);
    void setFocus(int id);
    // The selection an edit (or a combo box's field) shows: from, to.
    bool editSelection(int id, int& from, int& to) const;
    // What a control shows now (for tests): its text, entries, selection, check.
    std::string text(int id) const;
    std::vector<std::string> entries(int id) const;
    int selection(int id) const;
    int check(int id) const;
    bool shown(int id) const;
    bool enabled(int id) const;
    // The system's handle of a control or, for 0, of the dialog (tests send it messages).
    void* handle(int id = 0) const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// Whether windows can be made here (a desktop to show them on).
bool windowsAvailable();
void initialiseControls();
// Runs the system's message loop until `done` answers true; false when the
// loop was told to quit.
bool pumpUntil(const std::function<bool()>& done);
// A message box of the system, owned by `owner` (may be null); answers the
// number of the button (IDOK = 1, IDCANCEL = 2, ... IDYES = 6, IDNO = 7).
int showMessageBox(const NativeDialog* owner, const std::string& text, const std::string& caption,
                   std::uint32_t type);

}  // namespace kestrin::ui::win32
