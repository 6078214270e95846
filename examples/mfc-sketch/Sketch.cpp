// Sketch.cpp : Defines the class behaviors for the application.
//

#include "stdafx.h"
#include "Sketch.h"

#include "MainFrm.h"
#include "SketchDoc.h"
#include "SketchView.h"
#include "StrokeListView.h"

#ifdef _DEBUG
#define new DEBUG_NEW
#undef THIS_FILE
static char THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CSketchApp

BEGIN_MESSAGE_MAP(CSketchApp, CWinApp)
	//{{AFX_MSG_MAP(CSketchApp)
	ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
	ON_COMMAND(ID_SKETCH_SELFTEST, OnSelfTest)
	//}}AFX_MSG_MAP
	// Standard file based document commands
	ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
	ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

/////////////////////////////////////////////////////////////////////////////
// CSketchApp construction

CSketchApp::CSketchApp()
{
}

/////////////////////////////////////////////////////////////////////////////
// The one and only CSketchApp object

CSketchApp theApp;

// Takes -selftest <file> off the command line; the rest is standard.
class CSketchCommandLineInfo : public CCommandLineInfo
{
public:
	BOOL m_bSelfTestNext;
	CString m_strSelfTest;
	CSketchCommandLineInfo() : m_bSelfTestNext(FALSE) {}
	virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast)
	{
		if (bFlag && _stricmp(pszParam, _T("selftest")) == 0)
			m_bSelfTestNext = TRUE;
		else if (m_bSelfTestNext)
		{
			m_strSelfTest = pszParam;
			m_bSelfTestNext = FALSE;
		}
		else
			CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
	}
};

/////////////////////////////////////////////////////////////////////////////
// CSketchApp initialization

BOOL CSketchApp::InitInstance()
{
	AfxEnableControlContainer();

	// Change the registry key under which our settings are stored.
	SetRegistryKey(_T("CBasis1 Examples"));

	LoadStdProfileSettings();  // Load standard INI file options (including MRU)

	// Register the application's document templates.
	CMultiDocTemplate* pDocTemplate;
	pDocTemplate = new CMultiDocTemplate(
		IDR_SKETCHTYPE,
		RUNTIME_CLASS(CSketchDoc),
		RUNTIME_CLASS(CMDIChildWnd), // standard MDI child frame
		RUNTIME_CLASS(CSketchView));
	pDocTemplate->m_strDocStrings = _T("\nSketch\nSketch\nSketch Files (*.skt)\n.skt\nSketch.Document\nSketch Document");
	AddDocTemplate(pDocTemplate);

	// create main MDI Frame window
	CMainFrame* pMainFrame = new CMainFrame;
	if (!pMainFrame->LoadFrame(IDR_MAINFRAME))
		return FALSE;
	m_pMainWnd = pMainFrame;

	// Place the frame where the user left it, then register its frame kinds.
	pMainFrame->InitializeCoordinates(m_nCmdShow, IDR_SKETCHTYPE, RUNTIME_CLASS(CSketchDoc));
	pMainFrame->RegisterFrames();

	// Parse command line for standard shell commands, DDE, file open
	CSketchCommandLineInfo cmdInfo;
	ParseCommandLine(cmdInfo);
	m_strSelfTestFile = cmdInfo.m_strSelfTest;

	// The day's log goes beside the self-test file, else into the current
	// directory.
	char szDrive[_MAX_DRIVE], szDir[_MAX_DIR];
	CString strLogDir;
	if (!m_strSelfTestFile.IsEmpty())
	{
		_splitpath(m_strSelfTestFile, szDrive, szDir, NULL, NULL);
		strLogDir = CString(szDrive) + szDir;
	}
	else
	{
		::GetCurrentDirectoryA(_MAX_PATH, strLogDir.GetBuffer(_MAX_PATH));
		strLogDir.ReleaseBuffer();
	}
	if (!pMainFrame->OpenLog(strLogDir))
		TRACE1("Sketch: no log: %s\n", (LPCTSTR)pMainFrame->m_log.m_strError);

	// Dispatch commands specified on the command line
	if (!ProcessShellCommand(cmdInfo))
		return FALSE;

	// The main window has been initialized, so show and update it.
	pMainFrame->ShowWindow(m_nCmdShow);
	pMainFrame->UpdateWindow();

	if (!m_strSelfTestFile.IsEmpty())
	{
		// Drive the application through its commands, as a user would.
		pMainFrame->PostMessage(WM_COMMAND, ID_SKETCH_ADDLINE);
		pMainFrame->PostMessage(WM_COMMAND, ID_SKETCH_ADDLINE);
		pMainFrame->PostMessage(WM_COMMAND, ID_WINDOW_NEW);
		pMainFrame->PostMessage(WM_COMMAND, ID_VIEW_STROKELIST);
		pMainFrame->PostMessage(WM_COMMAND, ID_VIEW_STROKELIST);	// brought to the front, not opened again
		pMainFrame->PostMessage(WM_COMMAND, ID_SKETCH_LOG);
		pMainFrame->PostMessage(WM_COMMAND, ID_SKETCH_PANELCOLOR);
		pMainFrame->PostMessage(WM_COMMAND, ID_SKETCH_SELFTEST);
	}
	return TRUE;
}

