// Message maps of the class layer.
//
// Each entry carries a small dispatch function made by its macro: it unpacks
// the message parameters and calls the handler with its usual signature, so a
// handler of the wrong signature does not compile. The dispatch function is a
// lambda written inside the class's GetMessageMap, so it may call protected
// handlers. It returns FALSE when the handler declined (the _EX entries).
#pragma once

#include "Types.h"
#include "WinUser.h"

class CCmdTarget;
class CWnd;

struct AFX_CALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT nID;           // control id of a command or notification
  LRESULT* pResult;   // the message's result
};
typedef BOOL (*AFX_DISPATCH)(CCmdTarget* target, AFX_CALL& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;          // message, or WM_COMMAND/WM_NOTIFY and their reflected forms
  UINT nCode;             // control notification code
  UINT nID;               // first control id
  UINT nLastID;           // last control id (ranges)
  const UINT* pRegistered;  // ON_REGISTERED_MESSAGE: the variable holding the number
  AFX_DISPATCH pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                              \
 protected:                                                \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();     \
  TRELLIAN_QUIET_OVERRIDE_BEGIN                            \
  virtual const AFX_MSGMAP* GetMessageMap() const;         \
  TRELLIAN_QUIET_OVERRIDE_END                              \
                                                           \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                   \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                       \
    typedef theClass ThisClass;                                                                  \
    typedef baseClass TheBaseClass;                                                              \
    (void)sizeof(ThisClass*);                                                                    \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                           \
  {0, 0, 0, 0, nullptr, nullptr}                                                    \
  }                                                                                 \
  ;                                                                                 \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                               \
  }

// The object a dispatch function works on.
#define AFX_THIS static_cast<ThisClass*>(t)
#define AFX_ENTRY(msg, code, id, last, body) \
  {msg, (UINT)(code), (UINT)(id), (UINT)(last), nullptr, [](CCmdTarget* t, AFX_CALL& c) -> BOOL { body }},
#define AFX_POINT CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam))
#define AFX_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))

// ---------------------------------------------------------------- general entries

#define ON_MESSAGE(message, memberFxn) \
  AFX_ENTRY(message, 0, 0, 0, *c.pResult = AFX_THIS->memberFxn(c.wParam, c.lParam); return TRUE;)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                        \
  {0xC000, 0, 0, 0, &nMessageVariable, [](CCmdTarget* t, AFX_CALL& c) -> BOOL {                   \
     *c.pResult = AFX_THIS->memberFxn(c.wParam, c.lParam);                                        \
     return TRUE;                                                                                 \
   }},
#define ON_COMMAND(id, memberFxn) AFX_ENTRY(WM_COMMAND, 0, id, id, (void)c; AFX_THIS->memberFxn(); return TRUE;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  AFX_ENTRY(WM_COMMAND, 0, id, idLast, AFX_THIS->memberFxn(c.nID); return TRUE;)
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  AFX_ENTRY(WM_COMMAND, wNotifyCode, id, id, (void)c; AFX_THIS->memberFxn(); return TRUE;)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  AFX_ENTRY(WM_COMMAND, wNotifyCode, id, idLast, AFX_THIS->memberFxn(c.nID); return TRUE;)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                        \
  AFX_ENTRY(WM_NOTIFY, wNotifyCode, id, id,                                                          \
            AFX_THIS->memberFxn(reinterpret_cast<NMHDR*>(c.lParam), c.pResult); return TRUE;)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                         \
  AFX_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast,                                                     \
            AFX_THIS->memberFxn(c.nID, reinterpret_cast<NMHDR*>(c.lParam), c.pResult); return TRUE;)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
  AFX_ENTRY(WM_NOTIFY, wNotifyCode, id, id,      \
            return AFX_THIS->memberFxn(c.nID, reinterpret_cast<NMHDR*>(c.lParam), c.pResult);)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
  AFX_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast,                \
            return AFX_THIS->memberFxn(c.nID, reinterpret_cast<NMHDR*>(c.lParam), c.pResult);)

// Reflected notifications, handled by the control that sent them. The plain
// forms consume the notification; an _EX handler that returns FALSE lets the
// parent have it too.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, (void)c; AFX_THIS->memberFxn(); return TRUE;)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, (void)c; return AFX_THIS->memberFxn();)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)            \
  AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0,  \
            AFX_THIS->memberFxn(reinterpret_cast<NMHDR*>(c.lParam), c.pResult); return TRUE;)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)        \
  AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0, \
            return AFX_THIS->memberFxn(reinterpret_cast<NMHDR*>(c.lParam), c.pResult);)
#define ON_WM_CTLCOLOR_REFLECT()                                                                \
  AFX_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                             \
            HBRUSH b = AFX_THIS->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)),     \
                                          static_cast<UINT>(c.lParam));                         \
            *c.pResult = reinterpret_cast<LRESULT>(b); return b != nullptr;)
#define ON_WM_DRAWITEM_REFLECT() \
  AFX_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0,                                             \
            AFX_THIS->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)); *c.pResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT()                                                                   \
  AFX_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0,                                                \
            AFX_THIS->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam)); *c.pResult = TRUE; \
            return TRUE;)
