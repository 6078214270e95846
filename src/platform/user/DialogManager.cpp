// The dialog manager: making dialogs from templates, their default
// procedure, ending them, the modal loop and the item calls (DialogBox.h).
#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/crt/Crt.h"
#include "platform/gdi/Mapping.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/Resources.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/Controls.h"
#include "platform/user/DecimalText.h"
#include "platform/user/DialogBox.h"
#include "platform/user/DialogTemplate.h"
#include "platform/user/EditCore.h"
#include "platform/user/Modal.h"
#include "platform/user/Painting.h"
#include "platform/user/UserDriver.h"

namespace {

struct DialogState {
    DLGPROC proc = nullptr;
    HWND owner = nullptr;  // the top-level window a modal dialog disables
    bool ended = false;
    INT_PTR result = 0;
    WORD defId = 0;        // 0: the template's BS_DEFPUSHBUTTON
    HWND focus = nullptr;  // the control to give the focus back to
    int baseX = 0;
    int baseY = 0;
    HFONT font = nullptr;  // the template's, owned; null: the system font
};

struct DialogTable {
    std::mutex lock;
    std::unordered_map<HWND, std::shared_ptr<DialogState>> dialogs;
    DialogResponder responder;
};

DialogTable& table() {
    static NoDestructor<DialogTable> instance;
    return *instance;
}

std::shared_ptr<DialogState> StateOf(HWND hDlg) {
    DialogTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.dialogs.find(hDlg);
    return it == t.dialogs.end() ? nullptr : it->second;
}

// The dialog's font goes with it: its controls are gone by then.
void forget(HWND hDlg) {
    std::shared_ptr<DialogState> state;
    {
        DialogTable& t = table();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.dialogs.find(hDlg);
        if (it == t.dialogs.end()) return;
        state = std::move(it->second);
        t.dialogs.erase(it);
    }
    if (state->font) DeleteObject(state->font);
}

// The template's font (DS_SETFONT) as the original makes it: the point
// size at the screen's pixels an inch, rounded, with the template's weight,
// italic, character set and face. Null without one, for the size 0x7FFF
// (the original's "the message box font", which here is the system font),
// or when the font cannot be made: the dialog then keeps the system font.
HFONT CreateTemplateFont(const platform::DialogTemplate& t) {
    if (!(t.style & DS_SETFONT) || t.pointSize == 0x7FFF) return nullptr;
    HDC hDC = CreateCompatibleDC(nullptr);
    int perInch = hDC ? GetDeviceCaps(hDC, LOGPIXELSY) : 96;
    if (hDC) DeleteDC(hDC);
    LOGFONTA log{};
    log.lfHeight = -((t.pointSize * perInch + 36) / 72);
    log.lfWeight = t.weight;
    log.lfItalic = t.italic;
    log.lfCharSet = t.charset;
    t.face.copy(log.lfFaceName, sizeof log.lfFaceName - 1);
    return CreateFontIndirectA(&log);
}

// Base units of a font (null: the system font): the average width of the
// alphabet's letters, rounded as the original rounds it, and the height of
// its lines.
SIZE BaseUnits(HFONT hFont) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC hDC = CreateCompatibleDC(nullptr);
    if (hDC && hFont) SelectObject(hDC, hFont);
    SIZE size{};
    GetTextExtentPoint32A(hDC, alphabet, 52, &size);
    TEXTMETRICA tm{};
    LONG height = GetTextMetricsA(hDC, &tm) ? tm.tmHeight : size.cy;
    if (hDC) DeleteDC(hDC);
    return SIZE{(size.cx / 26 + 1) / 2, height};
}

int ScaleRounded(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product >= 0 ? product + denominator / 2 : product - denominator / 2) / denominator);
}

RECT ToPixels(int x, int y, int cx, int cy, SIZE base) {
    int left = ScaleRounded(x, base.cx, 4);
    int top = ScaleRounded(y, base.cy, 8);
    return RECT{left, top, left + ScaleRounded(cx, base.cx, 4), top + ScaleRounded(cy, base.cy, 8)};
}