int CSketchApp::ExitInstance()
{
	TRACE0("Sketch: exiting\n");
	return CWinApp::ExitInstance();
}

// App command to run the dialog
void CSketchApp::OnAppAbout()
{
	AfxMessageBox(_T("Sketch, an application of the usual shape."));
}

// Counts the sketch's views and frames, saves it, opens it again and
// reports what came back.
void CSketchApp::OnSelfTest()
{
	CMainFrame* pFrame = (CMainFrame*)AfxGetMainWnd();
	ASSERT_KINDOF(CMainFrame, pFrame);
	CView* pActive = pFrame->GetActiveView();
	CSketchDoc* pDoc = pActive ? (CSketchDoc*)pActive->GetDocument() : NULL;
	if (pDoc == NULL)
	{
		printf("selftest: no active document\n");
		m_nExitCode = 1;
		pFrame->PostMessage(WM_COMMAND, ID_APP_EXIT);
		return;
	}

	int nViews = 0;
	int nListLines = -1;
	for (POSITION pos = pDoc->GetFirstViewPosition(); pos != NULL; nViews++)
	{
		CView* pView = pDoc->GetNextView(pos);
		pView->UpdateWindow();
		if (pView->IsKindOf(RUNTIME_CLASS(CStrokeListView)))
			nListLines = ((CStrokeListView*)pView)->m_nLinesShown;
	}
	int nChildren = 0;
	for (HWND hChild = ::GetWindow(pFrame->m_hWndMDIClient, GW_CHILD); hChild != NULL;
		hChild = ::GetWindow(hChild, GW_HWNDNEXT))
		nChildren++;
	pFrame->m_wndPanel.UpdateWindow();
	printf("selftest: %d views in %d frames, the list shows %d strokes, frame 2 is %s\n", nViews, nChildren,
		nListLines, pActive->IsKindOf(RUNTIME_CLASS(CStrokeListView)) ? "active" : "not active");
	printf("selftest: panel colour %06lx, caption \"%s\", %s\n", (unsigned long)pFrame->m_wndPanel.m_generic.m_crBackground,
		(LPCTSTR)pFrame->m_wndPanel.m_strCaption, pFrame->m_wndPanel.m_nDraws > 0 ? "drawn" : "not drawn");

	if (!pDoc->DoSave(m_strSelfTestFile))
	{
		printf("selftest: save failed\n");
		m_nExitCode = 1;
	}
	else
	{
		printf("selftest: saved %d strokes\n", (int)pDoc->m_strokes.GetCount());
		pDoc->OnCloseDocument();
		CSketchDoc* pAgain = (CSketchDoc*)OpenDocumentFile(m_strSelfTestFile);
		if (pAgain == NULL)
			m_nExitCode = 1;
		else
			printf("selftest: reopened %d strokes, %d notes\n", (int)pAgain->m_strokes.GetCount(),
				(int)pAgain->m_notes.GetSize());
	}
	fflush(stdout);
	pFrame->PostMessage(WM_COMMAND, ID_APP_EXIT);
}
