#include "platform/keyboard/Keyboard.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/session/Session.h"
#include "platform/win/Messages.h"

namespace kestrin::keyboard {

Keyboard& Keyboard::instance() {
    static Keyboard k;
    return k;
}

void Keyboard::reset() {
    state_.fill(0);
    installed_ = {"00000419", "00000409"};
    active_ = "00000409";
}

void Keyboard::setToggled(int virtualKey, bool on) {
    BYTE& b = state_.at(static_cast<std::size_t>(virtualKey & 0xFF));
    b = static_cast<BYTE>(on ? (b | 0x01) : (b & ~0x01));
}

void Keyboard::setHeld(int virtualKey, bool down) {
    BYTE& b = state_.at(static_cast<std::size_t>(virtualKey & 0xFF));
    b = static_cast<BYTE>(down ? (b | 0x80) : (b & ~0x80));
}

bool Keyboard::isLayoutId(const std::string& klid) {
    return klid.size() == 8 &&
           std::all_of(klid.begin(), klid.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The low word is the language; a variant layout (high word not zero) gets a
// device word of its own, as the real platform gives such layouts.
HKL Keyboard::handleOf(const std::string& klid) {
    if (!isLayoutId(klid)) return nullptr;
    const auto value = static_cast<std::uintptr_t>(std::stoul(klid, nullptr, 16));
    const std::uintptr_t lang = value & 0xFFFF, variant = value >> 16;
    const std::uintptr_t device = variant == 0 ? lang : (0xF000 | variant);
    return reinterpret_cast<HKL>((device << 16) | lang);
}

std::string Keyboard::layoutOf(HKL handle) const {
    for (const auto& klid : installed_)
        if (handleOf(klid) == handle) return klid;
    return {};
}

static std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Keyboard::activate(const std::string& klidIn, bool reorder) {
    const std::string klid = upper(klidIn);
    if (!isLayoutId(klid)) return "\"" + klidIn + "\" is not a layout identifier (8 hex digits)";
    auto it = std::find(installed_.begin(), installed_.end(), klid);
    if (it == installed_.end()) {
        std::string list;
        for (const auto& k : installed_) list += (list.empty() ? "" : " ") + k;
        return "layout " + klid + " is not installed (installed: " + list + ")";
    }
    if (reorder) std::rotate(installed_.begin(), it, it + 1);
    active_ = klid;
    return {};
}

std::string Keyboard::setInstalled(const std::vector<std::string>& klids) {
    if (klids.empty()) return "at least one layout must be installed";
    std::vector<std::string> list;
    for (const auto& k : klids) {
        const std::string klid = upper(k);
        if (!isLayoutId(klid)) return "\"" + k + "\" is not a layout identifier (8 hex digits)";
        if (std::find(list.begin(), list.end(), klid) != list.end()) return "layout " + klid + " is listed twice";
        list.push_back(klid);
    }
    installed_ = std::move(list);
    if (std::find(installed_.begin(), installed_.end(), active_) == installed_.end()) active_ = installed_.front();
    return {};
}

void Keyboard::install(const std::string& klid) {
    const std::string k = upper(klid);
    if (isLayoutId(k) && std::find(installed_.begin(), installed_.end(), k) == installed_.end()) installed_.push_back(k);
}

namespace {
std::vector<int>& handlerIds() {
    static std::vector<int> ids;
    return ids;
}
}  // namespace

void detachFromSession() {
    for (int id : handlerIds()) session::Session::instance().removeHandler(id);
    handlerIds().clear();
}

void attachToSession() {
    if (!handlerIds().empty()) return;
    using session::Action;
    using session::ActionKind;
    auto& s = session::Session::instance();
    auto& ids = handlerIds();
    ids.push_back(s.addHandler(ActionKind::Caps, [](const Action& a) {
        Keyboard::instance().setToggled(VK_CAPITAL, a.on);
        return true;
    }));
    ids.push_back(s.addHandler(ActionKind::Num, [](const Action& a) {
        Keyboard::instance().setToggled(VK_NUMLOCK, a.on);
        return true;
    }));
    ids.push_back(s.addHandler(ActionKind::Layout, [](const Action& a) {
        const std::string why = Keyboard::instance().activate(a.text, false);
        if (!why.empty()) session::Session::instance().reject(a, "layout: " + why);
        return true;
    }));
    ids.push_back(s.addHandler(ActionKind::Layouts, [](const Action& a) {
        const std::string why = Keyboard::instance().setInstalled(a.words);
        if (!why.empty()) session::Session::instance().reject(a, "layouts: " + why);
        return true;
    }));
}

}  // namespace kestrin::keyboard

using kestrin::keyboard::Keyboard;

BOOL GetKeyboardState(BYTE* keyState) {
    if (keyState == nullptr) return FALSE;
    const auto& st = Keyboard::instance().state();
    std::copy(st.begin(), st.end(), keyState);
    return TRUE;
}

SHORT GetKeyState(int virtualKey) {
    const BYTE b = Keyboard::instance().state().at(static_cast<std::size_t>(virtualKey & 0xFF));
    return static_cast<SHORT>(((b & 0x80) ? 0x8000 : 0) | (b & 0x01));
}

BOOL GetKeyboardLayoutName(LPSTR name) {
    if (name == nullptr) return FALSE;
    const std::string& klid = Keyboard::instance().activeLayout();
    std::memcpy(name, klid.c_str(), klid.size() + 1);
    return TRUE;
}

HKL GetKeyboardLayout(DWORD) { return Keyboard::handleOf(Keyboard::instance().activeLayout()); }

int GetKeyboardLayoutList(int count, HKL* list) {
    const auto& installed = Keyboard::instance().installedLayouts();
    const int n = static_cast<int>(installed.size());
    if (count == 0 || list == nullptr) return n;
    const int copied = std::min(count, n);
    for (int i = 0; i < copied; ++i) list[i] = Keyboard::handleOf(installed[static_cast<std::size_t>(i)]);
    return copied;
}

HKL ActivateKeyboardLayout(HKL layout, UINT flags) {
    auto& kb = Keyboard::instance();
    const HKL previous = GetKeyboardLayout(0);
    std::string klid;
    if (layout == HKL_NEXT || layout == HKL_PREV) {
        const auto& list = kb.installedLayouts();
        const auto it = std::find(list.begin(), list.end(), kb.activeLayout());
        const auto i = static_cast<std::size_t>(it - list.begin());
        const std::size_t n = list.size();
        klid = list[layout == HKL_NEXT ? (i + 1) % n : (i + n - 1) % n];
    } else {
        klid = kb.layoutOf(layout);
        if (klid.empty()) return nullptr;
    }
    return kb.activate(klid, (flags & KLF_REORDER) != 0).empty() ? previous : nullptr;
}

HKL LoadKeyboardLayout(LPCSTR klid, UINT flags) {
    if (klid == nullptr || !Keyboard::isLayoutId(klid)) return nullptr;
    auto& kb = Keyboard::instance();
    kb.install(klid);
    if (flags & KLF_ACTIVATE) kb.activate(klid, (flags & KLF_REORDER) != 0);
    return Keyboard::handleOf(kb.layoutOf(Keyboard::handleOf(klid)));
}
