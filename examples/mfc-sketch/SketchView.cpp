// SketchView.cpp : implementation of the CSketchView class
//

#include "stdafx.h"
#include "Sketch.h"

#include "SketchDoc.h"
#include "SketchView.h"
#include "PenDlg.h"

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
	ON_WM_ERASEBKGND()
	ON_WM_LBUTTONDOWN()
	ON_COMMAND(ID_SKETCH_ADDLINE, OnSketchAddLine)
	ON_COMMAND(ID_SKETCH_PEN, OnSketchPen)
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()

/////////////////////////////////////////////////////////////////////////////
// CSketchView construction/destruction

CSketchView::CSketchView() : m_nDraws(0), m_ptLast(10, 10), m_nPenWidth(2), m_bDashed(FALSE)
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

	// The notes at the bottom, in a font of their own.
	CRect client;
	GetClientRect(&client);
	CFont font;
	font.CreatePointFont(100, _T("Arial"), pDC);
	CFont* pOldFont = pDC->SelectObject(&font);
	TEXTMETRIC tm;
	pDC->GetTextMetrics(&tm);
	pDC->SetTextColor(RGB(64, 64, 64));
	pDC->SetBkMode(TRANSPARENT);
	int nLine = tm.tmHeight + tm.tmExternalLeading;
	int y = client.bottom - 4 - nLine * (int)pDoc->m_notes.GetSize();
	for (int i = 0; i < pDoc->m_notes.GetSize(); i++, y += nLine)
		pDC->TextOut(4, y, pDoc->m_notes[i]);
	pDC->SelectObject(pOldFont);

	if (pDoc->m_strokes.IsEmpty())
		return;

	// The strokes in the chosen pen (dashes only come in one-pixel pens),
	// then a dot at the end of each and a dashed box around them all.
	CPen pen(m_bDashed ? PS_DASH : PS_SOLID, m_bDashed ? 1 : m_nPenWidth, RGB(0, 0, 128));
	CPen* pOldPen = pDC->SelectObject(&pen);
	CRect bounds(pDoc->m_strokes.GetHead()->m_ptFrom, pDoc->m_strokes.GetHead()->m_ptFrom);
	POSITION pos = pDoc->m_strokes.GetHeadPosition();
	while (pos != NULL)
	{
		CStroke* pStroke = pDoc->m_strokes.GetNext(pos);
		pDC->MoveTo(pStroke->m_ptFrom);
		pDC->LineTo(pStroke->m_ptTo);
		CRect rect(pStroke->m_ptFrom, pStroke->m_ptTo);
		rect.NormalizeRect();
		if (rect.left < bounds.left) bounds.left = rect.left;
		if (rect.top < bounds.top) bounds.top = rect.top;
		if (rect.right > bounds.right) bounds.right = rect.right;
		if (rect.bottom > bounds.bottom) bounds.bottom = rect.bottom;
	}
	CPen outline(PS_SOLID, 1, RGB(96, 0, 0));
	CBrush dot(RGB(192, 0, 0));
	pDC->SelectObject(&outline);
	CBrush* pOldBrush = pDC->SelectObject(&dot);
	int nDot = m_bDashed ? 3 : m_nPenWidth / 2 + 3;
	for (pos = pDoc->m_strokes.GetHeadPosition(); pos != NULL; )
	{
		CPoint pt = pDoc->m_strokes.GetNext(pos)->m_ptTo;
		pDC->Ellipse(pt.x - nDot, pt.y - nDot, pt.x + nDot + 1, pt.y + nDot + 1);
	}
	CPen box(PS_DASH, 1, RGB(128, 128, 128));
	pDC->SelectObject(&box);
	pDC->SelectStockObject(NULL_BRUSH);
	pDC->Rectangle(bounds.left - 6, bounds.top - 6, bounds.right + 7, bounds.bottom + 7);
	pDC->SelectObject(pOldPen);
	pDC->SelectObject(pOldBrush);
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

// The window colour under each repaint: the view's class has no brush to
// erase with.
BOOL CSketchView::OnEraseBkgnd(CDC* pDC)
{
	CRect rect;
	GetClientRect(&rect);
	pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_WINDOW));
	return TRUE;
}

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

void CSketchView::OnSketchPen()
{
	CPenDlg dlg;
	dlg.m_nWidth = m_nPenWidth;
	dlg.m_bDashed = m_bDashed;
	if (dlg.DoModal() == IDOK)
	{
		m_nPenWidth = dlg.m_nWidth;
		m_bDashed = dlg.m_bDashed;
		Invalidate();
	}
}
