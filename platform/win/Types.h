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
