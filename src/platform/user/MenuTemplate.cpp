// Menus from the binary menu templates a resource compiler writes: the
// normal layout and the extended one (Menus.h). The bytes are untrusted:
// every read is checked against the end, and nesting is bounded.
#include <cstring>
#include <string>

#include "platform/kernel/ResourceFormat.h"
#include "platform/user/Menus.h"

namespace {

constexpr int kMaxDepth = 32;

// Reads little-endian values from the template, failing (ok false) at the end.
struct Reader {
    const BYTE* base;
    size_t size;
    size_t at = 0;
    bool ok = true;

    UINT Word() {
        if (at > size || size - at < 2) return ok = false, 0u;
        UINT value = base[at] | (base[at + 1] << 8);
        at += 2;
        return value;
    }
    DWORD Dword() {
        UINT low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    void AlignDword() { at = (at + 3) & ~static_cast<size_t>(3); }

    // A terminated UTF-16 string, in UTF-8.
    std::string Text() {
        size_t start = at;
        size_t count = 0;
        for (UINT unit = Word(); ok && unit != 0; unit = Word()) ++count;
        return ok ? platform::res::Utf16ToUtf8(base + start, count) : std::string();
    }
};

// Appends one item; a popup gets a new submenu, returned in *pSub.
bool append(HMENU hMenu, UINT flags, UINT id, const std::string& text, bool popup, HMENU* pSub) {
    *pSub = nullptr;
    if (popup) {
        *pSub = CreatePopupMenu();
        return AppendMenuA(hMenu, (flags & ~MF_END) | MF_POPUP, reinterpret_cast<UINT_PTR>(*pSub), text.c_str());
    }
    // A resource compiler writes MENUITEM SEPARATOR as an item without id or text.
    if ((flags & MF_SEPARATOR) || (id == 0 && text.empty())) return AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    return AppendMenuA(hMenu, flags & ~(MF_END | MF_POPUP), id, text.c_str());
}

bool ReadNormal(Reader& r, HMENU hMenu, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        UINT flags = r.Word();
        bool popup = (flags & MF_POPUP) != 0;
        UINT id = popup ? 0 : r.Word();
        std::string text = r.Text();
        if (!r.ok) return false;
        HMENU sub;
        if (!append(hMenu, flags, id, text, popup, &sub)) return false;
        if (popup && !ReadNormal(r, sub, depth + 1)) return false;
        if (flags & MF_END) return true;
    }
}

bool ReadExtended(Reader& r, HMENU hMenu, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        r.AlignDword();
        DWORD type = r.Dword();
        DWORD state = r.Dword();
        UINT id = r.Dword();
        UINT resInfo = r.Word();
        std::string text = r.Text();
        bool popup = (resInfo & 0x01) != 0;
        if (popup) {
            r.AlignDword();
            r.Dword();  // the popup's help id
        }
        if (!r.ok) return false;
        HMENU sub;
        UINT flags = (type & (MFT_SEPARATOR | MFT_RADIOCHECK | MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP)) |
                     (state & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT));
        if (!append(hMenu, flags, popup ? 0 : id, text, popup, &sub)) return false;
        if (popup && !ReadExtended(r, sub, depth + 1)) return false;
        if (resInfo & 0x80) return true;
    }
}

}  // namespace

HMENU PlatformLoadMenuTemplate(const void* pTemplate, size_t cb) {
    if (!pTemplate) return nullptr;
    Reader r{static_cast<const BYTE*>(pTemplate), cb};
    UINT version = r.Word();
    UINT offset = r.Word();
    if (!r.ok) return nullptr;
    HMENU hMenu = CreateMenu();
    bool done = false;
    if (version == 0) {
        r.at += offset;
        done = r.at < cb && ReadNormal(r, hMenu, 0);
    } else if (version == 1) {
        r.at += offset;  // from the end of the offset field, over the help id
        done = r.at < cb && ReadExtended(r, hMenu, 0);
    }
    if (!done) {
        DestroyMenu(hMenu);
        return nullptr;
    }
    return hMenu;
}

HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName) {
    HRSRC hInfo = FindResourceA(hInstance, lpMenuName, RT_MENU);
    HGLOBAL hData = hInfo ? LoadResource(hInstance, hInfo) : nullptr;
    const void* data = hData ? LockResource(hData) : nullptr;
    return data ? PlatformLoadMenuTemplate(data, SizeofResource(hInstance, hInfo)) : nullptr;
}

// No size is given: the template is read up to where its own structure ends.
HMENU LoadMenuIndirectA(const void* lpMenuTemplate) { return PlatformLoadMenuTemplate(lpMenuTemplate, SIZE_MAX); }
