// SketchView.cpp : implementation of the CSketchView class
//

#include "stdafx.h"
#include "Sketch.h"

#include "SketchDoc.h"
#include "SketchView.h"

#ifdef _DEBUG
#define new DEBUG_NEW
#undef THIS_FILE
static char THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CSketchView

IMPLEMENT_DYNCREATE(CSketchView, CView)

BEGIN_MESSAGE_MAP(CSketchView, CView)
	//{{AFX_MSG_MAP(CSketchView)
	ON_WM_LBUTTONDOWN()
	ON_COMMAND(ID_SKETCH_ADDLINE, OnSketchAddLine)
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()

/////////////////////////////////////////////////////////////////////////////
// CSketchView construction/destruction

CSketchView::CSketchView() : m_nDraws(0), m_ptLast(10, 10)
{
}

CSketchView::~CSketchView()
{
}

BOOL CSketchView::PreCreateWindow(CREATESTRUCT& cs)
{
	return CView::PreCreateWindow(cs);
}

/////////////////////////////////////////////////////////////////////////////
// CSketchView drawing

void CSketchView::OnDraw(CDC* pDC)
{
	CSketchDoc* pDoc = GetDocument();
	ASSERT_VALID(pDoc);
	m_nDraws++;
	POSITION pos = pDoc->m_strokes.GetHeadPosition();
	while (pos != NULL)
	{
		CStroke* pStroke = pDoc->m_strokes.GetNext(pos);
		CRect rect(pStroke->m_ptFrom, pStroke->m_ptTo);
		rect.NormalizeRect();
		pDC->FillSolidRect(&rect, RGB(0, 0, 128));
	}
	for (int i = 0; i < pDoc->m_notes.GetSize(); i++)
		pDC->TextOut(4, 4 + 16 * i, pDoc->m_notes[i]);
}

/////////////////////////////////////////////////////////////////////////////
// CSketchView diagnostics

#ifdef _DEBUG
void CSketchView::AssertValid() const
{
	CView::AssertValid();
}

void CSketchView::Dump(CDumpContext& dc) const
{
	CView::Dump(dc);
}

CSketchDoc* CSketchView::GetDocument() // non-debug version is inline
{
	ASSERT(m_pDocument->IsKindOf(RUNTIME_CLASS(CSketchDoc)));
	return (CSketchDoc*)m_pDocument;
}
#endif //_DEBUG

/////////////////////////////////////////////////////////////////////////////
// CSketchView message handlers

void CSketchView::OnLButtonDown(UINT nFlags, CPoint point)
{
	GetDocument()->AddStroke(m_ptLast, point);
	m_ptLast = point;
	CView::OnLButtonDown(nFlags, point);
}

void CSketchView::OnSketchAddLine()
{
	CPoint next(m_ptLast.x + 20, m_ptLast.y + 10);
	GetDocument()->AddStroke(m_ptLast, next);
	m_ptLast = next;
}
