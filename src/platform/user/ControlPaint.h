// What the predefined controls share when they paint and notify: the
// parent's WM_CTLCOLOR* brush, frames drawn from fills, and captions with
// their "&" mnemonic marks taken out.
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

}  // namespace user
