// Message tables: static arrays of entries (message, notification code,
// control id range, handler), each chained to its base class's table, looked
// up on every message as the class framework does.
//
// In the class:          DECLARE_MESSAGE_MAP()
// In the source file:    BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//                            ON_BN_CLICKED(8024, OnNewLine)
//                            ON_CONTROL_RANGE(BN_CLICKED, 8029, 8032, OnMode)
//                            ON_WM_SYSCOMMAND()
//                        END_MESSAGE_MAP()
// Handlers are named by their bare member name; the entry binds
// &CMyDlg::Name, so a virtual handler is called virtually.
#pragma once

#include "platform/win/Messages.h"
#include "platform/win/Types.h"

class CWnd;
class CDC;

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    LRESULT (*pfn)(CWnd* target, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Notifications reflected back to the control that sent them.
inline constexpr UINT WM_REFLECT_BASE = 0xBC00;
inline constexpr UINT WM_CTLCOLOR = 0x0019;

namespace kestrin::ui::msgmap {

template <class>
struct MemberClass;
template <class C, class R, class... A>
struct MemberClass<R (C::*)(A...)> {
    using type = C;
};
template <auto F>
using ClassOf = typename MemberClass<decltype(F)>::type;

template <auto F>
LRESULT callVoid(CWnd* w, WPARAM, LPARAM) {
    (static_cast<ClassOf<F>*>(w)->*F)();
    return 0;
}
template <auto F>
LRESULT callWithId(CWnd* w, WPARAM wp, LPARAM) {
    (static_cast<ClassOf<F>*>(w)->*F)(static_cast<UINT>(LOWORD(wp)));
    return 0;
}
template <auto F>
LRESULT callSysCommand(CWnd* w, WPARAM wp, LPARAM lp) {
    (static_cast<ClassOf<F>*>(w)->*F)(static_cast<UINT>(wp), lp);
    return 0;
}
template <auto F>
LRESULT callShowWindow(CWnd* w, WPARAM wp, LPARAM lp) {
    (static_cast<ClassOf<F>*>(w)->*F)(static_cast<BOOL>(wp), static_cast<UINT>(lp));
    return 0;
}
template <auto F>
LRESULT callReturnsHandle(CWnd* w, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((static_cast<ClassOf<F>*>(w)->*F)());
}
template <auto F>
LRESULT callKey(CWnd* w, WPARAM wp, LPARAM lp) {
    (static_cast<ClassOf<F>*>(w)->*F)(static_cast<UINT>(wp), static_cast<UINT>(lp & 0xFFFF),
                                      static_cast<UINT>((lp >> 16) & 0xFFFF));
    return 0;
}
template <auto F>
LRESULT callSetCursor(CWnd* w, WPARAM wp, LPARAM lp) {
    return (static_cast<ClassOf<F>*>(w)->*F)(ClassOf<F>::FromHandle(reinterpret_cast<HWND>(wp)), static_cast<UINT>(LOWORD(lp)),
                                             static_cast<UINT>(HIWORD(lp)));
}
template <auto F>
LRESULT callCtlColor(CWnd* w, WPARAM wp, LPARAM lp) {
    return reinterpret_cast<LRESULT>((static_cast<ClassOf<F>*>(w)->*F)(reinterpret_cast<CDC*>(wp), static_cast<UINT>(lp)));
}

// The entry for a message (and, for WM_COMMAND, a code and id) along the
// chain of tables; null when no table has one.
const AFX_MSGMAP_ENTRY* findEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);

}  // namespace kestrin::ui::msgmap

#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
    static const AFX_MSGMAP* GetThisMessageMap();       \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                  \
        using ThisClass [[maybe_unused]] = theClass;                                   \
        using TheBaseClass = baseClass;                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                   \
    {0, 0, 0, 0, nullptr}};                                                                 \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                     \
    }

#define KESTRIN_COMMAND_ENTRY(code, first, last, thunk, fn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(first), static_cast<UINT>(last), &::kestrin::ui::msgmap::thunk<&ThisClass::fn>},

#define ON_COMMAND(id, fn) KESTRIN_COMMAND_ENTRY(0, id, id, callVoid, fn)
#define ON_CONTROL(code, id, fn) KESTRIN_COMMAND_ENTRY(code, id, id, callVoid, fn)
#define ON_CONTROL_RANGE(code, first, last, fn) KESTRIN_COMMAND_ENTRY(code, first, last, callWithId, fn)
#define ON_COMMAND_RANGE(first, last, fn) KESTRIN_COMMAND_ENTRY(0, first, last, callWithId, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

#define KESTRIN_MESSAGE_ENTRY(message, thunk, fn) \
    {static_cast<UINT>(message), 0, 0, 0, &::kestrin::ui::msgmap::thunk<&ThisClass::fn>},

#define ON_WM_SYSCOMMAND() KESTRIN_MESSAGE_ENTRY(WM_SYSCOMMAND, callSysCommand, OnSysCommand)
#define ON_WM_PAINT() KESTRIN_MESSAGE_ENTRY(WM_PAINT, callVoid, OnPaint)
#define ON_WM_SHOWWINDOW() KESTRIN_MESSAGE_ENTRY(WM_SHOWWINDOW, callShowWindow, OnShowWindow)
#define ON_WM_CLOSE() KESTRIN_MESSAGE_ENTRY(WM_CLOSE, callVoid, OnClose)
#define ON_WM_DESTROY() KESTRIN_MESSAGE_ENTRY(WM_DESTROY, callVoid, OnDestroy)
#define ON_WM_QUERYDRAGICON() KESTRIN_MESSAGE_ENTRY(WM_QUERYDRAGICON, callReturnsHandle, OnQueryDragIcon)
#define ON_WM_CHAR() KESTRIN_MESSAGE_ENTRY(WM_CHAR, callKey, OnChar)
#define ON_WM_SETCURSOR() KESTRIN_MESSAGE_ENTRY(WM_SETCURSOR, callSetCursor, OnSetCursor)
#define ON_WM_KEYDOWN() KESTRIN_MESSAGE_ENTRY(WM_KEYDOWN, callKey, OnKeyDown)
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, &::kestrin::ui::msgmap::callVoid<&ThisClass::fn>},
#define ON_WM_CTLCOLOR_REFLECT() KESTRIN_MESSAGE_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, callCtlColor, CtlColor)
