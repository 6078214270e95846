// The headless MDI host's classes and its session.
#include "MdiHost.h"

#include <CBasis1.h>

namespace {

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_REPORT = 129;

// The report: its text is its view's (an edit control), saved to the
// document's path when the user keeps the changes.
class CReportDoc : public CDocument {
    DECLARE_DYNCREATE(CReportDoc)
public:
    // The file is the text itself, with nothing of the archive's around it.
    void Serialize(CArchive& ar) override {
        if (!ar.IsStoring()) return;
        POSITION pos = GetFirstViewPosition();
        CView* pView = pos ? GetNextView(pos) : nullptr;
        CString text;
        if (pView) pView->GetWindowText(text);
        ar.Write(static_cast<LPCTSTR>(text), static_cast<UINT>(text.GetLength()));
    }
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override {
        CString folder(lpszPathName ? lpszPathName : "");
        ::CreateDirectoryA(folder.Left(folder.ReverseFind('\\')), nullptr);  // the profile's, not written yet
        return CDocument::OnSaveDocument(lpszPathName);
    }
};
IMPLEMENT_DYNCREATE(CReportDoc, CDocument)

class CChartDoc : public CDocument {
    DECLARE_DYNCREATE(CChartDoc)
};
IMPLEMENT_DYNCREATE(CChartDoc, CDocument)

// A view that paints its content with Draw when it gets WM_PAINT.
class CPaintedView : public CView {
    DECLARE_DYNAMIC(CPaintedView)
protected:
    virtual void Draw(CDC* pDC) = 0;
    void OnPaint() {
        CPaintDC dc(this);
        Draw(&dc);
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(CPaintedView, CView)

BEGIN_MESSAGE_MAP(CPaintedView, CView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// The report's text in an edit control: the view is one, so what the user
// types is its window text.
class CReportView : public CView {
    DECLARE_DYNCREATE(CReportView)
protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        cs.lpszClass = "EDIT";
        cs.style |= ES_MULTILINE;
        return CView::PreCreateWindow(cs);
    }
    void OnInitialUpdate() override {
        CString text;
        for (int line = 0; line < 6; ++line) {
            CString one;
            one.Format("%sReport line %d", line ? "\r\n" : "", line + 1);
            text += one;
        }
        SetWindowText(text);
        CView::OnInitialUpdate();
        // Kept beside the profile when the user saves the changes.
        CString profile = AfxGetApp()->m_pszProfileName;
        if (profile.Find('/') == 0) profile = PlatformFromPosixPath(profile.str());
        if (CDocument* pDoc = GetDocument()) {
            pDoc->SetPathName(profile.Left(profile.ReverseFind('\\') + 1) + "Report.txt");
            pDoc->SetModifiedFlag(FALSE);
        }
    }
    // What the user types, pastes or cuts marks the report modified.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        bool edits = message == WM_CHAR || message == WM_KEYDOWN || message == WM_PASTE || message == WM_CUT ||
                     message == WM_CLEAR;
        CString before;
        if (edits) GetWindowText(before);
        LRESULT result = CView::WindowProc(message, wParam, lParam);
        if (edits && ::IsWindow(m_hWnd)) {
            CString after;
            GetWindowText(after);
            if (after != before && GetDocument()) GetDocument()->SetModifiedFlag();
        }
        return result;
    }
};
IMPLEMENT_DYNCREATE(CReportView, CView)

class CChartView : public CPaintedView {
    DECLARE_DYNCREATE(CChartView)
protected:
    void Draw(CDC* pDC) override {
        const int heights[] = {120, 200, 80, 160};
        for (int i = 0; i < 4; ++i) pDC->FillSolidRect(30 + 60 * i, 260 - heights[i], 40, heights[i], RGB(40, 90, 200));
        pDC->FillSolidRect(20, 260, 250, 2, RGB(0, 0, 0));
    }
};
IMPLEMENT_DYNCREATE(CChartView, CPaintedView)

class CLegendView : public CPaintedView {
    DECLARE_DYNCREATE(CLegendView)
protected:
    void Draw(CDC* pDC) override {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(235, 235, 235));
        pDC->FillSolidRect(12, 30, 14, 14, RGB(40, 90, 200));
        pDC->SetBkMode(TRANSPARENT);
        pDC->TextOut(32, 29, CString("Sales"));
    }
};
IMPLEMENT_DYNCREATE(CLegendView, CPaintedView)

class CReportFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CReportFrame)
protected:
    CReportFrame() : CMDIChildFrame("Report") {}
};
IMPLEMENT_DYNCREATE(CReportFrame, CMDIChildFrame)

