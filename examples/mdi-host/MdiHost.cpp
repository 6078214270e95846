// The headless MDI host's classes and its session.
#include "MdiHost.h"

#include <CBasis1.h>

namespace {

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_REPORT = 129;

class CReportDoc : public CDocument {
    DECLARE_DYNCREATE(CReportDoc)
};
IMPLEMENT_DYNCREATE(CReportDoc, CDocument)

class CChartDoc : public CDocument {
    DECLARE_DYNCREATE(CChartDoc)
};
IMPLEMENT_DYNCREATE(CChartDoc, CDocument)

class CReportView : public CView {
    DECLARE_DYNCREATE(CReportView)
};
IMPLEMENT_DYNCREATE(CReportView, CView)

class CChartView : public CView {
    DECLARE_DYNCREATE(CChartView)
};
IMPLEMENT_DYNCREATE(CChartView, CView)

class CLegendView : public CView {
    DECLARE_DYNCREATE(CLegendView)
};
IMPLEMENT_DYNCREATE(CLegendView, CView)

// The chart and its legend side by side.
class CChartFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CChartFrame)
protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
        return m_wndSplitter.CreateStatic(this, 1, 2) &&
               m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CChartView), CSize(300, 200), pContext) &&
               m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CLegendView), CSize(120, 200), pContext);
    }
    CSplitterWnd m_wndSplitter;
};
IMPLEMENT_DYNCREATE(CChartFrame, CMDIChildFrame)

class CDemoMainFrame : public CPersistentFrame {
public:
    CDemoMainFrame() = default;
};

const char* ShowName(UINT showCmd) {
    switch (showCmd) {
    case SW_SHOWNORMAL: return "normal";
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: return "minimized";
    case SW_SHOWMAXIMIZED: return "maximized";
    default: return "other";
    }
}

void PrintTree(FILE* out, HWND hWnd, HWND hActive, int depth) {
    char name[64];
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd)
        std::snprintf(name, sizeof name, "%s", pWnd->GetRuntimeClass()->m_lpszClassName);
    else
        GetClassNameA(hWnd, name, sizeof name);
    char text[128];
    GetWindowTextA(hWnd, text, sizeof text);
    RECT r;
    GetWindowRect(hWnd, &r);
    std::fprintf(out, "%*s%s \"%s\" (%d,%d)-(%d,%d)%s%s%s%s\n", depth * 2, "", name, text, r.left, r.top, r.right,
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

}  // namespace

MdiHostResult RunMdiHost(const std::string& profileDir, FILE* out, const std::string& plugin) {
    CWinApp app("FrameDemo");
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
    pMain->AddFrame(&nReport, 0, nullptr, nullptr, RUNTIME_CLASS(CReportView));
    pMain->AddFrame(&nChart, 0, RUNTIME_CLASS(CChartDoc), RUNTIME_CLASS(CChartFrame), RUNTIME_CLASS(CChartView));
    pMain->PostMessage(WM_NEWFOCUS, nReport);
    pMain->PostMessage(WM_NEWFOCUS, nChart);
    pMain->PostMessage(WM_NEWFOCUS, nReport);  // open already: activated, not made again
    PlatformPumpMessages();
    MdiHostResult result = kMdiHostOk;
    int nPlugin = 0;
    if (!plugin.empty()) {
        if (pMain->LoadDLLFrame(nullptr, CString(plugin.c_str()), &nPlugin, 0, nullptr)) {
            CFrame* pFrame = pMain->GetFrame(nPlugin);
            std::fprintf(out, "plugin frame %d: %s with %s\n", nPlugin, pFrame->pFrameClass->m_lpszClassName,
                         pFrame->pViewClass->m_lpszClassName);
        } else {
            result = kPluginNotLoaded;
        }
    }

    pMain->MoveWindow(60, 40, 800, 600);
    pMain->ShowWindow(SW_MAXIMIZE);
    PrintPlacement(out, "before closing", pMain);
    std::fprintf(out, "window tree:\n");
    CMDIChildWnd* pActive = pMain->MDIGetActive();
    PrintTree(out, pMain->m_hWnd, pActive ? pActive->m_hWnd : nullptr, 1);

    pMain->PostMessage(WM_CLOSE);
    app.Run();  // until the main window is gone
    std::fprintf(out, "saved in [%s]:\n", section);
    for (const char* entry : {"Right", "Left", "Top", "Bottom", "Iconic", "Maximized"})
        std::fprintf(out, "  %s=%d\n", entry, static_cast<int>(app.GetProfileInt(section, entry, 0)));
    return result;
}
