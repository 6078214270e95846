// The common dialogs: the desktop's on a display, the responders without.
#include "platform/user/Dialogs.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Modal.h"

namespace {

// The structure sizes of the original 32-bit platform.
constexpr DWORD kChooseColorSize32 = 36;
constexpr DWORD kOpenFileNameSize32V4 = 76;
constexpr DWORD kOpenFileNameSize32 = 88;
constexpr DWORD kOpenFileNameSizeV4 = offsetof(OPENFILENAMEA, pvReserved);

struct Responders {
    std::mutex lock;
    ColorDialogResponder color;
    OpenFileResponder openFile;
};

Responders& TheResponders() {
    static NoDestructor<Responders> responders;  // dialogs may run while the process exits
    return *responders;
}

template <class Responder>
Responder Current(Responder Responders::*member) {
    Responders& r = TheResponders();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.*member;
}

template <class Responder>
Responder Exchange(Responder Responders::*member, Responder responder) {
    Responders& r = TheResponders();
    std::lock_guard<std::mutex> guard(r.lock);
    std::swap(r.*member, responder);
    return responder;
}

thread_local DWORD lastError = 0;

BOOL Fail(DWORD error) {
    lastError = error;
    return FALSE;
}

COLORREF savedCustomColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

bool FileExists(const std::string& path) {
    std::string posix;
    platform::fs::FileInfo info;
    return platform::fs::ToPosix(path.c_str(), posix) && platform::fs::Stat(posix, info, true) == 0 &&
           !info.isDirectory;
}

// Copies the chosen path into the caller's buffers.
BOOL DeliverPath(OPENFILENAMEA& ofn, const std::string& path) {
    size_t needed = path.size() + 1;
    if (needed > ofn.nMaxFile) {
        if (ofn.nMaxFile >= sizeof(WORD)) {
            auto size = static_cast<WORD>(std::min<size_t>(needed, 0xFFFF));
            std::memcpy(ofn.lpstrFile, &size, sizeof size);
        }
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), needed);
    size_t name = path.find_last_of("\\/");
    name = name == std::string::npos ? 0 : name + 1;
    size_t dot = path.find_last_of('.');
    size_t extension = dot == std::string::npos || dot < name ? path.size() : dot + 1;
    ofn.nFileOffset = static_cast<WORD>(std::min<size_t>(name, 0xFFFF));
    ofn.nFileExtension = static_cast<WORD>(std::min<size_t>(extension, 0xFFFF));
    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
        size_t count = std::min<size_t>(path.size() - name, ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, path.c_str() + name, count);
        ofn.lpstrFileTitle[count] = '\0';
    }
    return TRUE;
}

// ---- On a display ----------------------------------------------------------------------------

// The colour chosen goes first among the custom colours, unless it is one
// of them already; the others move along and the last drops off.
void KeepCustomColor(COLORREF* custom, COLORREF color) {
    if (std::find(custom, custom + 16, color) != custom + 16) return;
    std::copy_backward(custom, custom + 15, custom + 16);
    custom[0] = color;
}

// Shows the driver's dialog for the request, owned by hwndOwner's top-level
// window, in the modal loop: IDOK, IDCANCEL, or -1 when it could not be shown.
template <class Request>
int RunDriverDialog(HWND hwndOwner, void* (*show)(HWND, Request*, DisplayDialogDone, void*), Request& request) {
    return user::RunModal(
        hwndOwner,
        [&](DisplayDialogDone done, void* context) {
            return show(user::dialogOwner(hwndOwner), &request, done, context);
        },
        IDCANCEL);
}

BOOL ChooseColorOnDisplay(CHOOSECOLORA& cc) {
    DisplayColorRequest request;
    request.color = cc.rgbResult;
    request.bInit = (cc.Flags & CC_RGBINIT) != 0;
    request.bFullOpen = (cc.Flags & CC_FULLOPEN) != 0;
    int answer = RunDriverDialog(cc.hwndOwner, PlatformUserDriver().pChooseColor, request);
    if (answer < 0) return Fail(CDERR_INITIALIZATION);
    if (answer != IDOK) return FALSE;
    cc.rgbResult = request.color;
    KeepCustomColor(cc.lpCustColors, request.color);
    return TRUE;
}

