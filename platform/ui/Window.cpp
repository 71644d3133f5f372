#include "platform/ui/Window.h"

#include "platform/ui/Bitmap.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

#include "base/Cp1251.h"
#include "platform/ui/Font.h"
#include "platform/ui/Menu.h"
#include "platform/ui/UiEvents.h"
#include "platform/ui/Wnd.h"

namespace kestrin::ui {

const char* windowKindName(WindowKind k) {
    switch (k) {
        case WindowKind::Dialog: return "dialog";
        case WindowKind::Button: return "button";
        case WindowKind::Edit: return "edit";
        case WindowKind::ComboBox: return "combo box";
        case WindowKind::ListBox: return "list box";
        case WindowKind::Static: return "static";
        case WindowKind::ProgressBar: return "progress bar";
        case WindowKind::ToolTip: return "tooltip";
    }
    return "?";
}

WindowKind windowKindOf(ControlClass c) {
    switch (c) {
        case ControlClass::Button: return WindowKind::Button;
        case ControlClass::Edit: return WindowKind::Edit;
        case ControlClass::ComboBox: return WindowKind::ComboBox;
        case ControlClass::ListBox: return WindowKind::ListBox;
        case ControlClass::Static: return WindowKind::Static;
        case ControlClass::ProgressBar: return WindowKind::ProgressBar;
    }
    return WindowKind::Static;
}

DialogState::DialogState() = default;
DialogState::DialogState(DialogState&&) noexcept = default;
DialogState& DialogState::operator=(DialogState&&) noexcept = default;
DialogState::~DialogState() = default;

UiEvents& uiEvents() {
    static UiEvents events;
    return events;
}

namespace {
[[noreturn]] void wrongKind(WindowKind kind, const char* wanted) {
    throw std::logic_error(std::string("the ") + wanted + " state of a " + windowKindName(kind) + " was asked for");
}

// The state of type T; throws for a window of another kind.
template <class T, class Variant>
auto& stateOf(Variant& state, WindowKind kind, const char* wanted) {
    auto* s = std::get_if<T>(&state);
    if (s == nullptr) wrongKind(kind, wanted);
    return *s;
}
}  // namespace

Window::Window(WindowKind k) : kind(k) {
    switch (k) {
        case WindowKind::Dialog: state_.emplace<DialogState>(); break;
        case WindowKind::Button: state_.emplace<ButtonState>(); break;
        case WindowKind::Edit: state_.emplace<EditState>(); break;
        case WindowKind::ComboBox: state_.emplace<ComboBoxState>(); break;
        case WindowKind::ListBox: state_.emplace<ListBoxState>(); break;
        case WindowKind::Static: state_.emplace<StaticState>(); break;
        case WindowKind::ProgressBar: state_.emplace<ProgressState>(); break;
        case WindowKind::ToolTip: state_.emplace<ToolTipState>(); break;
    }
}
Window::~Window() = default;

ButtonState& Window::button() { return stateOf<ButtonState>(state_, kind, "button"); }
const ButtonState& Window::button() const { return stateOf<ButtonState>(state_, kind, "button"); }
ProgressState& Window::progress() { return stateOf<ProgressState>(state_, kind, "progress bar"); }
const ProgressState& Window::progress() const { return stateOf<ProgressState>(state_, kind, "progress bar"); }
ToolTipState& Window::toolTip() { return stateOf<ToolTipState>(state_, kind, "tooltip"); }
const ToolTipState& Window::toolTip() const { return stateOf<ToolTipState>(state_, kind, "tooltip"); }
DialogState& Window::dialog() { return stateOf<DialogState>(state_, kind, "dialog"); }
const DialogState& Window::dialog() const { return stateOf<DialogState>(state_, kind, "dialog"); }

ImageState& Window::image() { return const_cast<ImageState&>(std::as_const(*this).image()); }
const ImageState& Window::image() const {
    if (const auto* b = std::get_if<ButtonState>(&state_)) return b->image;
    if (const auto* s = std::get_if<StaticState>(&state_)) return s->image;
    wrongKind(kind, "image");
}

EditState& Window::edit() { return const_cast<EditState&>(std::as_const(*this).edit()); }
const EditState& Window::edit() const {
    if (const auto* e = std::get_if<EditState>(&state_)) return *e;
    if (const auto* c = std::get_if<ComboBoxState>(&state_)) return c->edit;
    wrongKind(kind, "edit");
}

EntryList& Window::list() { return const_cast<EntryList&>(std::as_const(*this).list()); }
const EntryList& Window::list() const {
    if (const auto* c = std::get_if<ComboBoxState>(&state_)) return c->list;
    if (const auto* l = std::get_if<ListBoxState>(&state_)) return l->list;
    wrongKind(kind, "list");
}

namespace {
struct Windows {
    std::map<HWND, std::unique_ptr<Window>> byHandle;
    std::uintptr_t next = 0x10;
    std::vector<HWND> modal;
};
Windows& windows() {
    static Windows w;
    return w;
}
}  // namespace

HWND createWindow(WindowKind kind, HWND parent, int id, DWORD style, std::string text) {
    auto& ws = windows();
    const HWND h = reinterpret_cast<HWND>(ws.next);
    ws.next += 0x10;
    auto w = std::make_unique<Window>(kind);
    w->handle = h;
    w->id = id;
    w->style = style;
    w->text = std::move(text);
    w->parent = parent;
    w->enabled = (style & WS_DISABLED) == 0;
    w->shown = (style & WS_VISIBLE) != 0;
    if (Window* p = windowOf(parent)) {
        if (kind != WindowKind::ToolTip) p->children.push_back(h);
        w->font = p->font;
        w->fontFace = p->fontFace;
        w->fontPoints = p->fontPoints;
    }
    ws.byHandle.emplace(h, std::move(w));
    return h;
}

void destroyWindow(HWND h) {
    auto& ws = windows();
    const auto it = ws.byHandle.find(h);
    if (it == ws.byHandle.end()) return;
    Window& w = *it->second;
    if (w.kind == WindowKind::Dialog && w.dialog().opened) {
        w.dialog().opened = false;
        uiEvents().dialogClosed.emit(h);
        if (windowOf(h) != &w) return;  // a view destroyed it meanwhile
    }
    for (HWND child : std::vector<HWND>(w.children)) destroyWindow(child);
    // Tooltips and other owned windows created with this one as parent.
    std::vector<HWND> owned;
    for (const auto& [handle, other] : ws.byHandle)
        if (other->parent == h) owned.push_back(handle);
    for (HWND o : owned) destroyWindow(o);
    if (Window* p = windowOf(w.parent)) {
        auto& c = p->children;
        c.erase(std::remove(c.begin(), c.end(), h), c.end());
        if (p->kind == WindowKind::Dialog && p->dialog().focus == h) p->dialog().focus = nullptr;
    }
    if (w.handler && w.handler->m_hWnd == h) w.handler->m_hWnd = nullptr;
    if (w.frameworkObject) w.frameworkObject->m_hWnd = nullptr;
    if (w.creator && w.creator->m_hWnd == h) w.creator->m_hWnd = nullptr;
    popModal(h);
    auto owner = std::move(it->second);
    ws.byHandle.erase(it);
}

Window* windowOf(HWND h) {
    if (h == nullptr) return nullptr;
    auto& m = windows().byHandle;
    const auto it = m.find(h);
    return it == m.end() ? nullptr : it->second.get();
}

Window& windowRef(HWND h) {
    Window* w = windowOf(h);
    if (w == nullptr) throw std::logic_error("a window was used after it was destroyed (or before it was created)");
    return *w;
}

Window* dialogOf(HWND h) {
    for (Window* w = windowOf(h); w; w = windowOf(w->parent))
        if (w->kind == WindowKind::Dialog) return w;
    return nullptr;
}

Window* childById(HWND dialog, int id) {
    Window* d = windowOf(dialog);
    if (d == nullptr) return nullptr;
    for (HWND c : d->children)
        if (Window* w = windowOf(c); w && w->id == id) return w;
    return nullptr;
}

std::vector<HWND> ownedToolTips(HWND owner) {
    std::vector<HWND> out;
    for (const auto& [handle, w] : windows().byHandle)
        if (w->parent == owner && w->kind == WindowKind::ToolTip) out.push_back(handle);
    return out;
}

std::string toolTipTextOf(HWND control) {
    const Window* d = dialogOf(control);
    if (d == nullptr) return {};
    std::vector<HWND> owners{d->handle};
    owners.insert(owners.end(), d->children.begin(), d->children.end());
    for (HWND owner : owners)
        for (HWND tip : ownedToolTips(owner))
            for (const Tool& t : windowRef(tip).toolTip().tools)
                if (t.window == control) return t.text;
    return {};
}

const std::vector<HWND>& modalStack() { return windows().modal; }
void pushModal(HWND dialog) { windows().modal.push_back(dialog); }
void popModal(HWND dialog) {
    auto& m = windows().modal;
    m.erase(std::remove(m.begin(), m.end(), dialog), m.end());
}

HWND activeDialog() {
    const auto& m = windows().modal;
    if (m.empty()) return nullptr;
    const Window* top = windowOf(m.back());
    return top && top->shown ? top->handle : nullptr;
}

std::string describeControl(HWND h) {
    const Window* w = windowOf(h);
    if (w == nullptr) return "a destroyed window";
    std::string s = w->kind == WindowKind::Dialog ? "dialog " + std::to_string(w->dialog().templateId)
                                                  : std::string(windowKindName(w->kind)) + " " + std::to_string(w->id);
    if (!w->text.empty() && w->kind != WindowKind::Edit && w->kind != WindowKind::ComboBox)
        s += " (\"" + cp1251ToUtf8(w->text) + "\")";
    return s;
}

SIZE dialogBaseUnits(int points) {
    // The text height of the font (CDC::GetTextExtent's), and a width in the
    // proportion of the 8-point font's 6 by 13, rounded.
    const LONG height = -heightOfPoints(points > 0 ? points : 8) + 2;
    return SIZE{(height * 6 + 6) / 13, height};
}

RECT dialogUnitsToPixels(const DialogRect& r, int fontPoints) {
    const SIZE base = dialogBaseUnits(fontPoints);
    auto px = [&](int v) { return static_cast<LONG>(v * base.cx / 4); };
    auto py = [&](int v) { return static_cast<LONG>(v * base.cy / 8); };
    return RECT{px(r.x), py(r.y), px(r.x + r.width), py(r.y + r.height)};
}

HBITMAP setWindowBitmap(Window& w, HBITMAP bitmap) {
    ImageState& image = w.image();
    const HBITMAP old = image.bitmap;
    image.bitmap = bitmap;
    image.imageId = bitmapResourceId(bitmap);
    ++w.paints;
    return old;
}

HICON setWindowIcon(Window& w, HICON icon) {
    ImageState& image = w.image();
    const HICON old = image.icon;
    image.icon = icon;
    image.imageId = iconResourceId(icon);
    ++w.paints;
    return old;
}

bool setWindowText(Window& w, std::string text) {
    if (w.text == text) return false;
    w.text = std::move(text);
    uiEvents().textChanged.emit(w.handle, w.text);
    return true;
}

bool setShown(Window& w, bool shown) {
    if (w.shown == shown) return false;
    w.shown = shown;
    uiEvents().shownChanged.emit(w.handle, shown);
    return true;
}

bool setEnabled(Window& w, bool enabled) {
    if (w.enabled == enabled) return false;
    w.enabled = enabled;
    uiEvents().enabledChanged.emit(w.handle, enabled);
    return true;
}

bool selectEntry(Window& w, int index) {
    EntryList& list = w.list();
    const int before = list.selection();
    const bool selected = list.select(index);
    if (list.selection() != before) uiEvents().selectionChanged.emit(w.handle, list.selection());
    return selected;
}

void entriesChanged(Window& w, int selectionBefore) {
    const HWND h = w.handle;
    uiEvents().entriesChanged.emit(h);
    if (windowOf(h) != &w) return;
    if (const int now = w.list().selection(); now != selectionBefore) uiEvents().selectionChanged.emit(h, now);
}

int addEntry(Window* w, const char* text, bool sorted, int error) {
    if (w == nullptr || text == nullptr) return error;
    const int before = w->list().selection();
    const int at = w->list().add(text, sorted);
    entriesChanged(*w, before);
    return at;
}

int insertEntry(Window* w, int index, const char* text, int error) {
    if (w == nullptr || text == nullptr) return error;
    const int before = w->list().selection();
    const int at = w->list().insert(index, text);
    if (at < 0) return error;
    entriesChanged(*w, before);
    return at;
}

int deleteEntry(Window* w, unsigned index, int error) {
    if (w == nullptr || index > static_cast<unsigned>(w->list().count())) return error;
    const int before = w->list().selection();
    const int left = w->list().erase(static_cast<int>(index));
    if (left < 0) return error;
    entriesChanged(*w, before);
    return left;
}

bool setCheck(Window& w, int check) {
    if (w.kind != WindowKind::Button || w.button().check == check) return false;
    w.button().check = check;
    uiEvents().checkChanged.emit(w.handle, check);
    return true;
}

}  // namespace kestrin::ui
