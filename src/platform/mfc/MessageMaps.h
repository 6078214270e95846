// Message maps: the tables a class declares with DECLARE_MESSAGE_MAP and
// fills between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP, and the entries for
// messages, registered messages, commands, command updates, control
// notifications and WM_NOTIFY. The ON_WM_ entries are in
// platform/mfc/WindowMessageMaps.h.
//
// An entry names a member of the class (or of a base) as the original's
// do: ON_COMMAND(ID_X, OnX), also qualified (ON_COMMAND(ID_FILE_NEW,
// CWinApp::OnFileNew)). Each entry holds a small function, made by the
// macro, that calls the member with the message's arguments unpacked, so no
// member-function pointer is ever cast. The handler signatures are the
// original's:
//   ON_MESSAGE, ON_REGISTERED_MESSAGE  LRESULT OnX(WPARAM, LPARAM) (a void
//                                      or LONG/UINT form is accepted too)
//   ON_COMMAND, ON_CONTROL, ON_BN_...  void OnX()
//   ON_COMMAND_RANGE, ON_CONTROL_RANGE void OnX(UINT nID)
//   ON_COMMAND_EX(_RANGE)              BOOL OnX(UINT nID); FALSE routes on
//   ON_UPDATE_COMMAND_UI(_RANGE)       void OnUpdateX(CCmdUI* pCmdUI)
//   ON_NOTIFY                          void OnX(NMHDR*, LRESULT* pResult)
//   ON_NOTIFY_RANGE                    void OnX(UINT nID, NMHDR*, LRESULT*)
// Commands are routed through CCmdTarget::OnCmdMsg (platform/mfc/CmdTarget.h).
#pragma once

#include <type_traits>

#include "platform/mfc/Objects.h"
#include "platform/user/Controls.h"
#include "platform/user/Windows.h"

class CCmdTarget;
class CCmdUI;

#define afx_msg
#define AFX_MSG_CALL

// WM_COMMAND notification codes the command entries carry: a command
// (menu, accelerator, button click) and the update of its user-interface
// element.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// Controls' notification codes (HIWORD of WM_COMMAND's wParam) are the
// control classes': platform/user/Controls.h.
#define EN_UPDATE 0x0400

#define WM_NOTIFY 0x004E

// lParam of WM_NOTIFY.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef NMHDR* LPNMHDR;

// What a WM_NOTIFY handler is given (the original's AFX_NOTIFY).
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Calls one handler on the target. For window messages the arguments are
// the message's; for commands wParam is the command's id and lParam the
// routing's extra (a CCmdUI* for updates, an AFX_NOTIFY* for WM_NOTIFY).
// The result of a command entry says whether it handled the command.
typedef LRESULT (*AFX_PMSGCALL)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;             // the message; 0xC000 for a registered one
    UINT nCode;                // WM_COMMAND and WM_NOTIFY: the notification code
    UINT nID;                  // WM_COMMAND and WM_NOTIFY: the first id
    UINT nLastID;              // ... and the last
    const UINT* pnRegistered;  // ON_REGISTERED_MESSAGE: where the registered number is kept
    AFX_PMSGCALL pfnCall;      // null ends the map
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        AFX_THIS_FILE_USED                                                            \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {
#define END_MESSAGE_MAP()                                                                    \
    { 0, 0, 0, 0, nullptr, nullptr }                                                         \
    }                                                                                        \
    ;                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, messageEntries}; \
    return &messageMap;                                                                      \
    }

#define AFX_THIS(p) static_cast<ThisClass*>(p)

