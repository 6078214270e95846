// SketchDoc.cpp : implementation of the CSketchDoc class
//

#include "stdafx.h"
#include "Sketch.h"

#include "MainFrm.h"
#include "SketchDoc.h"

#ifdef _DEBUG
#define new DEBUG_NEW
#undef THIS_FILE
static char THIS_FILE[] = __FILE__;
#endif

/////////////////////////////////////////////////////////////////////////////
// CStroke

IMPLEMENT_SERIAL(CStroke, CObject, 1)

CStroke::CStroke()
{
}

CStroke::CStroke(CPoint from, CPoint to) : m_ptFrom(from), m_ptTo(to)
{
}

void CStroke::Serialize(CArchive& ar)
{
	if (ar.IsStoring())
		ar << m_ptFrom << m_ptTo;
	else
		ar >> m_ptFrom >> m_ptTo;
}

/////////////////////////////////////////////////////////////////////////////
// CSketchDoc

IMPLEMENT_DYNCREATE(CSketchDoc, CDocument)

BEGIN_MESSAGE_MAP(CSketchDoc, CDocument)
	//{{AFX_MSG_MAP(CSketchDoc)
	ON_COMMAND(ID_SKETCH_CLEAR, OnSketchClear)
	ON_UPDATE_COMMAND_UI(ID_SKETCH_CLEAR, OnUpdateSketchClear)
	//}}AFX_MSG_MAP
END_MESSAGE_MAP()

/////////////////////////////////////////////////////////////////////////////
// CSketchDoc construction/destruction

CSketchDoc::CSketchDoc()
{
}

CSketchDoc::~CSketchDoc()
{
	DeleteContents();
}

BOOL CSketchDoc::OnNewDocument()
{
	if (!CDocument::OnNewDocument())
		return FALSE;
	m_notes.Add(_T("new sketch"));
	RegisterWithFrame();
	return TRUE;
}

BOOL CSketchDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
	if (!CDocument::OnOpenDocument(lpszPathName))
		return FALSE;
	RegisterWithFrame();
	return TRUE;
}

// The main frame finds the sketch again when it opens frame 2 on it.
void CSketchDoc::RegisterWithFrame()
{
	CMainFrame* pFrame = (CMainFrame*)AfxGetMainWnd();
	if (pFrame != NULL)
		pFrame->AddDoc(this);
}

void CSketchDoc::AddStroke(CPoint from, CPoint to)
{
	m_strokes.AddTail(new CStroke(from, to));
	SetModifiedFlag();
	UpdateAllViews(NULL);
}

void CSketchDoc::DeleteContents()
{
	while (!m_strokes.IsEmpty())
		delete m_strokes.RemoveHead();
	m_notes.RemoveAll();
	CDocument::DeleteContents();
}

/////////////////////////////////////////////////////////////////////////////
// CSketchDoc serialization

void CSketchDoc::Serialize(CArchive& ar)
{
	m_notes.Serialize(ar);
	m_strokes.Serialize(ar);
}

/////////////////////////////////////////////////////////////////////////////
// CSketchDoc diagnostics

#ifdef _DEBUG
void CSketchDoc::AssertValid() const
{
	CDocument::AssertValid();
}

void CSketchDoc::Dump(CDumpContext& dc) const
{
	CDocument::Dump(dc);
	dc << "strokes: " << (int)m_strokes.GetCount() << "\n";
}
#endif //_DEBUG

/////////////////////////////////////////////////////////////////////////////
// CSketchDoc commands

void CSketchDoc::OnSketchClear()
{
	DeleteContents();
	SetModifiedFlag();
	UpdateAllViews(NULL);
}

void CSketchDoc::OnUpdateSketchClear(CCmdUI* pCmdUI)
{
	pCmdUI->Enable(!m_strokes.IsEmpty());
}
