#include "platform/ui/Bitmap.h"

#include <map>

#include "platform/ui/ResourceChain.h"

namespace {
struct Images {
    std::map<HBITMAP, const kestrin::ui::ImageResource*> bitmaps;
    std::map<HICON, const kestrin::ui::ImageResource*> icons;
    std::uintptr_t next = 0x2000;
};
Images& images() {
    static Images i;
    return i;
}

template <class H>
H nextHandle() {
    auto& i = images();
    const auto h = reinterpret_cast<H>(i.next);
    i.next += 0x10;
    return h;
}

const kestrin::ui::ImageResource* lookup(HINSTANCE module, LPCSTR name, bool icon) {
    if (name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    if (module == nullptr) return icon ? kestrin::ui::findIcon(id) : kestrin::ui::findBitmap(id);
    const auto* table = kestrin::ui::moduleResources(module);
    if (table == nullptr) return nullptr;
    return icon ? table->icon(id) : table->bitmap(id);
}

}  // namespace

namespace kestrin::ui {

const ImageResource* bitmapImage(HBITMAP bitmap) {
    const auto& m = images().bitmaps;
    const auto it = m.find(bitmap);
    return it == m.end() ? nullptr : it->second;
}

const ImageResource* iconImage(HICON icon) {
    const auto& m = images().icons;
    const auto it = m.find(icon);
    return it == m.end() ? nullptr : it->second;
}

int bitmapResourceId(HBITMAP bitmap) {
    const ImageResource* i = bitmapImage(bitmap);
    return i ? i->id : 0;
}

int iconResourceId(HICON icon) {
    const ImageResource* i = iconImage(icon);
    return i ? i->id : 0;
}

HICON loadIconResource(int id) { return LoadIcon(nullptr, MAKEINTRESOURCE(static_cast<UINT>(id))); }

}  // namespace kestrin::ui

HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name) {
    const auto* image = lookup(module, name, false);
    if (image == nullptr) return nullptr;
    const HBITMAP h = nextHandle<HBITMAP>();
    images().bitmaps[h] = image;
    return h;
}

HICON LoadIcon(HINSTANCE module, LPCSTR name) {
    const auto* image = lookup(module, name, true);
    if (image == nullptr) return nullptr;
    const HICON h = nextHandle<HICON>();
    images().icons[h] = image;
    return h;
}

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
    if (name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    static std::map<std::uintptr_t, HCURSOR> cursors;
    const auto id = reinterpret_cast<std::uintptr_t>(name);
    auto& h = cursors[id];
    if (h == nullptr) h = nextHandle<HCURSOR>();
    return h;
}

namespace {
HCURSOR& currentCursor() {
    static HCURSOR cursor = nullptr;
    return cursor;
}
}  // namespace

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR old = currentCursor();
    currentCursor() = cursor;
    return old;
}

HCURSOR GetCursor() { return currentCursor(); }

BOOL DestroyIcon(HICON icon) { return images().icons.erase(icon) ? TRUE : FALSE; }

CBitmap::~CBitmap() { DeleteObject(); }

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    if (m_hObject != nullptr) return FALSE;
    m_hObject = ::LoadBitmap(nullptr, MAKEINTRESOURCE(resourceId));
    return m_hObject ? TRUE : FALSE;
}

int CBitmap::GetBitmap(BITMAP* out) const {
    const auto* image = kestrin::ui::bitmapImage(m_hObject);
    if (out == nullptr || image == nullptr) return 0;
    *out = BITMAP{};
    out->bmWidth = image->width;
    out->bmHeight = image->height;
    out->bmWidthBytes = image->width * 4;
    return static_cast<int>(sizeof(BITMAP));
}

BOOL CBitmap::DeleteObject() {
    if (m_hObject == nullptr) return FALSE;
    images().bitmaps.erase(m_hObject);
    m_hObject = nullptr;
    return TRUE;
}

BOOL CBitmap::Attach(HBITMAP bitmap) {
    if (m_hObject != nullptr || bitmap == nullptr) return FALSE;
    m_hObject = bitmap;
    return TRUE;
}

HBITMAP CBitmap::Detach() {
    const HBITMAP h = m_hObject;
    m_hObject = nullptr;
    return h;
}