// Where a top-level dialog goes: centred on its owner (the screen without
// one) with DS_CENTER, at screen coordinates with DS_ABSALIGN, else offset
// from the owner's client origin.
void PlaceTopLevel(const platform::DialogTemplate& t, HWND hOwner, RECT& rect) {
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    POINT origin{0, 0};
    if (t.style & (DS_CENTER | DS_CENTERMOUSE)) {
        RECT area{0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
        if (hOwner) GetWindowRect(hOwner, &area);
        origin =
            POINT{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
        rect = RECT{origin.x, origin.y, origin.x + width, origin.y + height};
        return;
    }
    if (hOwner && !(t.style & DS_ABSALIGN)) ClientToScreen(hOwner, &origin);
    rect = RECT{rect.left + origin.x, rect.top + origin.y, rect.right + origin.x, rect.bottom + origin.y};
}

// Each control is told the dialog's font as soon as it is made.
HWND CreateItems(HWND hDlg, const platform::DialogTemplate& t, SIZE base, HINSTANCE hInstance, HFONT hFont) {
    for (const platform::DialogItemTemplate& item : t.items) {
        const char* className = item.className.ordinal ? platform::DialogClassFromOrdinal(item.className.ordinal)
                                                       : item.className.text.c_str();
        RECT r = ToPixels(item.x, item.y, item.cx, item.cy, base);
        // An ordinal title names a resource (a static's icon): "#n".
        std::string title = item.title.ordinal ? "#" + std::to_string(item.title.ordinal) : item.title.text;
        HWND hItem = className ? CreateWindowExA(
                                     item.exStyle, className, title.c_str(), (item.style | WS_CHILD) & ~WS_POPUP,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, hDlg,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), hInstance,
                                     item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()))
                               : nullptr;
        if (hItem && hFont) SendMessageA(hItem, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        if (!hItem && !(t.style & DS_NOFAILCREATE)) return nullptr;
    }
    return hDlg;
}

[[maybe_unused]] const ATOM kDialogClass = PlatformRegisterClass(WC_DIALOG, [] { return WindowProc(DefDlgProcA); });

const bool kWatching = [] {
    PlatformWatchWindowRemoval(&table(), [](HWND hWnd) { forget(hWnd); });
    return true;
}();

bool IsButtonOfType(HWND hWnd, DWORD type) {
    char name[16];
    return GetClassNameA(hWnd, name, sizeof name) && crt::_stricmp(name, "Button") == 0 &&
           (static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)) & BS_TYPEMASK) == type;
}

WORD TemplateDefault(HWND hDlg) {
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsButtonOfType(h, BS_DEFPUSHBUTTON)) return static_cast<WORD>(GetDlgCtrlID(h));
    return 0;
}

