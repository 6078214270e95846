// CGenericWnd: the companion's colours, owner drawing and glyph moves, and
// the list of live companions.
#include "windows/CGenericWnd.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/mfc/ColorDialog.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/MessageBox.h"
#include "platform/shared/NoDestructor.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kInitialDialogColor = 0x00FAC8;  // red 200, green 250, blue 0

// Every live companion, oldest first.
struct Companions {
    std::mutex lock;
    std::vector<const CGenericWnd*> all;
};

Companions& TheCompanions() {
    static NoDestructor<Companions> companions;  // companions may outlive static destruction
    return *companions;
}

void Register(const CGenericWnd* p) {
    Companions& c = TheCompanions();
    std::lock_guard<std::mutex> guard(c.lock);
    c.all.push_back(p);
}

void Unregister(const CGenericWnd* p) {
    Companions& c = TheCompanions();
    std::lock_guard<std::mutex> guard(c.lock);
    std::erase(c.all, p);
}

// The first companion serving the window object; it is compared, never
// dereferenced, so a stale m_pWnd elsewhere does no harm.
CGenericWnd* CompanionOf(const CWnd* pWnd) {
    if (!pWnd) return nullptr;
    Companions& c = TheCompanions();
    std::lock_guard<std::mutex> guard(c.lock);
    auto it = std::find_if(c.all.begin(), c.all.end(), [pWnd](const CGenericWnd* p) { return p->m_pWnd == pWnd; });
    return it == c.all.end() ? nullptr : const_cast<CGenericWnd*>(*it);
}

bool HasWindow(const CWnd* pWnd) { return pWnd && IsWindow(pWnd->m_hWnd); }

}  // namespace

CGenericWnd::CGenericWnd()
    : m_pChildDraws(nullptr), m_crBackground(0), m_hBackgroundBrush(nullptr), m_pInfo(nullptr), m_nParam(0), m_nID(0),
      m_nInfoValue1(0), m_nInfoValue2(0), m_pWnd(nullptr), m_dwReserved{} {
    Register(this);
}

CGenericWnd::CGenericWnd(const CGenericWnd& other) : m_pChildDraws(nullptr), m_hBackgroundBrush(nullptr) {
    CopyFrom(other);
    Register(this);
}

CGenericWnd& CGenericWnd::operator=(const CGenericWnd& other) {
    if (this != &other) {
        ReleaseOwned();
        CopyFrom(other);
    }
    return *this;
}

CGenericWnd::~CGenericWnd() {
    Unregister(this);
    ReleaseOwned();
}

void CGenericWnd::CopyFrom(const CGenericWnd& other) {
    if (other.m_pChildDraws) {
        RecreateObject(m_pChildDraws);
        for (auto* node = other.m_pChildDraws->m_pHead; node; node = node->pNext) m_pChildDraws->Add(node->pValue);
    }
    m_crBackground = other.m_crBackground;
    m_hBackgroundBrush = other.m_hBackgroundBrush ? CreateSolidBrush(other.m_crBackground) : nullptr;
    m_pInfo = other.m_pInfo;
    m_nParam = other.m_nParam;
    m_nID = other.m_nID;
    m_nInfoValue1 = other.m_nInfoValue1;
    m_nInfoValue2 = other.m_nInfoValue2;
    m_ptLastClick = other.m_ptLastClick;
    m_pWnd = other.m_pWnd;
    std::copy(std::begin(other.m_dwReserved), std::end(other.m_dwReserved), m_dwReserved);
}

void CGenericWnd::ReleaseOwned() {
    delete m_pChildDraws;
    m_pChildDraws = nullptr;
    DeleteBackgroundBrush(0);
}

// ---- Creation and colours ----------------------------------------------------------

BOOL CGenericWnd::Create(LPCTSTR, DWORD, const RECT&, CWnd*, UINT nID, DWORD dwColor) {
    m_nID = nID;
    m_crBackground = dwColor;
    DeleteBackgroundBrush(0);  // a second Create does not leak the first brush
    m_hBackgroundBrush = CreateSolidBrush(m_crBackground);
    return TRUE;
}

BOOL CGenericWnd::Create(LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                         DWORD dwColor, CGenericInfo*& pInfo, int& nParam) {
    Create(lpszClassName, dwStyle, rect, pParentWnd, nID, dwColor);
    m_nParam = nParam;
    m_pInfo = pInfo;
    m_nInfoValue1 = pInfo ? pInfo->m_dwValue1 : 0;
    m_nInfoValue2 = pInfo ? pInfo->m_dwValue2 : 0;
    return TRUE;
}

BOOL CGenericWnd::Create(LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                         CGenericInfo*& pInfo, int& nParam) {
    return Create(lpszClassName, dwStyle, rect, pParentWnd, nID, kWhite, pInfo, nParam);
}

void CGenericWnd::Repaint(CWnd* pWnd) {
    if (!HasWindow(pWnd)) return;
    HWND hParent = ::GetParent(pWnd->m_hWnd);
    if (!hParent) return;
    ::InvalidateRect(hParent, nullptr, TRUE);
    ::UpdateWindow(hParent);
}

