// event wait|set|reset: the library's named events from a shell.
//
// The commands do what CResources does (an auto-reset event, opened or
// created for the one call and closed again) through the platform's CEvent,
// so that a failure can be told from a signal.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Command.h"
#include "platform/kernel/Errors.h"
#include "platform/mfc/SyncObjects.h"

namespace cbasis {
namespace {

constexpr int kTimedOut = 3;

int RunEvent(const Args& args);

const Command kEvent("event", "event wait|set|reset NAME [--timeout SECONDS]", "wait for, signal or clear a named event",
                     "Waits for, signals or clears the event NAME, which every process of the\n"
                     "user shares: a shell and a program using the library's events meet in it.\n"
                     "Events are auto-reset: one signal releases one waiter.\n"
                     "  wait NAME     block until NAME is signalled\n"
                     "  --timeout S   give up after S seconds (a decimal number; 0 only tests)\n"
                     "  set NAME      signal NAME; with nobody holding NAME open (no waiter),\n"
                     "                the signal leaves no trace\n"
                     "  reset NAME    clear NAME\n"
                     "Exit codes: 0 signalled (wait) or done (set, reset), 1 failure,\n"
                     "2 wrong command line, 3 timed out.",
                     RunEvent);

// Seconds as milliseconds below INFINITE.
bool ParseSeconds(const std::string& text, DWORD& ms) {
    char* end;
    errno = 0;
    double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || errno || !std::isfinite(seconds) || seconds < 0 || seconds * 1000 >= INFINITE)
        return false;
    ms = static_cast<DWORD>(std::llround(seconds * 1000));
    return true;
}

std::string Reason() {
    std::string why = PlatformErrorText(GetLastError()).str();
    CString segment = PlatformNamespaceError();
    return segment.IsEmpty() ? why : why + " (" + segment.str() + ")";
}

int RunEvent(const Args& args) {
    if (args.empty()) return UsageError(kEvent, "wait, set or reset is needed");
    const std::string& action = args[0];
    if (action != "wait" && action != "set" && action != "reset")
        return UsageError(kEvent, "unknown action '" + action + "'");
    std::string name;
    bool named = false;
    DWORD timeout = INFINITE;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--timeout") {
            if (action != "wait") return UsageError(kEvent, "--timeout belongs to wait");
            if (++i == args.size() || !ParseSeconds(args[i], timeout))
                return UsageError(kEvent, "--timeout needs a number of seconds");
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return UsageError(kEvent, "unknown option '" + args[i] + "'");
        } else if (named) {
            return UsageError(kEvent, "unexpected argument '" + args[i] + "'");
        } else {
            name = args[i];
            named = true;
        }
    }
    if (name.empty()) return UsageError(kEvent, "NAME is needed");

    CEvent event(action == "set", FALSE, name.c_str(), nullptr);
    if (!event.m_hObject) return Failure(kEvent, "cannot open the event '" + name + "': " + Reason());
    if (action == "wait") {
        DWORD result = WaitForSingleObject(event.m_hObject, timeout);
        if (result == WAIT_OBJECT_0) return kOk;
        if (result != WAIT_TIMEOUT) return Failure(kEvent, "cannot wait for '" + name + "': " + Reason());
        std::fprintf(stderr, "cbasis event: timed out waiting for '%s'\n", name.c_str());
        return kTimedOut;
    }
    BOOL done = action == "set" ? event.SetEvent() : event.ResetEvent();
    return done ? kOk : Failure(kEvent, "cannot " + action + " '" + name + "': " + Reason());
}

}  // namespace
}  // namespace cbasis
