// MainFrm.cpp : implementation of the CMainFrame class
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
// CMainFrame

IMPLEMENT_DYNAMIC(CMainFrame, CPersistentFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CPersistentFrame)
	//{{AFX_MSG_MAP(CMainFrame)
	ON_WM_CREATE()
	ON_COMMAND(ID_SKETCH_LOG, OnSketchLog)
	ON_UPDATE_COMMAND_UI(ID_SKETCH_LOG, OnUpdateSketchLog)
	ON_COMMAND(ID_SKETCH_PANELCOLOR, OnSketchPanelColor)
	ON_COMMAND(ID_VIEW_STROKELIST, OnViewStrokeList)
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()

static UINT indicators[] =
{
	ID_SEPARATOR,           // status line indicator
	ID_INDICATOR_CAPS,
	ID_INDICATOR_NUM,
	ID_INDICATOR_SCRL,
};

/////////////////////////////////////////////////////////////////////////////
// CMainFrame construction/destruction

CMainFrame::CMainFrame() : m_nSketchFrame(0), m_nListFrame(0)
{
}

CMainFrame::~CMainFrame()
{
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
	if (CPersistentFrame::OnCreate(lpCreateStruct) == -1)
		return -1;

	if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP
		| CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC) ||
		!m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
	{
		TRACE0("Failed to create toolbar\n");
		return -1;      // fail to create
	}

	if (!m_wndStatusBar.Create(this) ||
		!m_wndStatusBar.SetIndicators(indicators,
		  sizeof(indicators)/sizeof(UINT)))
	{
		TRACE0("Failed to create status bar\n");
		return -1;      // fail to create
	}

	m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
	EnableDocking(CBRS_ALIGN_ANY);
	DockControlBar(&m_wndToolBar);

	TRACE1("Sketch: main frame %p created\n", this);
	return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
	if (!CPersistentFrame::OnCreateClient(lpcs, pContext))
		return FALSE;
	return m_wndPanel.CreatePanel(this);
}

// The bars along the edges, then the panel on the left of what they leave
// and the MDI client in the rest.
void CMainFrame::RecalcLayout(BOOL bNotify)
{
	CPersistentFrame::RecalcLayout(bNotify);
	if (m_hWndMDIClient == NULL)
		return;
	CRect area;
	::GetWindowRect(m_hWndMDIClient, &area);
	ScreenToClient(&area);
	if (m_wndPanel.m_hWnd != NULL)
		m_utils.SetChildWindowPlacement(area, &m_wndPanel, TOOLPANEL_WIDTH, 1);
	::MoveWindow(m_hWndMDIClient, area.left, area.top, area.Width(), area.Height(), TRUE);
}

// Frame 1 shows a sketch, frame 2 the list of its strokes; both take the
// document and template defaults given to InitializeCoordinates.
void CMainFrame::RegisterFrames()
{
	AddFrame(&m_nSketchFrame, 0, NULL, NULL, RUNTIME_CLASS(CSketchView));
	AddFrame(&m_nListFrame, 0, NULL, NULL, RUNTIME_CLASS(CStrokeListView));
}

// With -report, every command that reaches the frame (from the menus, the
// accelerators and the tool bar) is printed as it arrives.
BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
	if (theApp.m_bReport && HIWORD(wParam) <= 1)
	{
		printf("command %u\n", (UINT)LOWORD(wParam));
		fflush(stdout);
	}
	return CPersistentFrame::OnCommand(wParam, lParam);
}

BOOL CMainFrame::OpenLog(LPCTSTR lpszDir)
{
	return m_log.Init(lpszDir, _T("sketch"), m_hWnd);
}

/////////////////////////////////////////////////////////////////////////////
// CMainFrame diagnostics

#ifdef _DEBUG
void CMainFrame::AssertValid() const
{
	CPersistentFrame::AssertValid();
}

void CMainFrame::Dump(CDumpContext& dc) const
{
	CPersistentFrame::Dump(dc);
}

#endif //_DEBUG

/////////////////////////////////////////////////////////////////////////////
// CMainFrame message handlers

// Writes the active sketch's strokes to the day's log.
void CMainFrame::OnSketchLog()
{
	CView* pView = GetActiveView();
	CSketchDoc* pDoc = (CSketchDoc*)pView->GetDocument();
	ASSERT_KINDOF(CSketchDoc, pDoc);

	CString strStamp = CUtils::Timestamp();
	CUtils::RemoveChar('\n', strStamp);
	m_log.message("%s: %d strokes in %s", (LPCTSTR)strStamp, (int)pDoc->m_strokes.GetCount(),
		(LPCTSTR)pDoc->GetTitle());
	POSITION pos = pDoc->m_strokes.GetHeadPosition();
	while (pos != NULL)
	{
		CStroke* pStroke = pDoc->m_strokes.GetNext(pos);
		m_log.message("stroke %d,%d-%d,%d", pStroke->m_ptFrom.x, pStroke->m_ptFrom.y,
			pStroke->m_ptTo.x, pStroke->m_ptTo.y);
	}
	CString strCaption;
	strCaption.Format(_T("%d logged"), (int)pDoc->m_strokes.GetCount());
	m_wndPanel.SetCaption(strCaption);
}

void CMainFrame::OnUpdateSketchLog(CCmdUI* pCmdUI)
{
	pCmdUI->Enable(GetActiveView() != NULL && !m_log.m_strLogFileName.IsEmpty());
}

void CMainFrame::OnSketchPanelColor()
{
	m_wndPanel.m_generic.ChangeBackgroundColor(RGB(128, 0, 64));
}

// Opens the stroke list, or brings it to the front when it is open.
void CMainFrame::OnViewStrokeList()
{
	SendMessage(WM_NEWFOCUS, m_nListFrame);
}
