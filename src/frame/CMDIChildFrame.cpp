// CMDIChildFrame: the fixed caption.
#include "frame/CMDIChildFrame.h"

IMPLEMENT_DYNCREATE(CMDIChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CMDIChildFrame, CMDIChildWnd)
END_MESSAGE_MAP()

CMDIChildFrame::CMDIChildFrame() = default;

CMDIChildFrame::CMDIChildFrame(CString strTitle) : m_strTitle(strTitle) {}

CMDIChildFrame::~CMDIChildFrame() = default;

BOOL CMDIChildFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CMDIChildWnd::PreCreateWindow(cs);
}

void CMDIChildFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    SetWindowText(m_strTitle);
}
