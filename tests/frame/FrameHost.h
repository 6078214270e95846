// A small MDI host for the frame tests: documents, views, a splitter child
// frame, the main frame and a fixture that owns the application object
// with its profile in the test's directory.
#pragma once

#include <memory>

#include "frame/CMDIChildFrame.h"
#include "frame/CPersistentFrame.h"
#include "platform/mfc/App.h"
#include "support/TempDir.h"

constexpr UINT IDR_MAIN = 100;
constexpr UINT IDR_NOTE = 101;

class CNoteDoc : public CDocument {
    DECLARE_DYNCREATE(CNoteDoc)
public:
    CNoteDoc() { ++s_nLive; }
    ~CNoteDoc() override { --s_nLive; }
    BOOL SaveModified() override { return !m_bRefuseClose; }
    BOOL m_bRefuseClose = FALSE;
    static int s_nLive;
};

class CSpecialNoteDoc : public CNoteDoc {
    DECLARE_DYNCREATE(CSpecialNoteDoc)
};

// A document without contents: opening one reads no file.
class CSketchDoc : public CDocument {
    DECLARE_DYNCREATE(CSketchDoc)
public:
    BOOL OnOpenDocument(LPCTSTR) override { return TRUE; }
};

class CNoteView : public CView {
    DECLARE_DYNCREATE(CNoteView)
public:
    void OnInitialUpdate() override {
        ++m_nInitialUpdates;
        CView::OnInitialUpdate();
    }
    int m_nInitialUpdates = 0;
};

class CListView : public CNoteView {
    DECLARE_DYNCREATE(CListView)
};

// Two panes side by side, each a CNoteView.
class CSplitChildFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CSplitChildFrame)
public:
    CSplitterWnd m_wndSplitter;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
};

class CMainFrame : public CPersistentFrame {
public:
    CMainFrame() = default;
};

class FrameTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new application object on the test's profile file (a restart).
    void RestartApp();
    // Makes, registers and shows the main frame; the show command that
    // InitializeCoordinates chose goes to *pCmdShow.
    CMainFrame* OpenMainFrame(int* pCmdShow = nullptr);
    // Sends WM_CLOSE to the main window; true when it is gone.
    bool CloseMainFrame();
    // Registers two note frames (a note and a sketch document) and opens
    // both; the second is active. Their numbers go to *pn1 and *pn2.
    void OpenTwoNoteFrames(int* pn1, int* pn2);
    int ChildCount() const;  // windows in the MDI client
    std::string ProfilePath() const { return Posix("config/FrameTest.ini"); }

    std::unique_ptr<CWinApp> m_app;
    CMainFrame* m_pMain = nullptr;
};
