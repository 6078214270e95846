#include "support/ClipboardSupport.h"

#include <cstring>

#include "platform/mfc/OleDataSource.h"

HGLOBAL BlockOf(const char* bytes, size_t size) {
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(hMem), bytes, size);
    GlobalUnlock(hMem);
    return hMem;
}

std::string BlockText(HGLOBAL hMem) {
    const char* p = static_cast<const char*>(GlobalLock(hMem));
    if (!p) return "<no block>";
    std::string text(p, strnlen(p, GlobalSize(hMem)));
    GlobalUnlock(hMem);
    return text;
}

void PutOnClipboard(const char* bytes, size_t size) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, BlockOf(bytes, size));
    CloseClipboard();
}

std::string ClipboardText() {
    COleDataObject data;
    data.AttachClipboard();
    HGLOBAL hMem = data.GetGlobalData(CF_TEXT);
    if (!hMem) return "<empty>";
    std::string text = BlockText(hMem);
    GlobalFree(hMem);
    return text;
}

void ClearClipboard() {
    CloseClipboard();
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
}
