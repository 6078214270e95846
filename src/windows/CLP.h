// CLP: conversions between screen coordinates, client coordinates of a
// window and the scrolled logical coordinates of that window, where
// logical = client + (horizontal, vertical scroll position). Units are
// pixels; no mapping mode is involved. The window is not owned; with no
// window, points and rectangles stay as they are.
#pragma once

#include "platform/atl/Geometry.h"

class CWnd;

class CBASIS1_API CLP {
public:
    explicit CLP(CWnd* pWnd);
    CLP& operator=(const CLP& other);

    // (horizontal, vertical) scroll position of the window.
    CPoint GetScrollPos();
    // Screen to logical.
    void ConvertToLP(CPoint& point);
    void ConvertToLP(CRect& rect);
    // Logical to screen.
    void ConvertToDP(CPoint& point);
    void ConvertToDP(CRect& rect);
    // Logical to client.
    void ConvertLPToLocalScreen(CPoint& point);
    void ConvertLPToLocalScreen(CRect& rect);

    CWnd* m_pWnd;
};
