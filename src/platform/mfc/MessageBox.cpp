// AfxMessageBox without a screen: one line on stderr and the hook's answer.
#include "platform/mfc/MessageBox.h"
#include "platform/shared/NoDestructor.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace {

struct MessageBoxSettings {
    std::mutex lock;
    MessageBoxHook hook;
    bool echo = true;
};

MessageBoxSettings& Settings() {
    static NoDestructor<MessageBoxSettings> settings;
    return *settings;
}

}  // namespace

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    CString text(lpszText);
    MessageBoxSettings& settings = Settings();
    MessageBoxHook hook;
    bool echo;
    {
        std::lock_guard<std::mutex> guard(settings.lock);
        hook = settings.hook;
        echo = settings.echo;
    }
    if (echo) {
        // Line breaks inside the text become spaces so the box stays one line.
        std::string line = text.str();
        for (char& ch : line)
            if (ch == '\n' || ch == '\r') ch = ' ';
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
    // The hook runs unlocked, so it may show a box of its own or swap hooks.
    return hook ? hook(text, nType) : IDOK;
}

MessageBoxHook AfxSetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxSettings& settings = Settings();
    std::lock_guard<std::mutex> guard(settings.lock);
    std::swap(hook, settings.hook);
    return hook;
}

bool AfxSetMessageBoxEcho(bool bEcho) {
    MessageBoxSettings& settings = Settings();
    std::lock_guard<std::mutex> guard(settings.lock);
    std::swap(bEcho, settings.echo);
    return bEcho;
}
