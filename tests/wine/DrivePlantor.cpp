// A person at Plantor's window, for the test of Plantor.exe without a
// session script (under Wine and Xvfb): finds the setup dialog by its target
// folder field, types a folder into it key by key, clicks OK and answers the
// message box that follows with its OK button. Every step goes through the
// system's windows of the other program.
// Usage: drive_plantor.exe FOLDER    Exit status: 0 done, 1 a window did not come.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kTargetField = 1000;

struct Search {
    HWND found = nullptr;
    bool box = false;  // a message box (a dialog without the field, with a button 2 or 1 alone)
};

BOOL CALLBACK visit(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (!IsWindowVisible(window) || std::wstring(cls) != L"#32770") return TRUE;
    const bool setup = GetDlgItem(window, kTargetField) != nullptr;
    if (setup != !s->box) return TRUE;
    s->found = window;
    return FALSE;
}

HWND waitFor(bool box) {
    for (int i = 0; i < 300; ++i) {
        Search s;
        s.box = box;
        EnumWindows(visit, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HWND dialog = waitFor(false);
    if (!dialog) {
        std::fprintf(stderr, "drive_plantor: the setup dialog did not show\n");
        return 1;
    }
    HWND field = GetDlgItem(dialog, kTargetField);
    SendMessageW(field, EM_SETSEL, 0, -1);  // what the person selects is the control's own
    for (const wchar_t* c = argv[1]; *c; ++c) SendMessageW(field, WM_CHAR, *c, 1);
    Sleep(300);
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    HWND box = waitFor(true);
    if (!box) {
        std::fprintf(stderr, "drive_plantor: no message box came\n");
        return 1;
    }
    wchar_t text[256] = {};
    GetWindowTextW(box, text, 256);
    std::fwprintf(stdout, L"message box: %ls\n", text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}
