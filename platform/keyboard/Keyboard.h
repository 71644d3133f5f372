// The machine's keyboard: the 256-byte key state and the keyboard layouts.
//
// Each key state byte follows the real platform: bit 0x80 = the key is held
// down, bit 0x01 = the key is toggled on (Caps Lock, Num Lock). Layouts are
// named by their 8-hex-digit identifier ("00000419"); the installed list keeps
// its order, and activation with KLF_REORDER moves the layout to its front.
// Defaults: Russian and US installed, US active, nothing held or toggled.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/win/Types.h"

inline constexpr UINT KLF_ACTIVATE = 0x1;
inline constexpr UINT KLF_REORDER = 0x8;
inline constexpr int KL_NAMELENGTH = 9;
inline const HKL HKL_PREV = reinterpret_cast<HKL>(0);
inline const HKL HKL_NEXT = reinterpret_cast<HKL>(1);

BOOL GetKeyboardState(BYTE* keyState);  // 256 bytes
SHORT GetKeyState(int virtualKey);     // negative while held; low bit = toggled
BOOL GetKeyboardLayoutName(LPSTR name);  // KL_NAMELENGTH bytes
HKL GetKeyboardLayout(DWORD threadId);
int GetKeyboardLayoutList(int count, HKL* list);  // count 0: the number installed
HKL ActivateKeyboardLayout(HKL layout, UINT flags);  // the previous layout, or null
HKL LoadKeyboardLayout(LPCSTR klid, UINT flags);     // null for a malformed identifier

namespace kestrin::keyboard {

class Keyboard {
public:
    static Keyboard& instance();

    void reset();  // the defaults above

    const std::array<BYTE, 256>& state() const { return state_; }
    void setToggled(int virtualKey, bool on);
    void setHeld(int virtualKey, bool down);

    // Layout identifiers are 8 hex digits; anything else is refused.
    static bool isLayoutId(const std::string& klid);
    static HKL handleOf(const std::string& klid);

    const std::string& activeLayout() const { return active_; }
    const std::vector<std::string>& installedLayouts() const { return installed_; }
    // Empty on success, else why not (UTF-8).
    std::string activate(const std::string& klid, bool reorder);
    std::string setInstalled(const std::vector<std::string>& klids);
    void install(const std::string& klid);  // appended when missing

    std::string layoutOf(HKL handle) const;  // empty when not installed

private:
    Keyboard() { reset(); }
    std::array<BYTE, 256> state_{};
    std::vector<std::string> installed_;
    std::string active_;
};

// Registers the session handlers for caps, num, layout and layouts. Safe to
// call more than once; detaching removes them again.
void attachToSession();
void detachFromSession();

}  // namespace kestrin::keyboard