#define ON_WM_DELETEITEM_REFLECT()                                                   \
  AFX_ENTRY(WM_REFLECT_BASE + WM_DELETEITEM, 0, 0, 0,                                \
            AFX_THIS->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(c.lParam)); *c.pResult = TRUE; \
            return TRUE;)
#define ON_WM_COMPAREITEM_REFLECT()                                                                 \
  AFX_ENTRY(WM_REFLECT_BASE + WM_COMPAREITEM, 0, 0, 0,                                              \
            *c.pResult = AFX_THIS->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(c.lParam)); return TRUE;)
#define ON_WM_HSCROLL_REFLECT()                                                          \
  AFX_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0,                                       \
            AFX_THIS->HScroll(LOWORD(c.wParam), HIWORD(c.wParam)); *c.pResult = 0; return TRUE;)
#define ON_WM_VSCROLL_REFLECT()                                                          \
  AFX_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0,                                       \
            AFX_THIS->VScroll(LOWORD(c.wParam), HIWORD(c.wParam)); *c.pResult = 0; return TRUE;)

// Control notifications.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---------------------------------------------------------------- window messages

#define AFX_VOID(msg, call) AFX_ENTRY(msg, 0, 0, 0, (void)c; AFX_THIS->call; *c.pResult = 0; return TRUE;)
#define AFX_RESULT(msg, call) AFX_ENTRY(msg, 0, 0, 0, *c.pResult = (LRESULT)(AFX_THIS->call); return TRUE;)
#define AFX_MOUSE(msg, fn) AFX_VOID(msg, fn(static_cast<UINT>(c.wParam), AFX_POINT))
#define AFX_KEY(msg, fn) \
  AFX_VOID(msg, fn(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))

#define ON_WM_CREATE() AFX_RESULT(WM_CREATE, OnCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam)))
#define ON_WM_NCCREATE() AFX_RESULT(WM_NCCREATE, OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam)))
#define ON_WM_DESTROY() AFX_VOID(WM_DESTROY, OnDestroy())
#define ON_WM_NCDESTROY() AFX_VOID(WM_NCDESTROY, OnNcDestroy())
#define ON_WM_CLOSE() AFX_VOID(WM_CLOSE, OnClose())
#define ON_WM_PAINT() AFX_VOID(WM_PAINT, OnPaint())
#define ON_WM_NCPAINT() AFX_VOID(WM_NCPAINT, OnNcPaint())
#define ON_WM_ERASEBKGND() \
  AFX_RESULT(WM_ERASEBKGND, OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam))))
// Every WM_CTLCOLOR* message comes here, with its kind in nCtlColor.
#define ON_WM_CTLCOLOR()                                                                           \
  AFX_RESULT(WM_CTLCOLOR, OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)), AFX_WND(c.lParam), \
                                     c.message - WM_CTLCOLORMSGBOX))
#define ON_WM_SIZE() AFX_VOID(WM_SIZE, OnSize(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_MOVE() AFX_VOID(WM_MOVE, OnMove(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)))
#define ON_WM_SHOWWINDOW() \
  AFX_VOID(WM_SHOWWINDOW, OnShowWindow(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam)))
#define ON_WM_ENABLE() AFX_VOID(WM_ENABLE, OnEnable(static_cast<BOOL>(c.wParam)))
#define ON_WM_TIMER() AFX_VOID(WM_TIMER, OnTimer(static_cast<UINT_PTR>(c.wParam)))
#define ON_WM_MOUSEMOVE() AFX_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEHOVER() AFX_MOUSE(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() AFX_VOID(WM_MOUSELEAVE, OnMouseLeave())
#define ON_WM_MOUSEWHEEL()                                                                         \
  AFX_RESULT(WM_MOUSEWHEEL, OnMouseWheel(LOWORD(c.wParam), static_cast<short>(HIWORD(c.wParam)), AFX_POINT))
#define ON_WM_NCMOUSEMOVE() AFX_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_MOUSE(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_MOUSE(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_NCHITTEST() AFX_RESULT(WM_NCHITTEST, OnNcHitTest(AFX_POINT))
#define ON_WM_NCCALCSIZE()                                                                        \
  AFX_VOID(WM_NCCALCSIZE, OnNcCalcSize(static_cast<BOOL>(c.wParam),                               \
                                       reinterpret_cast<NCCALCSIZE_PARAMS*>(c.lParam)))
#define ON_WM_NCACTIVATE() AFX_RESULT(WM_NCACTIVATE, OnNcActivate(static_cast<BOOL>(c.wParam)))
#define ON_WM_ACTIVATE() \
  AFX_VOID(WM_ACTIVATE, OnActivate(LOWORD(c.wParam), AFX_WND(c.lParam), static_cast<BOOL>(HIWORD(c.wParam))))
#define ON_WM_ACTIVATEAPP() \
  AFX_VOID(WM_ACTIVATEAPP, OnActivateApp(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam)))
