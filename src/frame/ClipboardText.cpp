// CPersistentFrame: text through OLE data objects and the Edit commands.
#include <cstring>

#include "frame/CPersistentFrame.h"
#include "platform/mfc/FormView.h"
#include "platform/mfc/OleDataSource.h"

bool CPersistentFrame::DoPasteText(COleDataObject* pDataObject) {
    if (!pDataObject) return false;
    FORMATETC request = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (!pDataObject->GetData(CF_TEXT, &medium, &request)) return false;
    const char* pText =
        medium.tymed == TYMED_HGLOBAL ? static_cast<const char*>(::GlobalLock(medium.hGlobal)) : nullptr;
    if (pText) {
        m_strClipText = CString(pText, static_cast<int>(strnlen(pText, ::GlobalSize(medium.hGlobal))));
        ::GlobalUnlock(medium.hGlobal);
    }
    ::ReleaseStgMedium(&medium);
    if (!pText) return false;
    CWnd* pFocus = CWnd::FromHandle(::GetFocus());
    if (!pFocus) return false;
    pFocus->SetWindowText(m_strClipText);
    return true;
}

// A failed allocation gives null rather than a source without its text.
void* CPersistentFrame::SaveText() {
    if (m_strClipText.IsEmpty()) return nullptr;
    SIZE_T nBytes = static_cast<SIZE_T>(m_strClipText.GetLength()) + 1;
    HGLOBAL hText = ::GlobalAlloc(GMEM_SHARE, nBytes);
    char* pText = static_cast<char*>(::GlobalLock(hText));
    if (!pText) return nullptr;
    std::memcpy(pText, static_cast<LPCTSTR>(m_strClipText), nBytes);
    ::GlobalUnlock(hText);
    auto* pSource = new COleDataSource;
    pSource->CacheGlobalData(CF_TEXT, hText);
    return pSource;
}

void CPersistentFrame::OnEditCopy() { SendToFocus(WM_COPY); }

void CPersistentFrame::OnEditCut() { SendToFocus(WM_CUT); }

void CPersistentFrame::OnEditPaste() { SendToFocus(WM_PASTE); }

void CPersistentFrame::SendToFocus(UINT message) {
    if (CView* pView = GetActiveView()) pView->UpdateData(TRUE);
    if (HWND hFocus = ::GetFocus()) ::SendMessageA(hFocus, message, 0, 0);
}
