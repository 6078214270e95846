#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FrameHost.h"
#include "frame/CMvDocList.h"
#include "frame/CMvMultiViewTemplate.h"
#include "platform/kernel/Paths.h"

namespace {

using FrameRegistryTest = FrameTest;

int TemplateCount(CWinApp& app) {
    int n = 0;
    for (POSITION pos = app.GetFirstDocTemplatePosition(); pos; app.GetNextDocTemplate(pos)) ++n;
    return n;
}

int DocCount(CPersistentFrame* pFrame) {
    int n = 0;
    for (auto* node = pFrame->m_Docs.MoveFirst(); node; node = pFrame->m_Docs.MoveNext()) ++n;
    return n;
}

}  // namespace

TEST_F(FrameRegistryTest, AddFrameNumbersFramesAndRegistersTemplates) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    int n1 = 0, n2 = 0;
    CFrame* p1 = m_pMain->AddFrame1(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    CFrame* p2 = m_pMain->AddFrame(&n2, 9, RUNTIME_CLASS(CSketchDoc), RUNTIME_CLASS(CSplitChildFrame),
                                   RUNTIME_CLASS(CListView));
    EXPECT_EQ(n1, 1);
    EXPECT_EQ(n2, 2);
    EXPECT_EQ(TemplateCount(*m_app), 2);
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1, m_pMain->GetFrame(1));  // the stored record
    EXPECT_EQ(p1->pDocClass, RUNTIME_CLASS(CNoteDoc));         // from InitializeCoordinates
    EXPECT_EQ(p1->pFrameClass, RUNTIME_CLASS(CMDIChildFrame));  // the default child frame
    EXPECT_EQ(p1->pTemplate->m_nIDResource, IDR_NOTE);
    EXPECT_EQ(p1->hWnd, nullptr);
    EXPECT_EQ(p2->pTemplate->m_nIDResource, 9u);
    EXPECT_EQ(p2->pFrameClass, RUNTIME_CLASS(CSplitChildFrame));

    m_pMain->AddFrame(nullptr, 0, nullptr, nullptr, nullptr);  // no out-argument: still registered
    EXPECT_NE(m_pMain->GetFrame(3), nullptr);
}

TEST_F(FrameRegistryTest, NewFocusActivatesAnOpenChildOrMakesOne) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    int n1 = 0, n2 = 0;
    m_pMain->AddFrame(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->AddFrame(&n2, 0, RUNTIME_CLASS(CSketchDoc), nullptr, RUNTIME_CLASS(CNoteView));

    EXPECT_EQ(::SendMessageA(m_pMain->m_hWnd, WM_NEWFOCUS, n1, 0), 0);
    CFrame* p1 = m_pMain->GetFrame(n1);
    ASSERT_TRUE(::IsWindow(p1->hWnd));
    EXPECT_EQ(m_pMain->MDIGetActive(), p1->pFrameWnd);
    HWND hFirst = p1->hWnd;

    ASSERT_TRUE(::PostMessageA(m_pMain->m_hWnd, WM_NEWFOCUS, n2, 0));
    PlatformPumpMessages();
    EXPECT_EQ(ChildCount(), 2);
    m_pMain->NewFocus(n1);  // open: activated, nothing made
    EXPECT_EQ(ChildCount(), 2);
    EXPECT_EQ(p1->hWnd, hFirst);
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, hFirst);

    ::SendMessageA(hFirst, WM_CLOSE, 0, 0);  // the user closes it: its document goes too
    EXPECT_EQ(CNoteDoc::s_nLive, 0);
    m_pMain->NewFocus(n1);
    EXPECT_TRUE(::IsWindow(p1->hWnd));
    EXPECT_NE(p1->hWnd, hFirst);
    EXPECT_EQ(CNoteDoc::s_nLive, 1);  // a new document

    ::DestroyWindow(p1->hWnd);  // behind the registry's back
    m_pMain->NewFocus(n1);
    EXPECT_TRUE(::IsWindow(p1->hWnd));
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, p1->hWnd);
}

