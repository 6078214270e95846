// CGenericWnd: a companion object of a host window that gives it a
// coloured background, owner drawing shared with a list of child windows,
// and moving of small child windows (glyphs) by mouse drags.
//
// The companion is not a window. The host sets m_pWnd to the window it
// serves, and that window's handlers call the companion's members of the
// same names (OnCtlColor, OnLButtonDown, OnDrawItem, DrawItem). The
// companion talks back with WM_DRAWOWNWINDOW.
//
// Children that share the owner drawing are numbered from 1 in the order
// they are added, and each must carry its number as its control ID:
// DrawChildItem finds a child by the item's CtlID - 1.
//
// Every live companion is known to a process-wide list, so that
// MoveParentGeneric finds the companion serving the parent window (the
// first made of those serving it). Copies are deep: a copy gets its own
// brush of the same colour and its own child list holding the same
// windows, so no brush or list is ever released twice.
//
// A companion without m_pWnd, or whose window is gone, draws, moves and
// repaints nothing; null arguments do nothing.
#pragma once

#include "containers/CLinkedList.h"
#include "platform/atl/Geometry.h"
#include "platform/gdi/Brushes.h"

class CDC;
class CWnd;
struct DRAWITEMSTRUCT;
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

// Sent to m_pWnd with wParam = the CDC* of the item being drawn, lParam 0:
// the window draws its own content on it.
#define WM_DRAWOWNWINDOW (WM_USER + 41)

// The host's record handed to Create. The companion reads only its fifth
// and sixth 32-bit fields; hosts derive from it for their own data.
class CBASIS1_API CGenericInfo {
public:
    DWORD m_dwFields[4] = {};
    DWORD m_dwValue1 = 0;  // fifth field
    DWORD m_dwValue2 = 0;  // sixth field
};

class CBASIS1_API CGenericWnd {
public:
    // Everything zero: no brush, no list, no window.
    CGenericWnd();
    CGenericWnd(const CGenericWnd& other);
    CGenericWnd& operator=(const CGenericWnd& other);
    // Deletes the child list (not its windows), then the brush.
    ~CGenericWnd();

    // Make no window: they take the control ID and the background colour
    // (white when none is given) with a new brush of it, and the host's info
    // and parameter. The first four arguments are ignored. Always TRUE.
    BOOL Create(LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                DWORD dwColor);
    BOOL Create(LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                DWORD dwColor, CGenericInfo*& pInfo, int& nParam);
    BOOL Create(LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                CGenericInfo*& pInfo, int& nParam);

    // A new background colour and brush; the parent of m_pWnd repaints at
    // once (erasing).
    virtual void ChangeBackgroundColor(COLORREF crColor);
    // The same, repainting the parent of pWnd.
    void ChangeBackgroundColor(CWnd* pWnd, COLORREF crColor);
    // Runs the colour dialog (initial colour RGB(200, 250, 0)); on OK the
    // background becomes the first of the dialog's saved custom colours.
    void SelectNewColor();
    void DeleteBackgroundBrush(int nUnused);
    // A new brush of m_crBackground, releasing the one held.
    void LoadBackgroundColor(int nUnused);
    BOOL GetParams();

    // Black text for every kind; for dialogs, statics and buttons the
    // background colour and brush, for the others hbrDefault.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor, HBRUSH hbrDefault);
    // Fills the item with the brush, has m_pWnd draw its content
    // (WM_DRAWOWNWINDOW), then invalidates rcItem in each child without
    // erasing.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Hands the item to the DrawItem of the child numbered CtlID, when it
    // is a button (the platform's owner-drawn control class).
    void DrawChildItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // DrawChildItem; the control ID argument is not used.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Appends the window to the child list (made on first use); returns the
    // new count, the control ID that window must carry.
    UINT AddToChildDraws(CWnd* pWnd);

    void OnLButtonDown(UINT nFlags, CPoint point);
    // Move m_pWnd, in its parent's client coordinates, by ptNew - ptOld or
    // by the offset (MoveWindow with repainting, also for a zero offset).
    void MoveGlyph(CPoint ptNew, CPoint ptOld);
    void MoveWndByDelta(CPoint& ptDelta);
    void MoveBottomWnd(CPoint& ptUnused);
    // From client coordinates of m_pWnd to those of its parent.
    void ConvertToParentPoints(CPoint& point);
    // One drag step: the companion of the parent window moves its window by
    // the point minus the last click, both taken to the parent's client
    // coordinates. m_ptLastClick stays.
    void MoveParentGeneric(CPoint point);

    // For derived classes: draws the window's content; the base draws nothing.
    virtual void DrawOwnWindow(CDC* pDC);

    CLinkedList<CWnd*>* m_pChildDraws;
    COLORREF m_crBackground;
    HBRUSH m_hBackgroundBrush;
    CGenericInfo* m_pInfo;  // not owned
    int m_nParam;
    UINT m_nID;
    DWORD m_nInfoValue1;
    DWORD m_nInfoValue2;
    CPoint m_ptLastClick;
    CWnd* m_pWnd;
    DWORD m_dwReserved[3];  // spare fields: copied and zeroed only

private:
    // Copies every field, giving this object its own brush and list.
    void CopyFrom(const CGenericWnd& other);
    void ReleaseOwned();
    void Repaint(CWnd* pWnd);
};
