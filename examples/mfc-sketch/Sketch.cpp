// Sketch.cpp : Defines the class behaviors for the application.
//

#include "stdafx.h"
#include "Sketch.h"

#include "MainFrm.h"
#include "SketchDoc.h"
#include "SketchView.h"
#include "StrokeListView.h"
#include "PenDlg.h"

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

CSketchApp::CSketchApp() : m_bReport(FALSE), m_bReported(FALSE)
{
}

/////////////////////////////////////////////////////////////////////////////
// The one and only CSketchApp object

CSketchApp theApp;

// Takes -selftest <file> and -report off the command line; the rest is
// standard.
class CSketchCommandLineInfo : public CCommandLineInfo
{
public:
	BOOL m_bSelfTestNext;
	BOOL m_bReport;
	CString m_strSelfTest;
	CSketchCommandLineInfo() : m_bSelfTestNext(FALSE), m_bReport(FALSE) {}
	virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast)
	{
		if (bFlag && _stricmp(pszParam, _T("selftest")) == 0)
			m_bSelfTestNext = TRUE;
		else if (bFlag && _stricmp(pszParam, _T("report")) == 0)
			m_bReport = TRUE;
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
	m_bReport = cmdInfo.m_bReport;

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

/////////////////////////////////////////////////////////////////////////////
// CAboutDlg dialog used for App About

class CAboutDlg : public CDialog
{
public:
	CAboutDlg();

// Dialog Data
	//{{AFX_DATA(CAboutDlg)
	enum { IDD = IDD_ABOUTBOX };
	//}}AFX_DATA

	// ClassWizard generated virtual function overrides
	//{{AFX_VIRTUAL(CAboutDlg)
	protected:
	virtual void DoDataExchange(CDataExchange* pDX);    // DDX/DDV support
	//}}AFX_VIRTUAL

// Implementation
protected:
	//{{AFX_MSG(CAboutDlg)
		// No message handlers
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};

CAboutDlg::CAboutDlg() : CDialog(CAboutDlg::IDD)
{
	//{{AFX_DATA_INIT(CAboutDlg)
	//}}AFX_DATA_INIT
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
	CDialog::DoDataExchange(pDX);
	//{{AFX_DATA_MAP(CAboutDlg)
	//}}AFX_DATA_MAP
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
	//{{AFX_MSG_MAP(CAboutDlg)
		// No message handlers
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()

// App command to run the dialog
void CSketchApp::OnAppAbout()
{
	CAboutDlg aboutDlg;
	aboutDlg.DoModal();
}

// Prints a window and its children, one line each: the class (the
// framework's for its own windows), the text, the place on the screen and
// the size.
static void PrintWindowTree(HWND hWnd, int nDepth)
{
	CString strClass;
	CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
	if (pWnd != NULL)
		strClass = pWnd->GetRuntimeClass()->m_lpszClassName;
	else
	{
		::GetClassNameA(hWnd, strClass.GetBuffer(256), 256);
		strClass.ReleaseBuffer();
	}
	CString strText;
	int nLength = ::GetWindowTextLengthA(hWnd);
	::GetWindowTextA(hWnd, strText.GetBuffer(nLength + 1), nLength + 1);
	strText.ReleaseBuffer();
	CRect rect;
	::GetWindowRect(hWnd, &rect);
	printf("%*s%s \"%s\" (%d,%d) %dx%d%s\n", 2 * nDepth, "", (LPCTSTR)strClass, (LPCTSTR)strText, rect.left,
		rect.top, rect.Width(), rect.Height(), ::IsWindowVisible(hWnd) ? "" : " hidden");
	for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
		PrintWindowTree(hChild, nDepth + 1);
}

// With -report, the window tree once the main window shows.
BOOL CSketchApp::OnIdle(LONG lCount)
{
	if (m_bReport && !m_bReported && m_pMainWnd != NULL && m_pMainWnd->IsWindowVisible())
	{
		m_bReported = TRUE;
		printf("tree:\n");
		PrintWindowTree(m_pMainWnd->m_hWnd, 1);
		fflush(stdout);
	}
	return CWinApp::OnIdle(lCount);
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


	// What the resources gave the frame: its title, the document type's
	// menu, the bars, the template's strings and the two dialogs.
	CString strTitle, strMenu, strFilter;
	pFrame->GetWindowText(strTitle);
	CMenu* pMenu = pFrame->GetMenu();
	for (UINT i = 0; pMenu != NULL && i < pMenu->GetMenuItemCount(); i++)
	{
		CString strItem;
		pMenu->GetMenuString(i, strItem, MF_BYPOSITION);
		strMenu += (i > 0 ? _T(" ") : _T("")) + strItem;
	}
	CControlBar* pToolBar = pFrame->GetControlBar(AFX_IDW_TOOLBAR);
	CControlBar* pStatusBar = pFrame->GetControlBar(AFX_IDW_STATUS_BAR);
	pDoc->GetDocTemplate()->GetDocString(strFilter, CDocTemplate::filterName);
	printf("selftest: title \"%s\", menu \"%s\", %d tool bar items, %d status bar panes, files \"%s\"\n",
		(LPCTSTR)strTitle, (LPCTSTR)strMenu, pToolBar != NULL ? pToolBar->GetCount() : -1,
		pStatusBar != NULL ? pStatusBar->GetCount() : -1, (LPCTSTR)strFilter);

	CAboutDlg aboutDlg;
	INT_PTR nAbout = aboutDlg.DoModal();	// nobody to answer without a screen: cancelled
	CPenDlg penDlg;
	penDlg.m_nWidth = 3;
	penDlg.m_bDashed = TRUE;
	CString strShown, strTaken;
	if (penDlg.Create(IDD_PEN, pFrame))
	{
		strShown.Format(_T("%d %s"), (int)penDlg.GetDlgItemInt(IDC_PEN_WIDTH),
			::IsDlgButtonChecked(penDlg.m_hWnd, IDC_PEN_DASHED) ? _T("dashed") : _T("solid"));
		penDlg.SetDlgItemText(IDC_PEN_WIDTH, _T("7"));
		::CheckDlgButton(penDlg.m_hWnd, IDC_PEN_DASHED, BST_UNCHECKED);
		if (penDlg.UpdateData(TRUE))
			strTaken.Format(_T("%d %s"), penDlg.m_nWidth, penDlg.m_bDashed ? _T("dashed") : _T("solid"));
		penDlg.SetDlgItemText(IDC_PEN_WIDTH, _T("12"));
		strTaken += penDlg.UpdateData(TRUE) ? _T(", took 12") : _T(", refused 12");
		penDlg.DestroyWindow();
	}
	printf("selftest: about box %d, pen dialog showed %s, took %s\n", (int)nAbout, (LPCTSTR)strShown,
		(LPCTSTR)strTaken);

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
