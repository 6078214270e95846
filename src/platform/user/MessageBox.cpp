// MessageBoxA: the desktop's dialog in the modal loop, or the hook
// (MessageBox.h).
#include "platform/user/MessageBox.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/kernel/CodePage.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/Modal.h"

namespace {

struct HookSettings {
    std::mutex lock;
    MessageBoxHook hook;
    bool echo = true;
};

HookSettings& settings() {
    static NoDestructor<HookSettings> s;
    return *s;
}

// Without a screen: one line on stderr and the hook's answer.
int answerWithoutScreen(const CString& text, UINT uType) {
    HookSettings& s = settings();
    MessageBoxHook hook;
    bool echo;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        hook = s.hook;
        echo = s.echo;
    }
    if (echo) {
        std::string line = text.str();
        for (char& ch : line)
            if (ch == '\n' || ch == '\r') ch = ' ';
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
    // The hook runs unlocked, so it may show a box of its own or swap hooks.
    return hook ? hook(text, uType) : IDOK;
}

// The buttons of an MB_ set, in the original's order.
std::vector<std::pair<std::string, int>> buttonsOf(UINT uType) {
    switch (uType & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}};
    case MB_YESNOCANCEL: return {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}};
    case MB_YESNO: return {{"&Yes", IDYES}, {"&No", IDNO}};
    case MB_RETRYCANCEL: return {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}};
    case MB_CANCELTRYCONTINUE: return {{"Cancel", IDCANCEL}, {"&Try Again", IDTRYAGAIN}, {"&Continue", IDCONTINUE}};
    default: return {{"OK", IDOK}};
    }
}

}  // namespace

int PlatformMessageBoxEscapeAnswer(UINT uType) {
    for (const auto& [label, answer] : buttonsOf(uType))
        if (answer == IDCANCEL) return IDCANCEL;
    return (uType & MB_TYPEMASK) == MB_OK ? IDOK : 0;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    CString text(lpText ? lpText : "");
    auto show = PlatformUserDriver().pMessageBox;
    if (!show || !PlatformIsDisplayThread()) return answerWithoutScreen(text, uType);
    DisplayMessageBoxRequest request;
    request.text = PlatformToUtf8(text.str());
    request.caption = PlatformToUtf8(lpCaption ? lpCaption : "Error");
    request.icon = uType & MB_ICONMASK;
    request.buttons = buttonsOf(uType);
    size_t nDefault = (uType & MB_DEFMASK) >> 8;
    request.defaultAnswer = request.buttons[nDefault < request.buttons.size() ? nDefault : 0].second;
    request.escapeAnswer = PlatformMessageBoxEscapeAnswer(uType);
    // On a WM_QUIT the box goes as Escape would close it, or with its last button where Escape does nothing.
    int onQuit = request.escapeAnswer ? request.escapeAnswer : request.buttons.back().second;
    int answer = user::RunModal(
        hWnd,
        [&](DisplayDialogDone done, void* context) { return show(user::dialogOwner(hWnd), &request, done, context); },
        onQuit);
    return answer < 0 ? 0 : answer;
}

MessageBoxHook PlatformSetMessageBoxHook(MessageBoxHook hook) {
    HookSettings& s = settings();
    std::lock_guard<std::mutex> guard(s.lock);
    std::swap(hook, s.hook);
    return hook;
}

bool PlatformSetMessageBoxEcho(bool bEcho) {
    HookSettings& s = settings();
    std::lock_guard<std::mutex> guard(s.lock);
    std::swap(bEcho, s.echo);
    return bEcho;
}
