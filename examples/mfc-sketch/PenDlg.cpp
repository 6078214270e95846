// PenDlg.cpp : implementation of the CPenDlg class
//

#include "stdafx.h"
#include "Sketch.h"
#include "PenDlg.h"

#ifdef _DEBUG
#define new DEBUG_NEW
#undef THIS_FILE
static char THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CPenDlg dialog

CPenDlg::CPenDlg(CWnd* pParent /*=NULL*/)
	: CDialog(CPenDlg::IDD, pParent)
{
	//{{AFX_DATA_INIT(CPenDlg)
	m_nWidth = 1;
	m_bDashed = FALSE;
	//}}AFX_DATA_INIT
}

void CPenDlg::DoDataExchange(CDataExchange* pDX)
{
	CDialog::DoDataExchange(pDX);
	//{{AFX_DATA_MAP(CPenDlg)
	DDX_Text(pDX, IDC_PEN_WIDTH, m_nWidth);
	DDV_MinMaxInt(pDX, m_nWidth, 1, 10);
	DDX_Check(pDX, IDC_PEN_DASHED, m_bDashed);
	//}}AFX_DATA_MAP
}

BEGIN_MESSAGE_MAP(CPenDlg, CDialog)
	//{{AFX_MSG_MAP(CPenDlg)
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()
