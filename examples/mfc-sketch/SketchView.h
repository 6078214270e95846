// SketchView.h : interface of the CSketchView class
//
/////////////////////////////////////////////////////////////////////////////

#if !defined(AFX_SKETCHVIEW_H__INCLUDED_)
#define AFX_SKETCHVIEW_H__INCLUDED_

#if _MSC_VER > 1000
#pragma once
#endif // _MSC_VER > 1000

class CSketchView : public CView
{
protected: // create from serialization only
	CSketchView();
	DECLARE_DYNCREATE(CSketchView)

// Attributes
public:
	CSketchDoc* GetDocument();
	int m_nDraws;
	CPoint m_ptLast;
	int m_nPenWidth;	// the pen the strokes are drawn with
	BOOL m_bDashed;

// Overrides
	//{{AFX_VIRTUAL(CSketchView)
	public:
	virtual void OnDraw(CDC* pDC);  // overridden to draw this view
	virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
	//}}AFX_VIRTUAL

// Implementation
public:
	virtual ~CSketchView();
#ifdef _DEBUG
	virtual void AssertValid() const;
	virtual void Dump(CDumpContext& dc) const;
#endif

// Generated message map functions
protected:
	//{{AFX_MSG(CSketchView)
	afx_msg BOOL OnEraseBkgnd(CDC* pDC);
	afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
	afx_msg void OnSketchAddLine();
	afx_msg void OnSketchPen();
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};

#ifndef _DEBUG  // debug version in SketchView.cpp
inline CSketchDoc* CSketchView::GetDocument()
   { return (CSketchDoc*)m_pDocument; }
#endif

/////////////////////////////////////////////////////////////////////////////

#endif // !defined(AFX_SKETCHVIEW_H__INCLUDED_)