// The chart and its legend side by side.
class CChartFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CChartFrame)
protected:
    CChartFrame() : CMDIChildFrame("Chart") {}
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
        return m_wndSplitter.CreateStatic(this, 1, 2) &&
               m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CChartView), CSize(300, 200), pContext) &&
               m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CLegendView), CSize(120, 200), pContext);
    }
    CSplitterWnd m_wndSplitter;
};
IMPLEMENT_DYNCREATE(CChartFrame, CMDIChildFrame)

constexpr UINT IDC_PANEL = 0xE810;
constexpr UINT IDC_COLOUR = 100;
constexpr int kPanelWidth = 150;

// A glyph on the tool panel: an owner-drawn square with a letter.
class CGlyph : public CButton {
public:
    COLORREF m_crFace = 0;
    CString m_strLabel;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        pDC->FillSolidRect(&lpDIS->rcItem, m_crFace);
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->DrawText(m_strLabel, &lpDIS->rcItem, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

// The docked tool panel: an owner-drawn button whose background its
// CGenericWnd companion paints. The companion hands the glyphs' owner
// drawing on to them and colours the panel's plain button.
class CToolPanel : public CButton {
public:
    BOOL Make(CWnd* pParent) {
        if (!Create("Tools", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, kPanelWidth, 1), pParent, IDC_PANEL)) return FALSE;
        m_generic.Create(nullptr, 0, CRect(), pParent, IDC_PANEL, RGB(0, 128, 128));
        m_generic.m_pWnd = this;
        const COLORREF faces[] = {RGB(230, 120, 20), RGB(120, 60, 170)};
        const char* labels[] = {"A", "B"};
        for (UINT i = 0; i < 2; ++i) {
            m_glyphs[i].m_crFace = faces[i];
            m_glyphs[i].m_strLabel = labels[i];
            CRect place(20 + 60 * static_cast<int>(i), 40, 70 + 60 * static_cast<int>(i), 90);
            if (!m_glyphs[i].Create("", WS_VISIBLE | BS_OWNERDRAW, place, this, i + 1)) return FALSE;
            m_generic.AddToChildDraws(&m_glyphs[i]);  // number i + 1, its control ID
        }
        return m_colour.Create("Colour...", WS_VISIBLE, CRect(20, 110, 130, 134), this, IDC_COLOUR);
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { m_generic.DrawItem(lpDIS); }

protected:
    LRESULT OnDrawOwnWindow(WPARAM wParam, LPARAM) {
        auto* pDC = reinterpret_cast<CDC*>(wParam);
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->SetBkMode(TRANSPARENT);
        pDC->TextOut(20, 12, CString("Tools"));
        return 0;
    }
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS) { m_generic.OnDrawItem(nIDCtl, lpDIS); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        return m_generic.OnCtlColor(pDC, pWnd, nCtlColor, CWnd::OnCtlColor(pDC, pWnd, nCtlColor));
    }
    DECLARE_MESSAGE_MAP()

    CGenericWnd m_generic;
    CGlyph m_glyphs[2];
    CButton m_colour;
};

BEGIN_MESSAGE_MAP(CToolPanel, CButton)
    ON_MESSAGE(WM_DRAWOWNWINDOW, OnDrawOwnWindow)
    ON_WM_DRAWITEM()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// The main frame: the tool panel docked at the left, the MDI client in the
// rest of the client area.
class CDemoMainFrame : public CPersistentFrame {
public:
    CDemoMainFrame() = default;

    // Where the window tree goes when the user closes the frame; null: nowhere.
    FILE* m_pTreeOut = nullptr;

    void RecalcLayout(BOOL) override {
        CRect area;
        GetClientRect(&area);
        if (m_panel.m_hWnd) m_utils.SetChildWindowPlacement(area, &m_panel, kPanelWidth, 1);
        ::MoveWindow(m_hWndMDIClient, area.left, area.top, area.Width(), area.Height(), TRUE);
    }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override {
        return CPersistentFrame::OnCreateClient(lpcs, pContext) && m_panel.Make(this);
    }

