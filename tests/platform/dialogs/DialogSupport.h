// What the dialog tests share: templates read from the compiled test script
// (a .res file: the original's resource format), keys handed in as a display
// driver hands them, and the loop a dialog's thread runs.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DialogTestIds.h"
#include "platform/user/DialogBox.h"

namespace dialogs {

// The RT_DIALOG resource with that id in the test script, or an empty
// vector. Each entry of a .res file: the data size, the header size, the
// type and the name (0xFFFF and an ordinal, or a UTF-16 string), then the
// data after the header, every entry on a DWORD boundary.
inline std::vector<BYTE> Template(WORD id) {
    std::ifstream file(CBASIS_DIALOG_TEST_RES, std::ios::binary);
    std::vector<BYTE> res((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto word = [&](size_t at) { return static_cast<uint32_t>(res[at] | res[at + 1] << 8); };
    auto dword = [&](size_t at) { return word(at) | word(at + 2) << 16; };
    size_t at = 0;
    while (at + 16 <= res.size()) {
        uint32_t dataSize = dword(at);
        uint32_t headerSize = dword(at + 4);
        bool isDialog = word(at + 8) == 0xFFFF && word(at + 10) == 5;
        bool named = word(at + 12) == 0xFFFF && word(at + 14) == id;
        if (isDialog && named && at + headerSize + dataSize <= res.size())
            return std::vector<BYTE>(res.begin() + static_cast<long>(at + headerSize),
                                     res.begin() + static_cast<long>(at + headerSize + dataSize));
        at = (at + headerSize + dataSize + 3) & ~size_t{3};
    }
    return {};
}

inline LPCDLGTEMPLATE AsTemplate(const std::vector<BYTE>& bytes) {
    return reinterpret_cast<LPCDLGTEMPLATE>(bytes.data());
}

// A key pressed and released on the dialog's window, with a modifier key
// (VK_SHIFT, VK_MENU) held down meanwhile.
inline void PressKey(HWND hTop, UINT vk, UINT modifier = 0) {
    PlatformInput in;
    if (modifier) {
        in.message = WM_KEYDOWN;
        in.vk = modifier;
        PlatformPostInput(hTop, in);
    }
    in.message = WM_KEYDOWN;
    in.vk = vk;
    PlatformPostInput(hTop, in);
    in.message = WM_KEYUP;
    PlatformPostInput(hTop, in);
    if (modifier) {
        in.vk = modifier;
        PlatformPostInput(hTop, in);
    }
}

// The loop of a thread with a modeless dialog, until the queue is empty.
inline void Pump(HWND hDlg) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(hDlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace dialogs
