// The common dialogs and their responders.
#include "platform/user/Dialogs.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/kernel/FileSystem.h"
#include "platform/shared/NoDestructor.h"

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

}  // namespace

BOOL ChooseColorA(LPCHOOSECOLORA lpcc) {
    lastError = 0;
    if (!lpcc) return Fail(CDERR_INITIALIZATION);
    if (lpcc->lStructSize != sizeof(CHOOSECOLORA) && lpcc->lStructSize != kChooseColorSize32)
        return Fail(CDERR_STRUCTSIZE);
    if (!lpcc->lpCustColors) return Fail(CDERR_INITIALIZATION);
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
    OpenFileResponder responder = Current(&Responders::openFile);
    CString chosen;
    if (!responder || !responder(*lpofn, chosen)) return FALSE;
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
