// SketchDoc.h : interface of the CSketchDoc class
//
/////////////////////////////////////////////////////////////////////////////

#if !defined(AFX_SKETCHDOC_H__INCLUDED_)
#define AFX_SKETCHDOC_H__INCLUDED_

#if _MSC_VER > 1000
#pragma once
#endif // _MSC_VER > 1000

class CStroke : public CObject
{
	DECLARE_SERIAL(CStroke)
public:
	CStroke();
	CStroke(CPoint from, CPoint to);

	CPoint m_ptFrom;
	CPoint m_ptTo;

	virtual void Serialize(CArchive& ar);
};

class CSketchDoc : public CDocument
{
protected: // create from serialization only
	CSketchDoc();
	DECLARE_DYNCREATE(CSketchDoc)

// Attributes
public:
	CTypedPtrList<CObList, CStroke*> m_strokes;
	CStringArray m_notes;

// Operations
public:
	void AddStroke(CPoint from, CPoint to);
	void RegisterWithFrame();

// Overrides
	//{{AFX_VIRTUAL(CSketchDoc)
	public:
	virtual BOOL OnNewDocument();
	virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
	virtual void Serialize(CArchive& ar);
	virtual void DeleteContents();
	//}}AFX_VIRTUAL

// Implementation
public:
	virtual ~CSketchDoc();
#ifdef _DEBUG
	virtual void AssertValid() const;
	virtual void Dump(CDumpContext& dc) const;
#endif

// Generated message map functions
protected:
	//{{AFX_MSG(CSketchDoc)
	afx_msg void OnSketchClear();
	afx_msg void OnUpdateSketchClear(CCmdUI* pCmdUI);
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};

/////////////////////////////////////////////////////////////////////////////

#endif // !defined(AFX_SKETCHDOC_H__INCLUDED_)