void CGenericWnd::ChangeBackgroundColor(COLORREF crColor) { ChangeBackgroundColor(m_pWnd, crColor); }

void CGenericWnd::ChangeBackgroundColor(CWnd* pWnd, COLORREF crColor) {
    DeleteBackgroundBrush(0);
    m_crBackground = crColor;
    m_hBackgroundBrush = CreateSolidBrush(crColor);
    Repaint(pWnd);
}

void CGenericWnd::SelectNewColor() {
    CColorDialog dialog(kInitialDialogColor, 0, nullptr);
    if (dialog.DoModal() == IDOK) ChangeBackgroundColor(CColorDialog::GetSavedCustomColors()[0]);
}

void CGenericWnd::DeleteBackgroundBrush(int) {
    if (!m_hBackgroundBrush) return;
    DeleteObject(m_hBackgroundBrush);
    m_hBackgroundBrush = nullptr;
}

void CGenericWnd::LoadBackgroundColor(int) {
    DeleteBackgroundBrush(0);
    m_hBackgroundBrush = CreateSolidBrush(m_crBackground);
}

BOOL CGenericWnd::GetParams() { return TRUE; }

HBRUSH CGenericWnd::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor, HBRUSH hbrDefault) {
    if (pDC) pDC->SetTextColor(0);
    if (nCtlColor != CTLCOLOR_DLG && nCtlColor != CTLCOLOR_STATIC && nCtlColor != CTLCOLOR_BTN) return hbrDefault;
    if (pDC) pDC->SetBkColor(m_crBackground);
    return m_hBackgroundBrush;
}

// ---- Owner drawing ---------------------------------------------------------------------

void CGenericWnd::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!lpDrawItemStruct) return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (pDC) pDC->FillRect(&lpDrawItemStruct->rcItem, CBrush::FromHandle(m_hBackgroundBrush));
    if (HasWindow(m_pWnd)) m_pWnd->SendMessage(WM_DRAWOWNWINDOW, reinterpret_cast<WPARAM>(pDC), 0);
    if (!m_pChildDraws) return;
    for (auto* node = m_pChildDraws->MoveFirst(); node; node = m_pChildDraws->MoveNext())
        if (CWnd* pChild = *node->pValue; HasWindow(pChild)) pChild->InvalidateRect(&lpDrawItemStruct->rcItem, FALSE);
}

void CGenericWnd::DrawChildItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (!lpDrawItemStruct || !m_pChildDraws) return;
    auto position = static_cast<int32_t>(lpDrawItemStruct->CtlID) - 1;
    for (auto* node = m_pChildDraws->MoveFirst(); node; node = m_pChildDraws->MoveNext()) {
        if (node->nIndex != position) continue;
        if (auto* pButton = DYNAMIC_DOWNCAST(CButton, *node->pValue)) pButton->DrawItem(lpDrawItemStruct);
        return;
    }
}

void CGenericWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) { DrawChildItem(lpDrawItemStruct); }

UINT CGenericWnd::AddToChildDraws(CWnd* pWnd) {
    if (!m_pChildDraws) RecreateObject(m_pChildDraws);
    m_pChildDraws->Add(&pWnd);
    return m_pChildDraws->m_nCount;
}

// ---- Moving ---------------------------------------------------------------------------

void CGenericWnd::OnLButtonDown(UINT, CPoint point) { m_ptLastClick = point; }

void CGenericWnd::MoveGlyph(CPoint ptNew, CPoint ptOld) {
    CPoint delta(ptNew.x - ptOld.x, ptNew.y - ptOld.y);
    MoveWndByDelta(delta);
}

void CGenericWnd::MoveWndByDelta(CPoint& ptDelta) {
    WINDOWPLACEMENT wp;
    if (!HasWindow(m_pWnd) || !m_pWnd->GetWindowPlacement(&wp)) return;
    CRect rect(wp.rcNormalPosition);
    rect.OffsetRect(ptDelta.x, ptDelta.y);
    m_pWnd->MoveWindow(&rect, TRUE);
}

void CGenericWnd::MoveBottomWnd(CPoint&) {}

void CGenericWnd::ConvertToParentPoints(CPoint& point) {
    if (!HasWindow(m_pWnd)) return;
    HWND hParent = ::GetParent(m_pWnd->m_hWnd);
    if (!hParent) return;
    m_pWnd->ClientToScreen(&point);
    ::ScreenToClient(hParent, &point);
}

void CGenericWnd::MoveParentGeneric(CPoint point) {
    if (!HasWindow(m_pWnd)) return;
    CGenericWnd* pParent = CompanionOf(m_pWnd->GetParent());
    if (!pParent) return;
    CPoint ptNew = point, ptOld = m_ptLastClick;
    ConvertToParentPoints(ptNew);
    ConvertToParentPoints(ptOld);
    pParent->MoveGlyph(ptNew, ptOld);
}

void CGenericWnd::DrawOwnWindow(CDC*) {}
