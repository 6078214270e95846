// Reading strings out of the string-table blocks.
#include "platform/user/StringResources.h"

#include <cstring>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/ResourceFormat.h"

bool platform::LoadStringResource(HINSTANCE hInstance, UINT uID, std::string& text) {
    if (uID > 0xFFFF) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return false;
    }
    HRSRC block = FindResourceA(hInstance, MAKEINTRESOURCE((uID >> 4) + 1), RT_STRING);
    if (!block) return false;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, block)));
    size_t size = SizeofResource(hInstance, block);
    size_t at = 0;
    for (UINT entry = 0;; ++entry) {
        if (size - at < 2) break;
        size_t length = data[at] | data[at + 1] << 8;
        at += 2;
        if ((size - at) / 2 < length) break;
        if (entry == (uID & 15)) {
            if (length == 0) break;
            text = platform::res::Utf16ToUtf8(data + at, length);
            return true;
        }
        at += 2 * length;
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return false;
}

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string text;
    if (!platform::LoadStringResource(hInstance, uID, text)) {
        lpBuffer[0] = '\0';
        return 0;
    }
    // Whole characters only: a cut sequence would read as other characters.
    size_t room = static_cast<size_t>(cchBufferMax) - 1, copied = 0;
    while (copied < text.size()) {
        size_t n = PlatformUtf8SequenceLength(std::string_view(text).substr(copied));
        if (n == 0) n = 1;
        if (copied + n > room) break;
        copied += n;
    }
    std::memcpy(lpBuffer, text.data(), copied);
    lpBuffer[copied] = '\0';
    return static_cast<int>(copied);
}
