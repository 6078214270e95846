// CCmdTarget, the root of the classes that receive messages and commands,
// and CCmdUI, the user-interface element a command's update handler sets.
//
// A command (WM_COMMAND from a menu, an accelerator, a control, or a host
// posting it) is routed as the original routes it: the main MDI frame
// gives it to its active child frame, which gives it to its active view;
// the view tries its own map, then its document's, which tries its
// template's; then the child frame's map, the main frame's map, and last
// the application's. The first target whose map has an entry for it
// handles it. Before a command from a menu or accelerator (no control
// window) is routed, its update handler is asked (CN_UPDATE_COMMAND_UI): a
// command its handler disabled is not run.
#pragma once

#include "platform/mfc/MessageMaps.h"
#include "platform/mfc/Objects.h"

class CMenu;
class CWnd;

// The entry of lpEntry's table (up to its end) for the message, or for
// WM_COMMAND and WM_NOTIFY the one for the code and id; null when none.
PLATFORM_API const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                         UINT nID);

// Filled by OnCmdMsg when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSGCALL pfnCall;
};

class PLATFORM_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Looks the command up in this object's map and its bases' maps; the
    // derived targets route it on (see above). nCode is CN_COMMAND,
    // CN_UPDATE_COMMAND_UI (pExtra: the CCmdUI), a control's notification
    // code, or MAKELONG(code, WM_NOTIFY) (pExtra: the AFX_NOTIFY). With
    // pHandlerInfo, nothing runs: TRUE and the handler when one exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // OLE automation is not supported: says so once on stderr.
    void EnableAutomation();
    // The wait cursor is not shown: these do nothing.
    void BeginWaitCursor() {}
    void EndWaitCursor() {}
    void RestoreWaitCursor() {}

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The state of one command's user-interface element. Update handlers call
// Enable, SetCheck, SetRadio and SetText; the base class applies them to
// m_pOther (a control window) when there is one. Derive to learn what a
// handler set, as the original's own internal test element does.
class PLATFORM_API CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0, 1 or 2 (indeterminate)
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    // Lets the command's update go on to the next target in the route.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Routes the update to pTarget. With bDisableIfNoHndler, an element
    // that no update handler enabled or disabled is enabled exactly when
    // some target has a command handler for it. TRUE when an update
    // handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;
    CMenu* m_pParentMenu = nullptr;
};
