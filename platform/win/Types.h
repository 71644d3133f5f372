// The basic Windows types and constants that the system's code uses, for the
// stand-in platform. Handles are opaque pointers, as on the real platform.
#pragma once

#include <cstdint>

using BOOL = int;
using BYTE = unsigned char;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using SHORT = std::int16_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define KESTRIN_DECLARE_HANDLE(name) \
    struct name##__ {                \
        int unused;                  \
    };                               \
    using name = name##__*
KESTRIN_DECLARE_HANDLE(HINSTANCE);
KESTRIN_DECLARE_HANDLE(HWND);
KESTRIN_DECLARE_HANDLE(HMENU);
KESTRIN_DECLARE_HANDLE(HICON);
KESTRIN_DECLARE_HANDLE(HBITMAP);
KESTRIN_DECLARE_HANDLE(HFONT);
KESTRIN_DECLARE_HANDLE(HBRUSH);
KESTRIN_DECLARE_HANDLE(HKL);
KESTRIN_DECLARE_HANDLE(HDC);
KESTRIN_DECLARE_HANDLE(HCURSOR);
#undef KESTRIN_DECLARE_HANDLE
using HMODULE = HINSTANCE;
using COLORREF = DWORD;

// Modal results and message-box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Reasons of a module's operating-system entry.
inline constexpr DWORD DLL_PROCESS_DETACH = 0;
inline constexpr DWORD DLL_PROCESS_ATTACH = 1;

// Geometry.
struct POINT {
    LONG x = 0, y = 0;
};
struct SIZE {
    LONG cx = 0, cy = 0;
};
struct RECT {
    LONG left = 0, top = 0, right = 0, bottom = 0;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

// A queued message as the message loop sees it before dispatching.
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
inline constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
inline constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
inline constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

inline constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }

// A resource named by number travels in a name pointer, as on the real platform.
inline LPCSTR MAKEINTRESOURCE(UINT id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id)); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0; }
