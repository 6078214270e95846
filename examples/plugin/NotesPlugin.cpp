// An extension module that supplies a frame kind to a host's main frame: a
// notes form (a form view holding a multi-line edit control) in a child
// frame of its own. The host loads it with CPersistentFrame::LoadDLLFrame
// (or AddDLLFrame/AddDLLView), which asks the two exports below for the
// classes; the host's Edit commands and clipboard text reach the notes.
#include <CBasis1.h>

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int IDC_NOTES = 1001;

}  // namespace

// The form: the notes text, exchanged with its edit control.
class CNotesView : public CFormView {
    DECLARE_DYNCREATE(CNotesView)
public:
    CNotesView() : CFormView(UINT(0)), m_strNotes("Notes kept by the example plugin") {}

    void OnInitialUpdate() override {
        CFormView::OnInitialUpdate();
        m_wndNotes.SetFocus();
    }

    CString m_strNotes;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NOTES, m_strNotes); }

    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFormView::OnCreate(lpcs) == -1) return -1;
        CRect client(0, 0, lpcs->cx, lpcs->cy);
        return m_wndNotes.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, client, this, IDC_NOTES) ? 0 : -1;
    }

    void OnSize(UINT nType, int cx, int cy) {
        CFormView::OnSize(nType, cx, cy);
        if (m_wndNotes.m_hWnd) m_wndNotes.MoveWindow(0, 0, cx, cy);
    }

    CEdit m_wndNotes;

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CNotesView, CFormView)

BEGIN_MESSAGE_MAP(CNotesView, CFormView)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

// The child frame: a fixed caption.
class CNotesFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CNotesFrame)
public:
    CNotesFrame() : CMDIChildFrame("Plugin Notes") {}
};

IMPLEMENT_DYNCREATE(CNotesFrame, CMDIChildFrame)

PLUGIN_EXPORT CRuntimeClass* GetDllView() { return RUNTIME_CLASS(CNotesView); }

PLUGIN_EXPORT CRuntimeClass* GetDllFrame() { return RUNTIME_CLASS(CNotesFrame); }