#define ON_WM_MOUSEACTIVATE() \
  AFX_RESULT(WM_MOUSEACTIVATE, OnMouseActivate(AFX_WND(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_CHILDACTIVATE() AFX_VOID(WM_CHILDACTIVATE, OnChildActivate())
#define ON_WM_SETFOCUS() AFX_VOID(WM_SETFOCUS, OnSetFocus(AFX_WND(c.wParam)))
#define ON_WM_KILLFOCUS() AFX_VOID(WM_KILLFOCUS, OnKillFocus(AFX_WND(c.wParam)))
#define ON_WM_CAPTURECHANGED() AFX_VOID(WM_CAPTURECHANGED, OnCaptureChanged(AFX_WND(c.lParam)))
#define ON_WM_SETCURSOR() \
  AFX_RESULT(WM_SETCURSOR, OnSetCursor(AFX_WND(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_KEYDOWN() AFX_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_CHAR() AFX_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSCHAR() AFX_KEY(WM_SYSCHAR, OnSysChar)
#define ON_WM_GETDLGCODE() AFX_RESULT(WM_GETDLGCODE, OnGetDlgCode())
#define ON_WM_HSCROLL()                                                                     \
  AFX_VOID(WM_HSCROLL, OnHScroll(LOWORD(c.wParam), HIWORD(c.wParam),                        \
                                 reinterpret_cast<CScrollBar*>(c.lParam ? AFX_WND(c.lParam) : nullptr)))
#define ON_WM_VSCROLL()                                                                     \
  AFX_VOID(WM_VSCROLL, OnVScroll(LOWORD(c.wParam), HIWORD(c.wParam),                        \
                                 reinterpret_cast<CScrollBar*>(c.lParam ? AFX_WND(c.lParam) : nullptr)))
#define ON_WM_DRAWITEM() \
  AFX_ENTRY(WM_DRAWITEM, 0, 0, 0,                                                                  \
            AFX_THIS->OnDrawItem(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)); \
            *c.pResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM()                                                                  \
  AFX_ENTRY(WM_MEASUREITEM, 0, 0, 0,                                                         \
            AFX_THIS->OnMeasureItem(static_cast<int>(c.wParam),                              \
                                    reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam));        \
            *c.pResult = TRUE; return TRUE;)
#define ON_WM_DELETEITEM()                                                                   \
  AFX_ENTRY(WM_DELETEITEM, 0, 0, 0,                                                          \
            AFX_THIS->OnDeleteItem(static_cast<int>(c.wParam),                               \
                                   reinterpret_cast<LPDELETEITEMSTRUCT>(c.lParam));          \
            *c.pResult = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM()                                                                     \
  AFX_RESULT(WM_COMPAREITEM, OnCompareItem(static_cast<int>(c.wParam),                          \
                                           reinterpret_cast<LPCOMPAREITEMSTRUCT>(c.lParam)))
#define ON_WM_SYSCOMMAND() AFX_VOID(WM_SYSCOMMAND, OnSysCommand(static_cast<UINT>(c.wParam), c.lParam))
#define ON_WM_GETMINMAXINFO() AFX_VOID(WM_GETMINMAXINFO, OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c.lParam)))
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_VOID(WM_WINDOWPOSCHANGING, OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(c.lParam)))
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_VOID(WM_WINDOWPOSCHANGED, OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c.lParam)))
#define ON_WM_STYLECHANGED() \
  AFX_VOID(WM_STYLECHANGED, OnStyleChanged(static_cast<int>(c.wParam), reinterpret_cast<LPSTYLESTRUCT>(c.lParam)))
#define ON_WM_QUERYDRAGICON() AFX_RESULT(WM_QUERYDRAGICON, OnQueryDragIcon())
#define ON_WM_CONTEXTMENU() AFX_VOID(WM_CONTEXTMENU, OnContextMenu(AFX_WND(c.wParam), AFX_POINT))
#define ON_WM_INITMENUPOPUP()                                                                   \
  AFX_VOID(WM_INITMENUPOPUP, OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(c.wParam)), \
                                             LOWORD(c.lParam), static_cast<BOOL>(HIWORD(c.lParam))))
#define ON_WM_MENUCHAR()                                                                                  \
  AFX_RESULT(WM_MENUCHAR, OnMenuChar(LOWORD(c.wParam), HIWORD(c.wParam),                                  \
                                     CMenu::FromHandle(reinterpret_cast<HMENU>(c.lParam))))
#define ON_WM_PARENTNOTIFY() AFX_VOID(WM_PARENTNOTIFY, OnParentNotify(static_cast<UINT>(c.wParam), c.lParam))
#define ON_WM_SYSCOLORCHANGE() AFX_VOID(WM_SYSCOLORCHANGE, OnSysColorChange())
#define ON_WM_CANCELMODE() AFX_VOID(WM_CANCELMODE, OnCancelMode())
#define ON_WM_SETTINGCHANGE() \
  AFX_VOID(WM_SETTINGCHANGE, OnSettingChange(static_cast<UINT>(c.wParam), reinterpret_cast<LPCTSTR>(c.lParam)))
