// Control bars: the bar base, the tool bar (its buttons, their update and
// their clicks) and the status bar (its panes and the message pane).
//
// Sections: CControlBar; CToolBar; CStatusBar; the bars' strings.
#include "platform/mfc/ControlBars.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/Brushes.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/mfc/Frames.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/StandardIds.h"
#include "platform/mfc/ToolBarImages.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/StringResources.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

constexpr int kBarBorder = 2;       // around a bar's items
constexpr int kSeparatorWidth = 8;  // a tool bar separator
constexpr int kStatusHeight = 22;   // a status bar
constexpr int kPaneGap = 2;         // between status bar panes
constexpr int kPanePadding = 6;     // a pane's text from its edges

void fill(HDC hDC, RECT r, int sysColor) { FillRect(hDC, &r, GetSysColorBrush(sysColor)); }

// A sunken (or raised) edge one pixel wide inside r.
void edge(HDC hDC, RECT r, bool sunken) {
    int topLeft = sunken ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    int bottomRight = sunken ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
    fill(hDC, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
    fill(hDC, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
    fill(hDC, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    fill(hDC, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

int TextWidth(HDC hDC, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

// ---- CControlBar --------------------------------------------------------------------------------

void CControlBar::EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }

void CControlBar::SetBarStyle(DWORD dwStyle) {
    m_dwStyle = dwStyle;
    if (m_pDockSite && m_hWnd) m_pDockSite->RecalcLayout();
}

int CControlBar::GetCount() const { return m_nCount; }

CSize CControlBar::CalcFixedLayout(BOOL, BOOL) { return CSize(0, 0); }

BOOL CControlBar::CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszClass) {
    if (m_hWnd || !pParentWnd || !pParentWnd->m_hWnd) return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD;
    if (!CWnd::CreateEx(0, nullptr, lpszClass, windowStyle, 0, 0, 0, 0, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr))
        return FALSE;
    m_pDockSite = DYNAMIC_DOWNCAST(CFrameWnd, pParentWnd);
    if (m_pDockSite) {
        m_pDockSite->m_listControlBars.push_back(this);
        m_pDockSite->RecalcLayout();
    }
    return TRUE;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_IDLEUPDATECMDUI:
        if (IsWindowVisible()) {
            CFrameWnd* pTarget = m_pDockSite ? m_pDockSite : GetParentFrame();
            if (pTarget) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
        }
        return 0;
    case WM_COMMAND:  // the bar's commands belong to its frame
        if (CWnd* pOwner = m_pDockSite ? m_pDockSite : GetParent()) return pOwner->SendMessage(message, wParam, lParam);
        return 0;
    case WM_DESTROY:
        if (m_pDockSite) std::erase(m_pDockSite->m_listControlBars, this);
        m_pDockSite = nullptr;
        break;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::PostNcDestroy() { m_pDockSite = nullptr; }

// ---- CToolBar ------------------------------------------------------------------------------------

namespace {

// A button's update: its state changes in the bar.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        Set(TBBS_DISABLED, !bOn);
    }
    void SetCheck(int nCheck) override {
        Set(TBBS_CHECKED, nCheck == 1);
        Set(TBBS_INDETERMINATE, nCheck == 2);
    }
    void SetText(LPCTSTR) override {}  // buttons show images only

private:
    void Set(UINT bit, bool on) {
        CToolBar::Button& button = m_bar.m_buttons[m_nIndex];
        UINT style = on ? (button.style | bit) : (button.style & ~bit);
        if (style != button.style) m_bar.SetButtonStyle(static_cast<int>(m_nIndex), style);
    }
    CToolBar& m_bar;
};

}  // namespace

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID) {
    return CreateBar(pParentWnd, dwStyle, nID, "ToolbarWindow32");
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }

CToolBar::~CToolBar() {
    if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
    if (m_hbmDisabled) ::DeleteObject(m_hbmDisabled);
}

// The buttons come from the tool bar resource, their images from the bitmap
// of the same name.
BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    HRSRC hInfo = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    HGLOBAL hData = hInfo ? ::LoadResource(hInst, hInfo) : nullptr;
    const void* data = hData ? ::LockResource(hData) : nullptr;
    return data && PlatformLoadToolBarData(data, ::SizeofResource(hInst, hInfo)) && LoadBitmap(lpszResourceName);
}

// Two layouts: the original compiler's (WORD version 1, WORD width, WORD
// height, WORD count, WORD ids) and windres's (DWORD width, DWORD height,
// DWORD count, DWORD ids, no version). The size tells them apart.
BOOL CToolBar::PlatformLoadToolBarData(const void* pData, size_t cb) {
    auto* bytes = static_cast<const BYTE*>(pData);
    if (!bytes || cb < 8) return FALSE;
    auto word = [bytes](size_t i) { return static_cast<UINT>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
    auto dword = [&word](size_t i) { return word(2 * i) | (word(2 * i + 1) << 16); };
    UINT width = 0, height = 0, count = 0;
    std::vector<UINT> ids;
    if (word(0) == 1 && cb == 8 + 2 * static_cast<size_t>(word(3))) {
        width = word(1), height = word(2), count = word(3);
        for (UINT i = 0; i < count; ++i) ids.push_back(word(4 + i));
    } else if (cb >= 12 && cb == 12 + 4 * static_cast<size_t>(dword(2))) {
        width = dword(0), height = dword(1), count = dword(2);
        for (UINT i = 0; i < count; ++i) ids.push_back(dword(3 + i));
    }
    if (width == 0 || height == 0 || width > 0xFFFF || height > 0xFFFF) return FALSE;
    SetSizes(CSize(static_cast<int>(width) + 7, static_cast<int>(height) + 7),
             CSize(static_cast<int>(width), static_cast<int>(height)));
    return SetButtons(ids.data(), static_cast<int>(count));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0) return FALSE;
    m_buttons.assign(static_cast<size_t>(nIDCount), Button{0, TBBS_SEPARATOR, -1, {}});
    int image = 0;
    if (lpIDArray)
        for (int i = 0; i < nIDCount; ++i) {
            Button& button = m_buttons[static_cast<size_t>(i)];
            button.id = lpIDArray[i];
            if (button.id != ID_SEPARATOR) {
                button.style = TBBS_BUTTON;
                button.image = image++;
            }
        }
    m_nCount = nIDCount;
    if (m_pDockSite) m_pDockSite->RecalcLayout();
    if (m_hWnd) Invalidate();
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = CSize(std::max(sizeButton.cx, sizeImage.cx + 7), std::max(sizeButton.cy, sizeImage.cy + 6));
    m_sizeImage = sizeImage;
    if (m_pDockSite) m_pDockSite->RecalcLayout();
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    HRSRC hInfo = ::FindResourceA(hInst, lpszResourceName, RT_BITMAP);
    HBITMAP hbmImages = AfxLoadSysColorBitmap(hInst, hInfo);
    if (!hbmImages) return FALSE;
    HBITMAP hbmDisabled = PlatformDisabledImages(hbmImages, m_sizeImage.cx);
    if (!hbmDisabled) {
        ::DeleteObject(hbmImages);
        return FALSE;
    }
    if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
    if (m_hbmDisabled) ::DeleteObject(m_hbmDisabled);
    m_hbmImageWell = hbmImages;
    m_hbmDisabled = hbmDisabled;
    if (m_hWnd) Invalidate();
    return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].id == nIDFind) return static_cast<int>(i);
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_buttons.size()) ? m_buttons[nIndex].id : ID_SEPARATOR;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    *lpRect = RECT{};
    int x = kBarBorder;
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        int width = (m_buttons[i].style & TBBS_SEPARATOR) ? kSeparatorWidth : m_sizeButton.cx;
        if (i == nIndex) {
            *lpRect = RECT{x, kBarBorder, x + width, kBarBorder + m_sizeButton.cy};
            return;
        }
        x += width;
    }
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_buttons.size()) ? m_buttons[nIndex].style : 0;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return;
    Button& button = m_buttons[nIndex];
    if (button.style == nStyle) return;
    bool resized = (button.style ^ nStyle) & TBBS_SEPARATOR;
    button.style = nStyle;
    if (resized && m_pDockSite) m_pDockSite->RecalcLayout();
    if (m_hWnd) {
        CRect rect;
        GetItemRect(nIndex, &rect);
        InvalidateRect(resized ? nullptr : &rect);
    }
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
    bool valid = nIndex >= 0 && nIndex < static_cast<int>(m_buttons.size());
    nID = valid ? m_buttons[nIndex].id : 0;
    nStyle = valid ? m_buttons[nIndex].style : 0;
    iImage = valid ? m_buttons[nIndex].image : -1;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return;
    m_buttons[nIndex].id = nID;
    m_buttons[nIndex].image = iImage;
    m_buttons[nIndex].style = ~nStyle;  // forces the redraw below
    SetButtonStyle(nIndex, nStyle);
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return FALSE;
    m_buttons[nIndex].text = lpszText ? lpszText : "";
    if (m_hWnd) Invalidate();
    return TRUE;
}

