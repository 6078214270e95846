// ToolPanel.h : interface of the CToolPanel class
//
/////////////////////////////////////////////////////////////////////////////

#if !defined(AFX_TOOLPANEL_H__INCLUDED_)
#define AFX_TOOLPANEL_H__INCLUDED_

#if _MSC_VER > 1000
#pragma once
#endif // _MSC_VER > 1000

#include "CGenericWnd.h"

#define TOOLPANEL_WIDTH 120

// The panel docked at the main frame's left edge: an owner-drawn button
// whose background its CGenericWnd companion paints.
class CToolPanel : public CButton
{
public:
	CToolPanel();

// Attributes
public:
	CGenericWnd m_generic;
	CString m_strCaption;
	int m_nDraws;

// Operations
public:
	BOOL CreatePanel(CWnd* pParentWnd);
	void SetCaption(LPCTSTR lpszCaption);

// Overrides
	//{{AFX_VIRTUAL(CToolPanel)
	public:
	virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
	//}}AFX_VIRTUAL

// Implementation
public:
	virtual ~CToolPanel();

// Generated message map functions
protected:
	//{{AFX_MSG(CToolPanel)
	afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
	afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
	//}}AFX_MSG
	afx_msg LRESULT OnDrawOwnWindow(WPARAM wParam, LPARAM lParam);
	DECLARE_MESSAGE_MAP()
};

/////////////////////////////////////////////////////////////////////////////

#endif // !defined(AFX_TOOLPANEL_H__INCLUDED_)