TEST_F(FrameRegistryTest, NewFocusReopensOnTheRegisteredDocument) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    int n1 = 0, n2 = 0;
    m_pMain->AddFrame(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->AddFrame(&n2, 0, nullptr, nullptr, RUNTIME_CLASS(CListView));  // the same document class
    m_pMain->NewFocus(n1);
    CDocument* pDoc = m_pMain->GetActiveView()->GetDocument();
    m_pMain->AddDoc(pDoc);
    m_pMain->NewFocus(n2);  // a second frame on the registered document
    EXPECT_EQ(m_pMain->GetActiveView()->GetDocument(), pDoc);
    EXPECT_TRUE(m_pMain->GetActiveView()->IsKindOf(RUNTIME_CLASS(CListView)));

    ::SendMessageA(m_pMain->GetFrame(n1)->hWnd, WM_CLOSE, 0, 0);  // the document stays, shown by frame 2
    ASSERT_EQ(CNoteDoc::s_nLive, 1);
    m_pMain->NewFocus(n1);
    EXPECT_EQ(m_pMain->GetActiveView()->GetDocument(), pDoc);
    EXPECT_TRUE(m_pMain->GetActiveView()->IsKindOf(RUNTIME_CLASS(CNoteView)));
    EXPECT_EQ(CNoteDoc::s_nLive, 1);
    EXPECT_EQ(static_cast<CNoteView*>(m_pMain->GetActiveView())->m_nInitialUpdates, 1);
}

TEST_F(FrameRegistryTest, BadRequestsChangeNothing) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    m_pMain->NewFocus(7);  // never registered
    EXPECT_EQ(m_pMain->GetFrame(7), nullptr);
    EXPECT_EQ(ChildCount(), 0);

    CFrame blank;  // no template
    m_pMain->CreateDocument(&blank);
    m_pMain->OpenDocument(&blank);
    m_pMain->CreateDocument(nullptr);
    EXPECT_EQ(blank.hWnd, nullptr);
    EXPECT_EQ(ChildCount(), 0);

    int n = 0;
    CFrame* pBadClass = m_pMain->AddFrame(&n, 0, RUNTIME_CLASS(CSketchDoc), RUNTIME_CLASS(CNoteView),
                                          RUNTIME_CLASS(CNoteView));  // a view is no frame
    m_pMain->NewFocus(n);
    EXPECT_EQ(pBadClass->hWnd, nullptr);
    EXPECT_EQ(ChildCount(), 0);
    EXPECT_EQ(m_pMain->GetDoc(static_cast<CFrame*>(nullptr)), nullptr);
    EXPECT_EQ(m_pMain->GetDoc(static_cast<CRuntimeClass*>(nullptr)), nullptr);
}

TEST_F(FrameRegistryTest, DocumentsAreRegisteredOnceAndFoundByExactClass) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    auto* pSpecial = new CSpecialNoteDoc;
    auto* pSketch = new CSketchDoc;
    m_pMain->AddDoc(pSpecial);
    m_pMain->AddDoc(pSpecial);
    m_pMain->AddDoc(pSketch);
    m_pMain->AddDoc(nullptr);
    EXPECT_EQ(DocCount(m_pMain), 2);
    std::string trace;
    ASSERT_TRUE(PlatformToPosixPath(m_pMain->m_strDebugFile, trace));
    std::ifstream in(trace, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string addDocLines =
        "CPersistentFrame::AddDoc\r\nDocHandle Record\r\n"
        "CPersistentFrame::AddDoc\r\npDocs->First()\r\npRecord->pDoc == pDoc\r\n"
        "CPersistentFrame::AddDoc\r\npDocs->First()\r\nDocHandle Record\r\n"
        "CPersistentFrame::AddDoc\r\n";
    ASSERT_GE(text.size(), addDocLines.size());
    EXPECT_EQ(text.substr(text.size() - addDocLines.size()), addDocLines);
    EXPECT_EQ(m_pMain->GetDoc(RUNTIME_CLASS(CSpecialNoteDoc)), pSpecial);
    EXPECT_EQ(m_pMain->GetDoc(RUNTIME_CLASS(CNoteDoc)), nullptr);  // a base class does not match
    EXPECT_EQ(m_pMain->GetDoc(RUNTIME_CLASS(CSketchDoc)), pSketch);

    delete pSpecial;  // the registry forgets a document that goes
    EXPECT_EQ(DocCount(m_pMain), 1);
    EXPECT_EQ(m_pMain->GetDoc(RUNTIME_CLASS(CSpecialNoteDoc)), nullptr);
    delete pSketch;
    EXPECT_EQ(DocCount(m_pMain), 0);
}