CString CToolBar::GetButtonText(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_buttons.size()) ? CString(m_buttons[nIndex].text.c_str())
                                                                      : CString();
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    int length = 2 * kBarBorder;
    for (const Button& button : m_buttons)
        length += (button.style & TBBS_SEPARATOR) ? kSeparatorWidth : (bHorz ? m_sizeButton.cx : m_sizeButton.cy);
    int thickness = (bHorz ? m_sizeButton.cy : m_sizeButton.cx) + 2 * kBarBorder;
    return bHorz ? CSize(length, thickness) : CSize(thickness, length);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state(*this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_buttons.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        if (m_buttons[state.m_nIndex].style & TBBS_SEPARATOR) continue;
        state.m_nID = m_buttons[state.m_nIndex].id;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

int CToolBar::ButtonAt(POINT point) const {
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        if (m_buttons[i].style & TBBS_SEPARATOR) continue;
        CRect rect;
        GetItemRect(i, &rect);
        if (rect.PtInRect(point)) return i;
    }
    return -1;
}

// Each button's face: raised, sunk while held down, checked or pressed,
// with its image (pushed one pixel down and right when sunk), embossed in
// grey when disabled.
void CToolBar::Paint() {
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    fill(hDC, client, COLOR_BTNFACE);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        fill(hDC, RECT{0, client.bottom - 1, client.right, client.bottom}, COLOR_BTNSHADOW);
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        const Button& button = m_buttons[i];
        CRect rect;
        GetItemRect(i, &rect);
        if (button.style & TBBS_SEPARATOR) {
            int mid = (rect.left + rect.right) / 2;
            fill(hDC, RECT{mid - 1, rect.top + 2, mid, rect.bottom - 2}, COLOR_BTNSHADOW);
            fill(hDC, RECT{mid, rect.top + 2, mid + 1, rect.bottom - 2}, COLOR_BTNHIGHLIGHT);
            continue;
        }
        bool down = i == m_nPressed || (button.style & (TBBS_CHECKED | TBBS_PRESSED));
        edge(hDC, rect, down);
        int offset = down ? 1 : 0;
        PaintImage(hDC, button,
                   POINT{rect.left + (rect.Width() - m_sizeImage.cx) / 2 + offset,
                         rect.top + (rect.Height() - m_sizeImage.cy) / 2 + offset});
    }
    ::EndPaint(m_hWnd, &ps);
}

