// MFC's colour dialog over ChooseColorA (platform/user/Dialogs.h).
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/user/Dialogs.h"

// The colour dialog. Its custom colours are the process's saved ones
// (GetSavedCustomColors), white until a dialog changes them.
class PLATFORM_API CColorDialog : public CWnd {
public:
    // A non-zero clrInit is the colour the dialog starts with (CC_RGBINIT).
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    // IDOK or IDCANCEL.
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
    // The process's 16 saved custom colours.
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLOR m_cc;
};