// The filter's pairs of texts, description and patterns, up to an empty
// description; a list that ends after a description gives it no patterns
// and is not read past its end.
std::vector<std::pair<std::string, std::string>> FiltersOf(LPCSTR filter) {
    std::vector<std::pair<std::string, std::string>> filters;
    while (filter && *filter) {
        std::string description = PlatformToUtf8(filter);
        filter += std::strlen(filter) + 1;
        filters.emplace_back(std::move(description), filter);
        if (!*filter) break;
        filter += std::strlen(filter) + 1;
    }
    return filters;
}

// The path the user chose on the desktop's dialog, in the library's form.
BOOL OpenFileOnDisplay(const OPENFILENAMEA& ofn, CString& rPath) {
    DisplayOpenFileRequest request;
    request.title = PlatformToUtf8(ofn.lpstrTitle ? ofn.lpstrTitle : "Open");
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir) PlatformToPosixPath(ofn.lpstrInitialDir, request.initialDir);
    request.filters = FiltersOf(ofn.lpstrFilter);
    request.filterIndex = ofn.nFilterIndex > 0 ? ofn.nFilterIndex - 1 : 0;
    int answer = RunDriverDialog(ofn.hwndOwner, PlatformUserDriver().pOpenFile, request);
    if (answer < 0) return Fail(CDERR_INITIALIZATION);
    if (answer != IDOK) return FALSE;
    rPath = PlatformFromPosixPath(request.path);
    return TRUE;
}

}  // namespace

BOOL ChooseColorA(LPCHOOSECOLORA lpcc) {
    lastError = 0;
    if (!lpcc) return Fail(CDERR_INITIALIZATION);
    if (lpcc->lStructSize != sizeof(CHOOSECOLORA) && lpcc->lStructSize != kChooseColorSize32)
        return Fail(CDERR_STRUCTSIZE);
    if (!lpcc->lpCustColors) return Fail(CDERR_INITIALIZATION);
    if (PlatformUserDriver().pChooseColor && PlatformIsDisplayThread()) return ChooseColorOnDisplay(*lpcc);
    ColorDialogResponder responder = Current(&Responders::color);
    return responder && responder(*lpcc) ? TRUE : FALSE;
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
    lastError = 0;
    if (!lpofn) return Fail(CDERR_INITIALIZATION);
    DWORD size = lpofn->lStructSize;
    if (size != sizeof(OPENFILENAMEA) && size != kOpenFileNameSizeV4 && size != kOpenFileNameSize32V4 &&
        size != kOpenFileNameSize32)
        return Fail(CDERR_STRUCTSIZE);
    if (!lpofn->lpstrFile || lpofn->nMaxFile == 0) return Fail(CDERR_INITIALIZATION);
    CString chosen;
    if (PlatformUserDriver().pOpenFile && PlatformIsDisplayThread()) {
        if (!OpenFileOnDisplay(*lpofn, chosen)) return FALSE;
    } else {
        OpenFileResponder responder = Current(&Responders::openFile);
        if (!responder || !responder(*lpofn, chosen)) return FALSE;
    }
    std::string path = static_cast<LPCTSTR>(chosen);
    if (path.empty()) return Fail(FNERR_INVALIDFILENAME);
    if ((lpofn->Flags & OFN_FILEMUSTEXIST) && !FileExists(path)) return FALSE;
    return DeliverPath(*lpofn, path);
}

DWORD CommDlgExtendedError() { return lastError; }

ColorDialogResponder PlatformSetColorDialogResponder(ColorDialogResponder responder) {
    return Exchange(&Responders::color, std::move(responder));
}

OpenFileResponder PlatformSetOpenFileResponder(OpenFileResponder responder) {
    return Exchange(&Responders::openFile, std::move(responder));
}

COLORREF* PlatformSavedCustomColors() { return savedCustomColors; }