// The button's image from the bar's bitmap; without one (or past its end),
// a square of a colour of its own with a one-letter mark.
void CToolBar::PaintImage(HDC hDC, const Button& button, POINT at) {
    bool disabled = button.style & TBBS_DISABLED;
    BITMAP bm{};
    if (m_hbmImageWell && button.image >= 0 && ::GetObjectA(m_hbmImageWell, sizeof bm, &bm) == sizeof bm &&
        (button.image + 1) * m_sizeImage.cx <= bm.bmWidth) {
        HDC hMemory = ::CreateCompatibleDC(hDC);
        HGDIOBJ old = ::SelectObject(hMemory, disabled ? m_hbmDisabled : m_hbmImageWell);
        ::BitBlt(hDC, at.x, at.y, m_sizeImage.cx, m_sizeImage.cy, hMemory, button.image * m_sizeImage.cx, 0, SRCCOPY);
        ::SelectObject(hMemory, old);
        ::DeleteDC(hMemory);
        return;
    }
    static const COLORREF kImageColours[] = {RGB(0x3A, 0x6E, 0xA5), RGB(0x4E, 0x9A, 0x06), RGB(0xC4, 0xA0, 0x00),
                                             RGB(0xCE, 0x5C, 0x00), RGB(0x75, 0x50, 0x7B), RGB(0xA4, 0x00, 0x00)};
    int image = std::max(button.image, 0);
    RECT square{at.x, at.y, at.x + m_sizeImage.cx, at.y + m_sizeImage.cy};
    if (disabled) {
        fill(hDC, square, COLOR_BTNSHADOW);
    } else {
        HBRUSH brush = ::CreateSolidBrush(kImageColours[image % 6]);
        ::FillRect(hDC, &square, brush);
        ::DeleteObject(brush);
    }
    std::string mark =
        button.text.empty() ? std::string(1, static_cast<char>('1' + image % 9)) : button.text.substr(0, 1);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : RGB(0xFF, 0xFF, 0xFF));
    ::TextOutA(hDC, at.x + (m_sizeImage.cx - TextWidth(hDC, mark)) / 2, at.y - 1, mark.c_str(), 1);
}

