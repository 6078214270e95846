#include "platform/mfc/ColorDialog.h"

#include "platform/mfc/MessageBox.h"

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : m_cc{} {
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    m_cc.rgbResult = clrInit;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags | (clrInit ? CC_RGBINIT : 0);
}

INT_PTR CColorDialog::DoModal() { return ChooseColorA(&m_cc) ? IDOK : IDCANCEL; }

COLORREF* CColorDialog::GetSavedCustomColors() { return PlatformSavedCustomColors(); }
