// Control bars: not available yet; each member says so and fails.
#include "platform/mfc/ControlBars.h"

#include "platform/mfc/Unsupported.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

void CControlBar::EnableDocking(DWORD) { PlatformReportUnsupported("CControlBar::EnableDocking", "it does nothing"); }

BOOL CToolBar::Create(CWnd*, DWORD, UINT) {
    PlatformReportUnsupported("CToolBar::Create", "there are no tool bars: it returns FALSE");
    return FALSE;
}

BOOL CToolBar::CreateEx(CWnd*, DWORD, DWORD, CRect, UINT) {
    PlatformReportUnsupported("CToolBar::CreateEx", "there are no tool bars: it returns FALSE");
    return FALSE;
}

BOOL CToolBar::LoadToolBar(UINT) {
    PlatformReportUnsupported("CToolBar::LoadToolBar", "it returns FALSE");
    return FALSE;
}

BOOL CToolBar::LoadToolBar(LPCTSTR) { return LoadToolBar(0u); }

BOOL CStatusBar::Create(CWnd*, DWORD, UINT) {
    PlatformReportUnsupported("CStatusBar::Create", "there are no status bars: it returns FALSE");
    return FALSE;
}

BOOL CStatusBar::SetIndicators(const UINT*, int) {
    PlatformReportUnsupported("CStatusBar::SetIndicators", "it returns FALSE");
    return FALSE;
}

BOOL CStatusBar::SetPaneText(int, LPCTSTR, BOOL) {
    PlatformReportUnsupported("CStatusBar::SetPaneText", "it returns FALSE");
    return FALSE;
}