    void OnClose();
    DECLARE_MESSAGE_MAP()

    CToolPanel m_panel;
    CUtils m_utils;
};

// The application object: it notes the first profile write that failed,
// so that a session that could not save its placement says so.
class CDemoApp : public CWinApp {
public:
    CDemoApp() : CWinApp("FrameDemo") {}
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) override {
        BOOL bWritten = CWinApp::WriteProfileInt(lpszSection, lpszEntry, nValue);
        if (!bWritten && m_strSaveError.IsEmpty()) m_strSaveError = PlatformLastErrorText();
        return bWritten;
    }
    CString m_strSaveError;  // empty while every write went through
};

void PrintTree(FILE* out, HWND hWnd, HWND hActive, int depth);

BEGIN_MESSAGE_MAP(CDemoMainFrame, CPersistentFrame)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

// The tree as the user left it, before the frames close.
void CDemoMainFrame::OnClose() {
    if (m_pTreeOut) {
        std::fprintf(m_pTreeOut, "window tree:\n");
        CMDIChildWnd* pActive = MDIGetActive();
        PrintTree(m_pTreeOut, m_hWnd, pActive ? pActive->m_hWnd : nullptr, 1);
        m_pTreeOut = nullptr;
    }
    CPersistentFrame::OnClose();
}

const char* ShowName(UINT showCmd) {
    switch (showCmd) {
    case SW_SHOWNORMAL: return "normal";
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: return "minimized";
    case SW_SHOWMAXIMIZED: return "maximized";
    default: return "other";
    }
}

// A window's text on one line: line ends shown as \r and \n.
std::string OneLine(const char* text) {
    std::string line;
    for (; *text; ++text) line += *text == '\r' ? "\\r" : *text == '\n' ? "\\n" : std::string(1, *text);
    return line;
}

void PrintTree(FILE* out, HWND hWnd, HWND hActive, int depth) {
    char name[64];
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd)
        std::snprintf(name, sizeof name, "%s", pWnd->GetRuntimeClass()->m_lpszClassName);
    else
        GetClassNameA(hWnd, name, sizeof name);
    char text[256];
    GetWindowTextA(hWnd, text, sizeof text);
    RECT r;
    GetWindowRect(hWnd, &r);
    std::fprintf(out, "%*s%s \"%s\" (%d,%d)-(%d,%d)%s%s%s%s\n", depth * 2, "", name, OneLine(text).c_str(), r.left,
                 r.top, r.right,
                 r.bottom, IsZoomed(hWnd) ? " maximized" : "", IsIconic(hWnd) ? " minimized" : "",
                 IsWindowVisible(hWnd) ? "" : " hidden", hWnd == hActive ? " active" : "");
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        PrintTree(out, hChild, hActive, depth + 1);
}

void PrintPlacement(FILE* out, const char* when, CWnd* pWnd) {
    WINDOWPLACEMENT wp;
    pWnd->GetWindowPlacement(&wp);
    const RECT& r = wp.rcNormalPosition;
    std::fprintf(out, "%s: %s, normal position (%d,%d)-(%d,%d)\n", when, ShowName(wp.showCmd), r.left, r.top, r.right,
                 r.bottom);
}

// The end of a session: the entries saved, and the session's result with a
// placement that could not be saved counted in.
MdiHostResult Finish(FILE* out, CDemoApp& app, const char* section, MdiHostResult result, DWORD dwError,
                     std::string* pSaveError) {
    std::fprintf(out, "saved in [%s]:\n", section);
    for (const char* entry : {"Right", "Left", "Top", "Bottom", "Iconic", "Maximized"})
        std::fprintf(out, "  %s=%d\n", entry, static_cast<int>(app.GetProfileInt(section, entry, 0)));
    if (result != kMdiHostOk) SetLastError(dwError);
    if (app.m_strSaveError.IsEmpty()) return result;
    if (pSaveError) *pSaveError = std::string(app.m_pszProfileName) + ": " + app.m_strSaveError.str();
    return result == kMdiHostOk ? kPlacementNotSaved : result;
}

}  // namespace

