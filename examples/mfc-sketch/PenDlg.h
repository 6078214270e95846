// PenDlg.h : interface of the CPenDlg class
//
/////////////////////////////////////////////////////////////////////////////

#if !defined(AFX_PENDLG_H__INCLUDED_)
#define AFX_PENDLG_H__INCLUDED_

#if _MSC_VER > 1000
#pragma once
#endif // _MSC_VER > 1000

/////////////////////////////////////////////////////////////////////////////
// CPenDlg dialog: the width and style of the pen strokes are drawn with

class CPenDlg : public CDialog
{
// Construction
public:
	CPenDlg(CWnd* pParent = NULL);   // standard constructor

// Dialog Data
	//{{AFX_DATA(CPenDlg)
	enum { IDD = IDD_PEN };
	int		m_nWidth;
	BOOL	m_bDashed;
	//}}AFX_DATA

// Overrides
	//{{AFX_VIRTUAL(CPenDlg)
	protected:
	virtual void DoDataExchange(CDataExchange* pDX);    // DDX/DDV support
	//}}AFX_VIRTUAL

// Implementation
protected:
	//{{AFX_MSG(CPenDlg)
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};

//{{AFX_INSERT_LOCATION}}

#endif // !defined(AFX_PENDLG_H__INCLUDED_)
