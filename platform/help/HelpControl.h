// The stand-in of the compiled-help viewer control, which the system loads
// as a library and calls through its export ordinal 14 (HtmlHelpA).
//
// Loading it finds a program that shows compiled help files. A location
// that names a program (as the registry records the control's location)
// loads that program; the control's own file name "hhctrl.ocx" (or a path
// ending in it) loads the first that can be run of: KESTRIN_CHM_VIEWER, xchm or kchmviewer
// on PATH, the opener of the shell (KESTRIN_OPENER, else xdg-open). Nothing
// found: no library. The control is loaded once per process, as a library
// is mapped once: a later successful load answers the same handle.
//
// The entry point opens the file at its default topic (command 0) with that
// program, without waiting for it, and answers a window handle, or null when
// the program cannot be started or the command is not supported.
#pragma once

#include "platform/win/Types.h"

using DWORD_PTR = std::uintptr_t;
using HtmlHelpProc = HWND (*)(HWND owner, const char* file, UINT command, DWORD_PTR data);

inline constexpr char kHelpControlFileName[] = "hhctrl.ocx";
inline constexpr int kHtmlHelpOrdinal = 14;
inline constexpr UINT HH_DISPLAY_TOPIC = 0;

namespace kestrin::help {

// Null when no viewer program is found.
HMODULE loadHelpControl(const char* location);
// The export by ordinal; null for any ordinal but 14 or an unknown library.
HtmlHelpProc helpControlExport(HMODULE library, int ordinal);

// Unloads the control (the system itself never does); false when `library`
// is not the loaded control.
bool freeHelpControl(HMODULE library);

// Loads made since the process started, successful or not (tests).
int helpControlLoadAttempts();

}  // namespace kestrin::help
