// CMDIChildFrame: an MDI child frame with a fixed caption. The document's
// title never goes into it; after every title update the caption is set
// back to m_strTitle (the MDI frame's caption is updated as usual).
#pragma once

#include "platform/mfc/Frames.h"

class CBASIS1_API CMDIChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CMDIChildFrame)
protected:
    CMDIChildFrame();
    explicit CMDIChildFrame(CString strTitle);
    ~CMDIChildFrame() override;

public:
    // Clears FWS_ADDTOTITLE.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    CString m_strTitle;  // the caption

protected:
    DECLARE_MESSAGE_MAP()
};