TEST_F(FrameRegistryTest, ARegisteredDocumentClosedWithItsFrameLeavesTheRegistry) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    int n = 0;
    m_pMain->AddFrame(&n, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    m_pMain->NewFocus(n);
    m_pMain->AddDoc(m_pMain->GetActiveView()->GetDocument());
    ::SendMessageA(m_pMain->GetFrame(n)->hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(CNoteDoc::s_nLive, 0);
    EXPECT_EQ(DocCount(m_pMain), 0);
    m_pMain->NewFocus(n);  // a fresh document, no dangling one
    EXPECT_EQ(CNoteDoc::s_nLive, 1);
}

TEST_F(FrameRegistryTest, DocListGathersEveryDocumentInOrder) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    int n1 = 0, n2 = 0;
    CFrame* p1 = m_pMain->AddFrame(&n1, 0, nullptr, nullptr, RUNTIME_CLASS(CNoteView));
    CFrame* p2 = m_pMain->AddFrame(&n2, 0, RUNTIME_CLASS(CSketchDoc), nullptr, RUNTIME_CLASS(CNoteView));
    CDocument* pSketch = p2->pTemplate->OpenDocumentFile(nullptr);
    CDocument* pNote1 = p1->pTemplate->OpenDocumentFile(nullptr);
    CDocument* pNote2 = p1->pTemplate->OpenDocumentFile(nullptr);
    EXPECT_EQ(pNote2->GetTitle(), "Untitled");

    CMvDocList list;
    EXPECT_EQ(list.m_nCount, 3u);
    std::vector<CDocument*> got;
    while (CDocument* pDoc = list.GetNextDoc()) got.push_back(pDoc);
    EXPECT_EQ(got, (std::vector<CDocument*>{pNote1, pNote2, pSketch}));
    EXPECT_EQ(list.GetNextDoc(), nullptr);
    EXPECT_EQ(*list.m_pHead->pValue, pNote1);
}

TEST_F(FrameRegistryTest, MultiViewTemplateKeepsTheOpenedDocument) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    auto* pTemplate = new CMvMultiViewTemplate(IDR_NOTE, RUNTIME_CLASS(CSketchDoc), RUNTIME_CLASS(CMDIChildFrame),
                                               RUNTIME_CLASS(CNoteView));
    m_app->AddDocTemplate(pTemplate);
    EXPECT_STREQ(pTemplate->GetRuntimeClass()->m_lpszClassName, "CMvMultiViewTemplate");
    EXPECT_EQ(pTemplate->GetRuntimeClass()->m_pfnCreateObject, nullptr);
    auto* pOther = new CMultiDocTemplate(IDR_NOTE, RUNTIME_CLASS(CSketchDoc), RUNTIME_CLASS(CMDIChildFrame),
                                         RUNTIME_CLASS(CListView));
    m_app->AddDocTemplate(pOther);
    pTemplate->AddViewTemplate(pOther);
    EXPECT_EQ(pTemplate->m_ViewTemplates.GetHead(), pOther);

    CDocument* pDoc = pTemplate->OpenDocumentFile("C:\\notes\\today.txt");
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pTemplate->m_pOpenedDoc, pDoc);
    EXPECT_EQ(pDoc->GetTitle(), "today.txt");
    EXPECT_EQ(ChildCount(), 1);  // no view of the added template
}
