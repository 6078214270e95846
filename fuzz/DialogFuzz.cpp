// Dialog templates from arbitrary bytes: reading never goes past them, a
// template read whole describes no more items than its bytes can hold, and
// making a dialog from the bytes either fails cleanly or gives a dialog
// with one child per item that was made.
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/user/DialogBox.h"
#include "platform/user/DialogTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so reading one byte past it is
    // caught by the address sanitizer.
    auto* bytes = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    for (size_t i = 0; i < size; ++i) bytes[i] = data[i];
    platform::DialogTemplate t;
    if (platform::ParseDialogTemplate(bytes, size, &t)) {
        FUZZ_CHECK(t.items.size() * 18 <= size);
        for (const platform::DialogItemTemplate& item : t.items) FUZZ_CHECK(item.creationData.size() < size);
        // Child windows only: the fuzzer runs without a screen and makes no
        // top-level windows it would have to close.
        if (t.style & WS_CHILD) {
            static HWND hParent =
                CreateWindowExA(0, "Static", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
            if (HWND hDlg = PlatformCreateDialog(bytes, size, hParent, nullptr, 0)) {
                size_t children = 0;
                for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) ++children;
                FUZZ_CHECK(children <= t.items.size());
                DestroyWindow(hDlg);
            }
        }
    } else {
        FUZZ_CHECK(PlatformCreateDialog(bytes, size, nullptr, nullptr, 0) == nullptr);
    }
    std::free(bytes);
    return 0;
}