MdiHostResult RunMdiHost(const std::string& profileDir, FILE* out, const std::string& plugin,
                         const std::string& snapshotPath, std::string* pSaveError) {
    CDemoApp app;
    if (!profileDir.empty()) app.SetProfileFile((profileDir + "/FrameDemo.ini").c_str());
    const char* section = "Mainframe Settings";
    bool bSaved = app.GetProfileString(section, "Maximized", nullptr) != "";
    std::fprintf(out, "profile: %s%s\n", app.m_pszProfileName, bSaved ? "" : " (no saved placement yet)");

    auto* pMain = new CDemoMainFrame;
    pMain->SetTitle("Frame Demo");
    if (!pMain->LoadFrame(IDR_MAINFRAME)) {
        std::fprintf(stderr, "the main frame could not be made\n");
        return kNoMainFrame;
    }
    app.m_pMainWnd = pMain;
    int nCmdShow = SW_SHOWDEFAULT;
    pMain->InitializeCoordinates(nCmdShow, IDR_REPORT, RUNTIME_CLASS(CReportDoc));
    pMain->ShowWindow(nCmdShow);
    PrintPlacement(out, bSaved ? "restored placement" : "default placement", pMain);

    int nReport = 0, nChart = 0;
    pMain->AddFrame(&nReport, 0, nullptr, RUNTIME_CLASS(CReportFrame), RUNTIME_CLASS(CReportView));
    pMain->AddFrame(&nChart, 0, RUNTIME_CLASS(CChartDoc), RUNTIME_CLASS(CChartFrame), RUNTIME_CLASS(CChartView));
    pMain->PostMessage(WM_NEWFOCUS, nReport);
    pMain->PostMessage(WM_NEWFOCUS, nChart);
    PlatformPumpMessages();  // also paints what the frames opened
    MdiHostResult result = kMdiHostOk;
    // On a display, without a picture to take, the user drives the session.
    bool interactive = snapshotPath.empty() && PlatformUserDriver().pCreateWindow;
    DWORD dwError = 0;
    pMain->PostMessage(WM_NEWFOCUS, nReport);  // open already: activated, not made again
    PlatformPumpMessages();
    int nPlugin = 0;
    if (!plugin.empty()) {
        if (pMain->LoadDLLFrame(nullptr, CString(plugin.c_str()), &nPlugin, 0, nullptr)) {
            CFrame* pFrame = pMain->GetFrame(nPlugin);
            std::fprintf(out, "plugin frame %d: %s with %s\n", nPlugin, pFrame->pFrameClass->m_lpszClassName,
                         pFrame->pViewClass->m_lpszClassName);
            PlatformPumpMessages();
        } else {
            result = kPluginNotLoaded;
            dwError = GetLastError();
        }
    }
    // Once every frame is open, the plugin's too.
    if (!snapshotPath.empty() && !PlatformSnapshotWindow(pMain->m_hWnd, snapshotPath.c_str()) && result == kMdiHostOk) {
        result = kPictureNotWritten;
        dwError = GetLastError();
    }

    if (interactive) {
        // Until the user closes it: the frame's first pixels on the screen
        // first, then the tree as the screen shows it.
        MSG msg;
        while (!PlatformIsOnScreen(pMain->m_hWnd) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        std::fprintf(out, "shown\n");
        CMDIChildWnd* pActive = pMain->MDIGetActive();
        PrintTree(out, pMain->m_hWnd, pActive ? pActive->m_hWnd : nullptr, 1);
        std::fflush(out);
        pMain->m_pTreeOut = out;
        app.Run();
        return Finish(out, app, section, result, dwError, pSaveError);
    }
    pMain->MoveWindow(60, 40, 800, 600);
    pMain->ShowWindow(SW_MAXIMIZE);
    PrintPlacement(out, "before closing", pMain);
    std::fprintf(out, "window tree:\n");
    CMDIChildWnd* pActive = pMain->MDIGetActive();
    PrintTree(out, pMain->m_hWnd, pActive ? pActive->m_hWnd : nullptr, 1);

    pMain->PostMessage(WM_CLOSE);
    app.Run();  // until the main window is gone
    return Finish(out, app, section, result, dwError, pSaveError);
}
