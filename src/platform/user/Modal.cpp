// The modal loop (Modal.h).
#include "platform/user/Modal.h"

#include "platform/user/Input.h"

namespace {

struct Pending {
    bool answered = false;
    int result = 0;
};

// Called by the driver from its event handler: record and wake the loop.
void answered(void* pContext, int nResult) {
    auto* pending = static_cast<Pending*>(pContext);
    pending->answered = true;
    pending->result = nResult;
    PostMessageA(nullptr, WM_NULL, 0, 0);
}

}  // namespace

namespace user {

HWND dialogOwner(HWND hWnd) {
    if (!IsWindow(hWnd)) return nullptr;
    while (HWND hParent = GetParent(hWnd)) hWnd = hParent;
    return hWnd;
}

int RunModal(HWND hOwner, const ShowDialog& show, int nOnQuit) {
    HWND hTop = dialogOwner(hOwner);
    bool disabledHere = hTop && !EnableWindow(hTop, FALSE);
    Pending pending;
    void* dialog = show(answered, &pending);
    if (dialog) {
        MSG msg;
        while (!pending.answered) {
            if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
                if (auto end = PlatformUserDriver().pEndDialog) end(dialog);
                PostQuitMessage(static_cast<int>(msg.wParam));
                pending.result = nOnQuit;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (disabledHere && IsWindow(hTop)) {
        EnableWindow(hTop, TRUE);
        SetActiveWindow(hTop);
    }
    return dialog ? pending.result : -1;
}

}  // namespace user