// A click on an enabled button sends its command to the frame when the
// button comes up over it; a check box button changes its check first.
LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: {
        int i = ButtonAt(point);
        if (i >= 0 && !(m_buttons[i].style & TBBS_DISABLED)) {
            m_nPressed = i;
            SetCapture();
            Invalidate();
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        int pressed = std::exchange(m_nPressed, -1);
        if (pressed < 0) return 0;
        ::ReleaseCapture();
        Invalidate();
        if (ButtonAt(point) != pressed || (m_buttons[pressed].style & TBBS_DISABLED)) return 0;
        if (m_buttons[pressed].style & TBBS_CHECKBOX) SetButtonStyle(pressed, m_buttons[pressed].style ^ TBBS_CHECKED);
        CWnd* pOwner = m_pDockSite ? static_cast<CWnd*>(m_pDockSite) : GetParent();
        if (pOwner) pOwner->PostMessage(WM_COMMAND, MAKEWPARAM(m_buttons[pressed].id, BN_CLICKED), 0);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (m_nPressed >= 0 && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            m_nPressed = -1;
            Invalidate();
        }
        return 0;
    default: return CControlBar::WindowProc(message, wParam, lParam);
    }
}

// ---- CStatusBar ------------------------------------------------------------------------------------

namespace {

// A pane's update: disabled indicators show no text.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        UINT style = m_bar.GetPaneStyle(static_cast<int>(m_nIndex));
        m_bar.SetPaneStyle(static_cast<int>(m_nIndex), bOn ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override {
        UINT style = m_bar.GetPaneStyle(static_cast<int>(m_nIndex));
        m_bar.SetPaneStyle(static_cast<int>(m_nIndex), nCheck ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT));
    }
    void SetText(LPCTSTR lpszText) override { m_bar.SetPaneText(static_cast<int>(m_nIndex), lpszText); }

private:
    CStatusBar& m_bar;
};

}  // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID) {
    return CreateBar(pParentWnd, dwStyle, nID, "msctls_statusbar32");
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray)) return FALSE;
    m_panes.assign(static_cast<size_t>(nIDCount), Pane{});
    HDC hDC = ::GetDC(m_hWnd);
    BOOL result = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane& pane = m_panes[static_cast<size_t>(i)];
        pane.id = lpIDArray[i];
        if (pane.id == ID_SEPARATOR) {
            pane.style = i == 0 ? (SBPS_NOBORDERS | SBPS_STRETCH) : SBPS_NORMAL;
            continue;
        }
        CString text = PlatformLoadBarString(pane.id);
        if (text.IsEmpty()) result = FALSE;  // as on the original: an indicator needs its string
        pane.text = static_cast<LPCTSTR>(text);
        pane.width = TextWidth(hDC, pane.text);
    }
    ::ReleaseDC(m_hWnd, hDC);
    m_nCount = nIDCount;
    if (m_hWnd) Invalidate();
    return result;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return FALSE;
    std::string text = lpszNewText ? lpszNewText : "";
    if (m_panes[nIndex].text == text) return TRUE;
    m_panes[nIndex].text = std::move(text);
    if (bUpdate && m_hWnd) {
        std::vector<RECT> rects = PaneRects();
        ::InvalidateRect(m_hWnd, &rects[nIndex], TRUE);
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size()) ? CString(m_panes[nIndex].text.c_str()) : CString();
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) return;
    m_panes[nIndex].id = nID;
    m_panes[nIndex].style = nStyle;
    m_panes[nIndex].width = std::max(0, cxWidth);
    if (m_hWnd) Invalidate();
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    bool valid = nIndex >= 0 && nIndex < static_cast<int>(m_panes.size());
    nID = valid ? m_panes[nIndex].id : 0;
    nStyle = valid ? m_panes[nIndex].style : 0;
    cxWidth = valid ? m_panes[nIndex].width : 0;
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size()) ? m_panes[nIndex].style : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()) || m_panes[nIndex].style == nStyle) return;
    m_panes[nIndex].style = nStyle;
    if (m_hWnd) Invalidate();
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == nIDFind) return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size()) ? m_panes[nIndex].id : 0;
}

// The panes from the left: fixed ones as wide as their text, the stretching
// one taking what the others leave.
std::vector<RECT> CStatusBar::PaneRects() const {
    CRect client;
    GetClientRect(&client);
    int fixed = 0;
    int stretching = 0;
    for (const Pane& pane : m_panes) {
        if (pane.style & SBPS_STRETCH)
            ++stretching;
        else
            fixed += pane.width + 2 * kPanePadding;
        fixed += kPaneGap;
    }
    int spare = std::max(0, static_cast<int>(client.Width()) - 2 * kBarBorder - fixed);
    std::vector<RECT> rects;
    int x = kBarBorder;
    for (const Pane& pane : m_panes) {
        int width = (pane.style & SBPS_STRETCH) ? spare / std::max(stretching, 1) : pane.width + 2 * kPanePadding;
        rects.push_back(RECT{x, kBarBorder + 1, x + width, client.bottom - kBarBorder + 1});
        x += width + kPaneGap;
    }
    return rects;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    std::vector<RECT> rects = PaneRects();
    *lpRect = nIndex >= 0 && nIndex < static_cast<int>(rects.size()) ? rects[nIndex] : RECT{};
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    return bHorz ? CSize(32767, kStatusHeight) : CSize(kStatusHeight, 32767);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CStatusCmdUI state(*this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].id;
        // Indicators stay as they are without handlers; panes have no commands.
        if (state.m_nID != ID_SEPARATOR) state.DoUpdate(pTarget, FALSE);
    }
    (void)bDisableIfNoHndler;
}

void CStatusBar::Paint() {
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    fill(hDC, client, COLOR_BTNFACE);
    fill(hDC, RECT{0, 0, client.right, 1}, COLOR_BTNHIGHLIGHT);
    std::vector<RECT> rects = PaneRects();
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ::GetSysColor(COLOR_BTNTEXT));
    for (size_t i = 0; i < m_panes.size(); ++i) {
        const Pane& pane = m_panes[i];
        RECT r = rects[i];
        if (!(pane.style & SBPS_NOBORDERS)) edge(hDC, r, !(pane.style & SBPS_POPOUT));
        if (pane.style & SBPS_DISABLED) continue;
        int x = (pane.style & SBPS_STRETCH) ? r.left + 2 : r.left + kPanePadding;
        ::TextOutA(hDC, x, r.top + 2, pane.text.c_str(), static_cast<int>(pane.text.size()));
    }
    ::EndPaint(m_hWnd, &ps);
}

// WM_SETTEXT sets the message pane, as on the original.
LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_SETTEXT:
        if (!m_panes.empty()) SetPaneText(0, reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        std::string text = m_panes.empty() ? std::string() : m_panes[0].text;
        if (wParam == 0) return 0;
        size_t count = std::min<size_t>(text.size(), wParam - 1);
        std::memcpy(reinterpret_cast<LPSTR>(lParam), text.data(), count);
        reinterpret_cast<LPSTR>(lParam)[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH: return m_panes.empty() ? 0 : static_cast<LRESULT>(m_panes[0].text.size());
    default: return CControlBar::WindowProc(message, wParam, lParam);
    }
}

// ---- The bars' strings ------------------------------------------------------------------------------

CString PlatformLoadBarString(UINT nID) {
    std::string text;
    if (platform::LoadStringResource(AfxFindStringResourceHandle(nID), nID, text)) return CString(text.c_str());
    switch (nID) {
    case ID_INDICATOR_EXT: return "EXT";
    case ID_INDICATOR_CAPS: return "CAP";
    case ID_INDICATOR_NUM: return "NUM";
    case ID_INDICATOR_SCRL: return "SCRL";
    case ID_INDICATOR_OVR: return "OVR";
    case ID_INDICATOR_REC: return "REC";
    case AFX_IDS_IDLEMESSAGE: return "Ready";
    default: return CString();
    }
}
