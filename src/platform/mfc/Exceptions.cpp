// CException and its simple kinds.
#include "platform/mfc/Exceptions.h"

#include <algorithm>
#include <cstring>

#include "platform/atl/Strings.h"
#include "platform/mfc/MessageBox.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)

BOOL AfxCopyErrorText(LPCTSTR lpszText, LPTSTR lpszError, UINT nMaxError) {
    if (!lpszError || nMaxError == 0) return FALSE;
    size_t length = std::min(std::strlen(lpszText), static_cast<size_t>(nMaxError) - 1);
    std::memcpy(lpszError, lpszText, length);
    lpszError[length] = '\0';
    return TRUE;
}

CException::~CException() = default;

void CException::Delete() {
    if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    if (lpszError && nMaxError) *lpszError = '\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT) {
    char text[512];
    if (!GetErrorMessage(text, sizeof text)) std::strcpy(text, "No error message is available.");
    return AfxMessageBox(text, nType);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    return AfxCopyErrorText("Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    return AfxCopyErrorText("An unsupported operation was attempted.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    return AfxCopyErrorText("A required resource was unavailable.", lpszError, nMaxError);
}

BOOL CInvalidArgException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    return AfxCopyErrorText("The parameter is incorrect.", lpszError, nMaxError);
}

void AfxThrowMemoryException() { throw new CMemoryException; }
void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowUserException() { throw new CUserException; }
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }
