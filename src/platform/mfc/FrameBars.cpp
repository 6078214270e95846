// CFrameWnd's control bars, docking, status text and accelerators: declared
// for hosts, not available on this platform yet. Each says so on stderr the
// first time and gives the original's failure result.
#include "platform/mfc/Frames.h"
#include "platform/mfc/Unsupported.h"

void CFrameWnd::EnableDocking(DWORD) { PlatformReportUnsupported("CFrameWnd::EnableDocking", "bars do not dock"); }

void CFrameWnd::DockControlBar(CControlBar*, UINT, LPCRECT) {
    PlatformReportUnsupported("CFrameWnd::DockControlBar", "the bar is not docked");
}

void CFrameWnd::ShowControlBar(CControlBar*, BOOL, BOOL) {
    PlatformReportUnsupported("CFrameWnd::ShowControlBar", "it does nothing");
}

void CFrameWnd::FloatControlBar(CControlBar*, CPoint, DWORD) {
    PlatformReportUnsupported("CFrameWnd::FloatControlBar", "it does nothing");
}

CControlBar* CFrameWnd::GetControlBar(UINT) {
    PlatformReportUnsupported("CFrameWnd::GetControlBar", "it returns NULL");
    return nullptr;
}

void CFrameWnd::SetMessageText(LPCTSTR) {
    PlatformReportUnsupported("CFrameWnd::SetMessageText", "there is no status bar to show the text");
}

void CFrameWnd::SetMessageText(UINT) {
    PlatformReportUnsupported("CFrameWnd::SetMessageText", "there is no status bar to show the text");
}