// One entry: the statements after the message fields form the body of the
// entry's function, which sees the target p and the arguments w and l.
#define AFX_MSG_ENTRY(message, code, id, lastId, registered, ...)                                        \
    {(message), (code), (id), (lastId), (registered), [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT { \
         (void)p;                                                                                        \
         (void)w;                                                                                        \
         (void)l;                                                                                        \
         __VA_ARGS__                                                                                     \
     }},
#define AFX_WM_ENTRY(message, ...) AFX_MSG_ENTRY(message, 0, 0, 0, nullptr, __VA_ARGS__)

// A message handler's result as an LRESULT; a handler without one gives 0.
template <class Call>
LRESULT AfxMessageResult(Call call) {
    if constexpr (std::is_void_v<decltype(call())>) {
        call();
        return 0;
    } else {
        return (LRESULT)call();
    }
}

#define ON_MESSAGE(message, memberFxn) \
    AFX_WM_ENTRY(message, return AfxMessageResult([&] { return AFX_THIS(p)->memberFxn(w, l); });)
// A handler without arguments or result: void OnX().
#define ON_MESSAGE_VOID(message, memberFxn) AFX_WM_ENTRY(message, AFX_THIS(p)->memberFxn(); return 0;)
// nMessageVariable holds the number RegisterWindowMessage gave; it is read
// when a message arrives, so it may be set by a static constructor.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    AFX_MSG_ENTRY(0xC000, 0, 0, 0, &(nMessageVariable),    \
                  return AfxMessageResult([&] { return AFX_THIS(p)->memberFxn(w, l); });)

// ---- Commands, updates and notifications ------------------------------------------

#define AFX_COMMAND_ENTRY(code, id, lastId, ...) \
    AFX_MSG_ENTRY(WM_COMMAND, (UINT)(code), (UINT)(WORD)(id), (UINT)(WORD)(lastId), nullptr, __VA_ARGS__)

#define ON_COMMAND(id, memberFxn) AFX_COMMAND_ENTRY(CN_COMMAND, id, id, AFX_THIS(p)->memberFxn(); return TRUE;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    AFX_COMMAND_ENTRY(CN_COMMAND, id, idLast, AFX_THIS(p)->memberFxn(static_cast<UINT>(w)); return TRUE;)
#define ON_COMMAND_EX(id, memberFxn) \
    AFX_COMMAND_ENTRY(CN_COMMAND, id, id, return AFX_THIS(p)->memberFxn(static_cast<UINT>(w)) ? TRUE : FALSE;)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    AFX_COMMAND_ENTRY(CN_COMMAND, id, idLast, return AFX_THIS(p)->memberFxn(static_cast<UINT>(w)) ? TRUE : FALSE;)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    AFX_COMMAND_ENTRY(CN_UPDATE_COMMAND_UI, id, id, AFX_THIS(p)->memberFxn(reinterpret_cast<CCmdUI*>(l)); return TRUE;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                     \
    AFX_COMMAND_ENTRY(CN_UPDATE_COMMAND_UI, id, idLast, AFX_THIS(p)->memberFxn(reinterpret_cast<CCmdUI*>(l)); \
                      return TRUE;)
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    AFX_COMMAND_ENTRY((WORD)(wNotifyCode), id, id, AFX_THIS(p)->memberFxn(); return TRUE;)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_COMMAND_ENTRY((WORD)(wNotifyCode), id, idLast, AFX_THIS(p)->memberFxn(static_cast<UINT>(w)); return TRUE;)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)

#define AFX_NOTIFY_OF(l) reinterpret_cast<AFX_NOTIFY*>(l)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                             \
    AFX_MSG_ENTRY(WM_NOTIFY, (UINT)(WORD)(int)(wNotifyCode), (UINT)(WORD)(id), (UINT)(WORD)(id), nullptr, \
                  AFX_THIS(p)->memberFxn(AFX_NOTIFY_OF(l)->pNMHDR, AFX_NOTIFY_OF(l)->pResult);            \
                  return TRUE;)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                          \
    AFX_MSG_ENTRY(WM_NOTIFY, (UINT)(WORD)(int)(wNotifyCode), (UINT)(WORD)(id), (UINT)(WORD)(idLast), nullptr,        \
                  AFX_THIS(p)->memberFxn(static_cast<UINT>(w), AFX_NOTIFY_OF(l)->pNMHDR, AFX_NOTIFY_OF(l)->pResult); \
                  return TRUE;)
