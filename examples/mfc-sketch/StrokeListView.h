// StrokeListView.h : interface of the CStrokeListView class
//
/////////////////////////////////////////////////////////////////////////////

#if !defined(AFX_STROKELISTVIEW_H__INCLUDED_)
#define AFX_STROKELISTVIEW_H__INCLUDED_

#if _MSC_VER > 1000
#pragma once
#endif // _MSC_VER > 1000

// The second view on a sketch: its strokes as numbered lines of text.
class CStrokeListView : public CView
{
protected: // create from serialization only
	CStrokeListView();
	DECLARE_DYNCREATE(CStrokeListView)

// Attributes
public:
	CSketchDoc* GetDocument();
	int m_nLinesShown;	// lines the last OnDraw wrote

// Overrides
	//{{AFX_VIRTUAL(CStrokeListView)
	public:
	virtual void OnDraw(CDC* pDC);
	virtual void OnInitialUpdate();
	//}}AFX_VIRTUAL

// Implementation
public:
	virtual ~CStrokeListView();
#ifdef _DEBUG
	virtual void AssertValid() const;
#endif

// Generated message map functions
protected:
	//{{AFX_MSG(CStrokeListView)
	afx_msg BOOL OnEraseBkgnd(CDC* pDC);
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};

#ifndef _DEBUG  // debug version in StrokeListView.cpp
inline CSketchDoc* CStrokeListView::GetDocument()
   { return (CSketchDoc*)m_pDocument; }
#endif

/////////////////////////////////////////////////////////////////////////////

#endif // !defined(AFX_STROKELISTVIEW_H__INCLUDED_)
