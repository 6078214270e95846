// The headless driver: a virtual screen that shows nothing. Windows,
// messages and pixels all live in the user layer, so the driver has only
// the message wait to do: the thread's own wake-up, with the time-out. The
// clipboard stays the process's own, and modal dialogs are answered by
// their hooks and responders.
#include "platform/user/UserDriver.h"

namespace {

const UserDriverFuncs kHeadless = {
    "headless",
    nullptr,  // pGetScreenSize: the virtual screen
    nullptr,  // pCreateWindow: no native windows
    nullptr,  // pDestroyWindow
    nullptr,  // pSetWindowPos
    nullptr,  // pShowWindow
    nullptr,  // pSetWindowText
    nullptr,  // pPresent
    nullptr,  // pSetCursor
    PlatformWaitWakeup,
    nullptr,  // pWake: the wake-up's own signal is enough
    nullptr,  // pSetClipboardText: the clipboard is the process's own
    nullptr,  // pGetClipboardText
    nullptr,  // pMessageBox: answered by the hook (MessageBox.h)
    nullptr,  // pChooseColor: answered by the responders (Dialogs.h)
    nullptr,  // pOpenFile
    nullptr,  // pEndDialog
};

}  // namespace

const UserDriverFuncs& PlatformHeadlessDriver() { return kHeadless; }
