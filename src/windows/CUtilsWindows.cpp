// CUtils: window utilities.
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "containers/CStr.h"
#include "files/CUtils.h"
#include "platform/crt/Stdio.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/RichEdit.h"
#include "platform/user/Dialogs.h"
#include "platform/user/Painting.h"

namespace {

constexpr DWORD kOpenFileNameSize = 76;  // the original 32-bit layout
constexpr int kFileBufferSize = 100;
constexpr DWORD kOpenFileFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST;  // 0x81000
static_assert(kOpenFileFlags == 0x81000);
// One filter entry whose description is the text and whose pattern is empty.
constexpr char kTextFilter[] = "*.TXT;*.DOC;*.BAK\0\0";
static_assert(sizeof kTextFilter == 20);

// The dialog's answer, or the empty text when it was cancelled or failed.
CString RunOpenFileDialog(HWND owner, LPCSTR lpstrFilter) {
    char file[kFileBufferSize] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = kOpenFileNameSize;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = lpstrFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kFileBufferSize;
    ofn.lpstrTitle = "Open File";
    ofn.Flags = kOpenFileFlags;
    return GetOpenFileNameA(&ofn) ? CString(file) : CString();
}

}  // namespace

void CUtils::SetViewStatus(char* text, HWND receiver, UINT code) {
    char empty[] = "";
    CStr copy(text ? text : empty);
    COPYDATASTRUCT cds{code, static_cast<DWORD>(std::strlen(copy.m_pStr) + 1), copy.m_pStr};
    ::SendMessageA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

int CUtils::WriteFileToRichEditPane(CString path, CString& rText, CRichEditCtrl& control) {
    CFileStatus status;
    if (!CFile::GetStatus(path, status) || (status.m_attribute & CFile::directory) ||
        status.m_size == std::numeric_limits<LONG>::max())  // the status caps sizes from 2 GiB on
        return !m_bSuccess;
    rText.Empty();
    control.SendMessage(WM_CLEAR, 0, 0);
    std::unique_ptr<FILE, int (*)(FILE*)> file(crt::fopen(path, "rb"), std::fclose);
    if (!file) return !m_bSuccess;
    // Read straight into the text, zero-filled, and cut at its first zero byte.
    auto size = static_cast<size_t>(status.m_size);
    try {
        char* buffer = rText.GetBufferSetLength(static_cast<int>(size));
        std::memset(buffer, 0, size + 1);
        std::fread(buffer, 1, size, file.get());
        rText.ReleaseBuffer(-1);
    } catch (const std::bad_alloc&) {
        rText.Empty();
        return !m_bSuccess;
    }
    control.SetWindowText(rText);
    control.UpdateWindow();
    return m_bSuccess;
}

void CUtils::OpenFileDialog(HWND owner, CString& rPath) { rPath = RunOpenFileDialog(owner, nullptr); }

void CUtils::OpenFileDialog(HWND owner, CEdit& edit) { edit.SetWindowText(RunOpenFileDialog(owner, kTextFilter)); }

void CUtils::SetChildWindowPlacement(CRect& area, CWnd* pChild, int width, int side) {
    if (!pChild) return;
    CRect child;
    if (side == 2) {
        child.SetRect(area.right - width, area.top, area.right, area.bottom);
        area.right -= width;
    } else {
        child.SetRect(area.left, area.top, area.left + width, area.bottom);
        area.left += width;
    }
    WINDOWPLACEMENT wp{};
    pChild->GetWindowPlacement(&wp);
    wp.length = sizeof wp;
    wp.flags = 0;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = child;
    pChild->SetWindowPlacement(&wp);
}

void CUtils::ResizeRect(CRect& rect) {
    if (rect.left < 0) rect.SetRect(0, rect.top, rect.right - rect.left, rect.bottom);
}

void CUtils::ResizeRect(RECT& rect) {
    CRect copy(rect);
    ResizeRect(copy);
    rect = copy;
}

void CUtils::ChangeBackgroundColor(CWnd* pWnd, COLORREF color, COLORREF& rColor, HBRUSH& rBrush) {
    if (rBrush) DeleteObject(rBrush);
    rColor = color;
    rBrush = CreateSolidBrush(color);
    HWND hParent = pWnd ? ::GetParent(pWnd->m_hWnd) : nullptr;
    if (!hParent) return;
    ::InvalidateRect(hParent, nullptr, TRUE);
    ::UpdateWindow(hParent);
}

CRect CUtils::GetWindowRect(CWnd* pWnd) {
    WINDOWPLACEMENT wp;
    if (!pWnd || !pWnd->GetWindowPlacement(&wp)) return CRect();
    return CRect(wp.rcNormalPosition);
}
