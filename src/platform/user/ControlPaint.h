// What the predefined controls share when they paint and notify: the
// parent's WM_CTLCOLOR* brush, frames drawn from fills, captions with
// their "&" mnemonic marks taken out, and the font WM_SETFONT gave them.
#pragma once

#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/user/Windows.h"

namespace user {

// The brush the parent answers to message (WM_CTLCOLOR*), or the system
// colour nSysColor's when it answers null.
HBRUSH ControlBrush(HWND hWnd, HDC hDC, UINT message, int nSysColor);
// Fills the client area with the brush the parent answers to message (the
// system colour nSysColor's when it answers null) and returns the client
// rectangle.
RECT FillControlBackground(HWND hWnd, HDC hDC, UINT message, int nSysColor);
// A frame of the given thickness inside rect.
void DrawFrame(HDC hDC, const RECT& rect, COLORREF color, int thickness);
// The window's text as it is drawn: "&x" shows "x", "&&" shows "&" (with
// bPrefix false, the text unchanged).
std::string ControlCaption(HWND hWnd, bool bPrefix = true);

// WM_SETFONT and WM_GETFONT as every predefined control answers them: the
// font is kept with the window but not owned (null: the system font), and
// WM_SETFONT repaints when its lParam asks. False for any other message.
bool OnFontMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
// Selects the control's font into a context it paints or measures with; a
// font deleted meanwhile leaves the one selected.
void SelectControlFont(HWND hWnd, HDC hDC);
// The height of a line in the font selected into hDC (its tmHeight).
int LineHeight(HDC hDC);
// The height of a line in the control's font.
int ControlLineHeight(HWND hWnd);

// A memory context with the control's font selected, to measure text
// outside painting as the control draws it.
class MeasureDC {
public:
    explicit MeasureDC(HWND hWnd);
    ~MeasureDC();
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};

}  // namespace user
