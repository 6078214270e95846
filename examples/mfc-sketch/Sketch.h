// Sketch.h : main header file for the SKETCH application
//

#if !defined(AFX_SKETCH_H__INCLUDED_)
#define AFX_SKETCH_H__INCLUDED_

#if _MSC_VER > 1000
#pragma once
#endif // _MSC_VER > 1000

#ifndef __AFXWIN_H__
	#error include 'stdafx.h' before including this file for PCH
#endif

#include "resource.h"       // main symbols

/////////////////////////////////////////////////////////////////////////////
// CSketchApp:
// See Sketch.cpp for the implementation of this class
//

class CSketchApp : public CWinApp
{
public:
	CSketchApp();

	CString m_strSelfTestFile;	// -selftest <file>: run the commands, save, reopen, exit
	BOOL m_bReport;				// -report: print the window tree once shown, then each command
	BOOL m_bReported;

// Overrides
	//{{AFX_VIRTUAL(CSketchApp)
	public:
	virtual BOOL InitInstance();
	virtual int ExitInstance();
	virtual BOOL OnIdle(LONG lCount);
	//}}AFX_VIRTUAL

// Implementation
	//{{AFX_MSG(CSketchApp)
	afx_msg void OnAppAbout();
	afx_msg void OnSelfTest();
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};

extern CSketchApp theApp;

#endif // !defined(AFX_SKETCH_H__INCLUDED_)
