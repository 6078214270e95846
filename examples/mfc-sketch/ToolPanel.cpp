// ToolPanel.cpp : implementation of the CToolPanel class
//

#include "stdafx.h"
#include "Sketch.h"

#include "ToolPanel.h"

#ifdef _DEBUG
#define new DEBUG_NEW
#undef THIS_FILE
static char THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CToolPanel

CToolPanel::CToolPanel() : m_strCaption(_T("Sketch")), m_nDraws(0)
{
}

CToolPanel::~CToolPanel()
{
}

BEGIN_MESSAGE_MAP(CToolPanel, CButton)
	//{{AFX_MSG_MAP(CToolPanel)
	ON_WM_CTLCOLOR()
	ON_WM_LBUTTONDOWN()
	//}}AFX_MSG_MAP
	ON_MESSAGE(WM_DRAWOWNWINDOW, OnDrawOwnWindow)
END_MESSAGE_MAP()

BOOL CToolPanel::CreatePanel(CWnd* pParentWnd)
{
	CRect rect(0, 0, TOOLPANEL_WIDTH, 1);
	if (!Create(_T("Tools"), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, pParentWnd, IDC_TOOLPANEL))
		return FALSE;
	m_generic.Create(NULL, 0, rect, pParentWnd, IDC_TOOLPANEL, RGB(0, 128, 128));
	m_generic.m_pWnd = this;
	return TRUE;
}

void CToolPanel::SetCaption(LPCTSTR lpszCaption)
{
	m_strCaption = lpszCaption;
	Invalidate();
}

/////////////////////////////////////////////////////////////////////////////
// CToolPanel drawing

void CToolPanel::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
	// The companion fills the background and asks us for the rest.
	m_generic.DrawItem(lpDrawItemStruct);
}

LRESULT CToolPanel::OnDrawOwnWindow(WPARAM wParam, LPARAM /*lParam*/)
{
	CDC* pDC = (CDC*)wParam;
	m_nDraws++;
	pDC->SetTextColor(RGB(255, 255, 255));
	pDC->SetBkMode(TRANSPARENT);
	pDC->TextOut(8, 8, m_strCaption);
	return 0;
}

/////////////////////////////////////////////////////////////////////////////
// CToolPanel message handlers

HBRUSH CToolPanel::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
	HBRUSH hbr = CButton::OnCtlColor(pDC, pWnd, nCtlColor);
	return m_generic.OnCtlColor(pDC, pWnd, nCtlColor, hbr);
}

void CToolPanel::OnLButtonDown(UINT nFlags, CPoint point)
{
	m_generic.OnLButtonDown(nFlags, point);
	CButton::OnLButtonDown(nFlags, point);
}