void SetDefault(HWND hDlg, DialogState& state, WORD id) {
    WORD old = state.defId ? state.defId : TemplateDefault(hDlg);
    HWND hOld = old ? GetDlgItem(hDlg, old) : nullptr;
    if (hOld && IsButtonOfType(hOld, BS_DEFPUSHBUTTON)) SendMessageA(hOld, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    state.defId = id;
    HWND hNew = GetDlgItem(hDlg, id);
    if (hNew && IsButtonOfType(hNew, BS_PUSHBUTTON)) SendMessageA(hNew, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void FocusControl(HWND hDlg, HWND hCtl) {
    if (!hCtl) return;
    SetFocus(hCtl);
    if (SendMessageA(hCtl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(hCtl, EM_SETSEL, 0, -1);
    if (auto state = StateOf(hDlg)) state->focus = hCtl;
}

// The responder without a screen, then the queue run dry.
void AnswerWithoutScreen(HWND hDlg, DialogState& state) {
    DialogResponder responder;
    {
        DialogTable& t = table();
        std::lock_guard<std::mutex> guard(t.lock);
        responder = t.responder;
    }
    if (responder && !state.ended) responder(hDlg);
    MSG msg;
    while (!state.ended && IsWindow(hDlg) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(hDlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (!state.ended && IsWindow(hDlg))
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
    if (!state.ended) EndDialog(hDlg, IDCANCEL);
}

void AnswerOnScreen(HWND hDlg, DialogState& state) {
    MSG msg;
    while (!state.ended && IsWindow(hDlg)) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            EndDialog(hDlg, IDCANCEL);
            break;
        }
        if (!IsDialogMessageA(hDlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

HWND PlatformCreateDialog(const void* pTemplate, size_t cbTemplate, HWND hWndParent, DLGPROC lpDialogFunc,
                          LPARAM dwInitParam, WindowProc proc, HINSTANCE hInstance) {
    platform::DialogTemplate t;
    if (!platform::ParseDialogTemplate(pTemplate, cbTemplate, &t)) return nullptr;
    if (hWndParent && !IsWindow(hWndParent)) return nullptr;
    HFONT hFont = CreateTemplateFont(t);
    SIZE base = BaseUnits(hFont);
    RECT rect = ToPixels(t.x, t.y, t.cx, t.cy, base);
    bool child = t.style & WS_CHILD;
    HWND hOwner = child ? nullptr : user::dialogOwner(hWndParent);
    if (!child) PlaceTopLevel(t, hOwner, rect);
    const char* className = t.className.text.empty() ? WC_DIALOG : t.className.text.c_str();
    DWORD style = t.style & ~WS_VISIBLE;
    HWND hParent = child ? hWndParent : nullptr;
    HWND hDlg =
        proc
            ? PlatformCreateWindowEx(std::move(proc), t.exStyle, WC_DIALOG, t.title.c_str(), style, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, hParent, nullptr, nullptr)
            : CreateWindowExA(t.exStyle, className, t.title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, hParent, nullptr, nullptr, nullptr);
    if (!hDlg) {
        if (hFont) DeleteObject(hFont);
        return nullptr;
    }
    auto state = std::make_shared<DialogState>();
    state->proc = lpDialogFunc;
    state->owner = hOwner;
    state->baseX = base.cx;
    state->baseY = base.cy;
    state->font = hFont;
    {
        DialogTable& dt = table();
        std::lock_guard<std::mutex> guard(dt.lock);
        dt.dialogs[hDlg] = state;
    }
    if (hFont) SendMessageA(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    if (!CreateItems(hDlg, t, base, hInstance, hFont)) {
        DestroyWindow(hDlg);
        return nullptr;
    }
    HWND hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    LRESULT focusFirst = SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), dwInitParam);
    if (!IsWindow(hDlg)) return nullptr;
    if (focusFirst && hFirst && IsWindow(hFirst)) FocusControl(hDlg, hFirst);
    if ((t.style & WS_VISIBLE) && !state->ended) ShowWindow(hDlg, SW_SHOWNORMAL);
    return hDlg;
}

INT_PTR PlatformRunModalDialog(HWND hDlg) {
    std::shared_ptr<DialogState> state = StateOf(hDlg);
    if (!state || !IsWindow(hDlg)) return -1;
    HWND hOwner = state->owner;
    bool disabledHere = hOwner && !EnableWindow(hOwner, FALSE);
    if (!state->ended) {
        ShowWindow(hDlg, SW_SHOWNORMAL);
        if (PlatformIsDisplayThread() && IsWindow(hDlg))
            AnswerOnScreen(hDlg, *state);
        else
            AnswerWithoutScreen(hDlg, *state);
    }
    if (disabledHere && IsWindow(hOwner)) EnableWindow(hOwner, TRUE);
    if (IsWindow(hDlg)) DestroyWindow(hDlg);
    if (disabledHere && IsWindow(hOwner)) SetActiveWindow(hOwner);
    return state->result;
}

HWND CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc,
                                LPARAM dwInitParam) {
    return PlatformCreateDialog(lpTemplate, SIZE_MAX, hWndParent, lpDialogFunc, dwInitParam, {}, hInstance);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA hDialogTemplate, HWND hWndParent,
                                DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    HWND hDlg = PlatformCreateDialog(hDialogTemplate, SIZE_MAX, hWndParent, lpDialogFunc, dwInitParam, {}, hInstance);
    return hDlg ? PlatformRunModalDialog(hDlg) : -1;
}

BOOL PlatformFindDialogTemplate(HINSTANCE hInstance, LPCSTR lpTemplateName, const void** ppTemplate,
                                size_t* pcbTemplate) {
    HRSRC hResource = FindResourceA(hInstance, lpTemplateName, RT_DIALOG);
    const void* pData = hResource ? LockResource(LoadResource(hInstance, hResource)) : nullptr;
    if (!pData) return FALSE;
    *ppTemplate = pData;
    *pcbTemplate = SizeofResource(hInstance, hResource);
    return TRUE;
}

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
    const void* pTemplate = nullptr;
    size_t cbTemplate = 0;
    if (!PlatformFindDialogTemplate(hInstance, lpTemplateName, &pTemplate, &cbTemplate)) return nullptr;
    return PlatformCreateDialog(pTemplate, cbTemplate, hWndParent, lpDialogFunc, dwInitParam, {}, hInstance);
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
    HWND hDlg = CreateDialogParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
    return hDlg ? PlatformRunModalDialog(hDlg) : -1;
}

DialogResponder PlatformSetDialogResponder(DialogResponder responder) {
    DialogTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    std::swap(t.responder, responder);
    return responder;
}

LRESULT DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<DialogState> state = StateOf(hDlg);
    if (state && state->proc) {
        if (INT_PTR answer = state->proc(hDlg, Msg, wParam, lParam)) return answer;
    }
    switch (Msg) {
    case WM_INITDIALOG: return state && state->proc ? FALSE : TRUE;
    case WM_CLOSE:
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
        return 0;
    case WM_ERASEBKGND: {
        auto hDC = reinterpret_cast<HDC>(wParam);
        auto hBrush =
            reinterpret_cast<HBRUSH>(SendMessageA(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
        RECT client;
        GetClientRect(hDlg, &client);
        FillRect(hDC, &client, hBrush ? hBrush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORDLG: return PlatformDefaultCtlColor(reinterpret_cast<HDC>(wParam), COLOR_BTNFACE);
    case WM_GETFONT: return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_SETFOCUS: {
        HWND hFocus = state && IsWindow(state->focus) && GetParent(state->focus) == hDlg
                          ? state->focus
                          : GetNextDlgTabItem(hDlg, nullptr, FALSE);
        FocusControl(hDlg, hFocus);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && state) {
            HWND hFocus = GetFocus();
            if (hFocus && GetParent(hFocus) == hDlg) state->focus = hFocus;
            return 0;
        }
        break;
    case DM_GETDEFID: {
        WORD id = state && state->defId ? state->defId : TemplateDefault(hDlg);
        return id ? MAKELONG(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        if (state) SetDefault(hDlg, *state, static_cast<WORD>(wParam));
        return TRUE;
    case WM_NEXTDLGCTL: {
        HWND hNext = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hDlg, GetFocus(), wParam != 0);
        FocusControl(hDlg, hNext);
        return 0;
    }
    default: break;
    }
    return DefWindowProcA(hDlg, Msg, wParam, lParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    std::shared_ptr<DialogState> state = StateOf(hDlg);
    if (!state) return FALSE;
    state->ended = true;
    state->result = nResult;
    ShowWindow(hDlg, SW_HIDE);
    return TRUE;
}

// ---- Items ------------------------------------------------------------------------------

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (static_cast<int>(GetWindowLongPtrA(h, GWLP_ID)) == nIDDlgItem) return h;
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) { return static_cast<int>(GetWindowLongPtrA(hWnd, GWLP_ID)); }

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND hItem = GetDlgItem(hDlg, nIDDlgItem);
    return hItem ? SendMessageA(hItem, Msg, wParam, lParam) : 0;
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    HWND hItem = GetDlgItem(hDlg, nIDDlgItem);
    return hItem ? SetWindowTextA(hItem, lpString) : FALSE;
}

UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    HWND hItem = GetDlgItem(hDlg, nIDDlgItem);
    if (!hItem) {
        if (lpString && cchMax > 0) *lpString = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(hItem, lpString, cchMax));
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
    char text[16];
    snprintf(text, sizeof text, bSigned ? "%d" : "%u", bSigned ? static_cast<int>(uValue) : uValue);
    return SetDlgItemTextA(hDlg, nIDDlgItem, text);
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
    HWND hItem = GetDlgItem(hDlg, nIDDlgItem);
    if (!hItem) {
        if (lpTranslated) *lpTranslated = FALSE;
        return 0;
    }
    int length = GetWindowTextLengthA(hItem);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(hItem, text.data(), length + 1);
    bool ok;
    UINT value = 0;
    if (bSigned) {
        int number = 0;
        ok = user::ParseDecimal(text.c_str(), &number);
        value = static_cast<UINT>(number);
    } else {
        ok = user::ParseDecimal(text.c_str(), &value);
    }
    if (lpTranslated) *lpTranslated = ok;
    return ok ? value : 0;
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND hItem = GetDlgItem(hDlg, nIDButton);
    if (!hItem) return FALSE;
    SendMessageA(hItem, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    if (!IsWindow(hDlg)) return FALSE;
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        SendDlgItemMessageA(hDlg, id, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect) {
    std::shared_ptr<DialogState> state = StateOf(hDlg);
    if (!state || !lpRect) return FALSE;
    *lpRect = RECT{ScaleRounded(lpRect->left, state->baseX, 4), ScaleRounded(lpRect->top, state->baseY, 8),
                   ScaleRounded(lpRect->right, state->baseX, 4), ScaleRounded(lpRect->bottom, state->baseY, 8)};
    return TRUE;
}

LONG GetDialogBaseUnits() {
    SIZE base = BaseUnits(nullptr);
    return MAKELONG(base.cx, base.cy);
}
