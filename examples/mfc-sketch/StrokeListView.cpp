// StrokeListView.cpp : implementation of the CStrokeListView class
//

#include "stdafx.h"
#include "Sketch.h"

#include "SketchDoc.h"
#include "StrokeListView.h"

#ifdef _DEBUG
#define new DEBUG_NEW
#undef THIS_FILE
static char THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CStrokeListView

IMPLEMENT_DYNCREATE(CStrokeListView, CView)

BEGIN_MESSAGE_MAP(CStrokeListView, CView)
	//{{AFX_MSG_MAP(CStrokeListView)
	ON_WM_ERASEBKGND()
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()

CStrokeListView::CStrokeListView() : m_nLinesShown(0)
{
}

CStrokeListView::~CStrokeListView()
{
}

void CStrokeListView::OnInitialUpdate()
{
	CView::OnInitialUpdate();
	GetParentFrame()->SetWindowText(GetDocument()->GetTitle() + _T(" - strokes"));
}

/////////////////////////////////////////////////////////////////////////////
// CStrokeListView drawing

void CStrokeListView::OnDraw(CDC* pDC)
{
	CSketchDoc* pDoc = GetDocument();
	ASSERT_VALID(pDoc);
	CFont font;
	font.CreatePointFont(90, _T("Courier New"), pDC);
	CFont* pOldFont = pDC->SelectObject(&font);
	TEXTMETRIC tm;
	pDC->GetTextMetrics(&tm);
	pDC->SetBkMode(TRANSPARENT);
	int nLine = 0;
	char szNumber[33];
	POSITION pos = pDoc->m_strokes.GetHeadPosition();
	while (pos != NULL)
	{
		CStroke* pStroke = pDoc->m_strokes.GetNext(pos);
		CString strLine = _itoa(nLine + 1, szNumber, 10);
		CString strPoints;
		strPoints.Format(_T(": (%d,%d)-(%d,%d)"), pStroke->m_ptFrom.x, pStroke->m_ptFrom.y,
			pStroke->m_ptTo.x, pStroke->m_ptTo.y);
		pDC->TextOut(4, 4 + (tm.tmHeight + tm.tmExternalLeading) * nLine, strLine + strPoints);
		nLine++;
	}
	pDC->SelectObject(pOldFont);
	m_nLinesShown = nLine;
}

BOOL CStrokeListView::OnEraseBkgnd(CDC* pDC)
{
	CRect rect;
	GetClientRect(&rect);
	pDC->FillSolidRect(&rect, RGB(255, 255, 240));
	return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CStrokeListView diagnostics

#ifdef _DEBUG
void CStrokeListView::AssertValid() const
{
	CView::AssertValid();
}

CSketchDoc* CStrokeListView::GetDocument() // non-debug version is inline
{
	ASSERT(m_pDocument->IsKindOf(RUNTIME_CLASS(CSketchDoc)));
	return (CSketchDoc*)m_pDocument;
}
#endif //_DEBUG
