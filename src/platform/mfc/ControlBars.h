// Control bars: CControlBar, CToolBar and CStatusBar.
//
// A bar is a child window of its frame (the dock site), which keeps a list
// of its bars: CFrameWnd::RecalcLayout lays the visible ones along the
// edges their CBRS_ALIGN_ style names (tool bars at the top, the status bar
// at the bottom, in the order they were created) and the frame's pane in
// the rest. Bars stay docked where they were created: dragging one off, or
// to another edge, is not supported (docking calls only record the styles).
//
// Each time the thread's loop goes idle, every bar updates its items
// through the frame's command route (ON_UPDATE_COMMAND_UI), as menus do
// before they open: a tool bar button is enabled, disabled or checked, a
// status bar pane gets its text (or none while disabled).
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/Objects.h"
#include "platform/mfc/Wnd.h"

// Bar styles (CBRS_) and the flat tool bar style.
#define CBRS_ALIGN_LEFT 0x1000u
#define CBRS_ALIGN_TOP 0x2000u
#define CBRS_ALIGN_RIGHT 0x4000u
#define CBRS_ALIGN_BOTTOM 0x8000u
#define CBRS_ALIGN_ANY 0xF000u
#define CBRS_BORDER_LEFT 0x0100u
#define CBRS_BORDER_TOP 0x0200u
#define CBRS_BORDER_RIGHT 0x0400u
#define CBRS_BORDER_BOTTOM 0x0800u
#define CBRS_BORDER_ANY 0x0F00u
#define CBRS_FLOAT_MULTI 0x0080u
#define CBRS_TOOLTIPS 0x0010u
#define CBRS_FLYBY 0x0020u
#define CBRS_GRIPPER 0x00400000u
#define CBRS_SIZE_DYNAMIC 0x0040u
#define CBRS_SIZE_FIXED 0x0002u
#define CBRS_HIDE_INPLACE 0x0008u
#define CBRS_NOALIGN 0x00000000u
#define CBRS_ALL 0x0040FFFFu
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define TBSTYLE_FLAT 0x0800u
#define TBSTYLE_TRANSPARENT 0x8000u

// Tool bar button styles and states.
#define TBBS_BUTTON 0x0000u
#define TBBS_SEPARATOR 0x0001u
#define TBBS_CHECKBOX 0x0002u
#define TBBS_GROUP 0x0004u
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_CHECKED 0x01000000u
#define TBBS_PRESSED 0x02000000u
#define TBBS_DISABLED 0x04000000u
#define TBBS_INDETERMINATE 0x08000000u

// Status bar pane styles.
#define SBPS_NORMAL 0x0000u
#define SBPS_NOBORDERS 0x0100u
#define SBPS_POPOUT 0x0200u
#define SBPS_DISABLED 0x04000000u
#define SBPS_STRETCH 0x08000000u

// Sent to a frame's windows when the thread's loop goes idle (wParam: TRUE
// to disable items without a handler); bars update their items on it.
#define WM_IDLEUPDATECMDUI 0x0363
// Sent to a frame to show a message in its status bar: wParam the id of a
// prompt string, or 0 and lParam the text.
#define WM_SETMESSAGESTRING 0x0362

class CFrameWnd;

class PLATFORM_API CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    // The edges the bar may dock to: recorded only (bars do not move).
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    BOOL IsFloating() const { return FALSE; }
    int GetCount() const;

    // The bar's size along its edge: bHorz for the top and bottom edges.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Updates the bar's items through pTarget's command route.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

protected:
    CControlBar() = default;
    // Creates the bar's window as a child of pParentWnd and joins the list of
    // its frame.
    BOOL CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszClass);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;  // CBRS_ styles
    int m_nCount = 0;     // buttons or panes
};

class PLATFORM_API CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;
    ~CToolBar() override;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = 0xE800);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = 0xE800);
    // The tool bar resource and the bitmap of the same id: the button size
    // and the buttons' ids (0 for a separator), then their images. FALSE
    // when either is missing or damaged.
    BOOL LoadToolBar(UINT nIDResource);
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    // The tool bar resource's layout from memory: WORD version (1), WORD
    // width, WORD height, WORD count, then count WORD ids; or as windres
    // writes it, DWORD width, height, count and ids. FALSE for cb bytes that
    // are neither.
    BOOL PlatformLoadToolBarData(const void* pData, size_t cb);
    // One button for each id (ID_SEPARATOR: a separator), with the images
    // in order; null lpIDArray: nIDCount separators to fill in.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // sizeButton must be at least the image plus 7 by 6, as on the original.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The bar's bitmap of images (each sizeImage wide, in a row, in the
    // order of the buttons that are not separators), its standard button
    // colours mapped to the system's (AfxLoadSysColorBitmap). Until a bar
    // has one, its buttons show numbered squares.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCTSTR lpszResourceName);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    CString GetButtonText(int nIndex) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // What a button is (public for CCmdUI of tool bars).
    struct Button {
        UINT id = 0;
        UINT style = 0;  // TBBS_ style and state
        int image = -1;
        std::string text;
    };
    std::vector<Button> m_buttons;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    void PaintImage(HDC hDC, const Button& button, POINT at);
    int ButtonAt(POINT point) const;

    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    HBITMAP m_hbmImageWell = nullptr;  // the images
    HBITMAP m_hbmDisabled = nullptr;   // the same, embossed for disabled buttons
    int m_nPressed = -1;               // the button held down by the mouse
};

class PLATFORM_API CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar() = default;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = 0xE801);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = 0xE801);
    // One pane for each id: ID_SEPARATOR is a pane of its own text (the
    // first is the message pane, which stretches); any other id shows the
    // string of that id (ID_INDICATOR_CAPS: "CAP", ...) while its update
    // handler enables it, and is as wide as that string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    struct Pane {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        std::string text;
    };
    std::vector<Pane> m_panes;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    std::vector<RECT> PaneRects() const;
};

// The string of the id from the application's string tables, or the
// original's text for the standard indicators ("CAP", "NUM", "SCRL",
// "OVR", "REC", "EXT") and the idle message ("Ready") when they have none;
// empty when there is neither.
PLATFORM_API CString PlatformLoadBarString(UINT nID);
