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
#include "Wording.h"
#include "platform/kernel/Errors.h"
#include "platform/mfc/SyncObjects.h"

namespace cbasis {
namespace {

constexpr int kTimedOut = 3;

int RunEvent(const Args& args);

const Command kEvent("event", "event wait|set|reset NAME [--timeout SECONDS]",
                     "wait for, signal or clear a named event",
                     "Waits for, signals or clears the event NAME, which every process of the\n"
                     "user shares: a shell and a program using the library's events meet in it.\n"
                     "Events are auto-reset: one signal releases one waiter.\n"
                     "  wait NAME     block until NAME is signalled\n"
                     "  --timeout S   give up after S seconds (a decimal number; 0 only tests)\n"
                     "  set NAME      signal NAME; with nobody holding NAME open (no waiter),\n"
                     "                the signal leaves no trace, and set says so on stderr\n"
                     "  reset NAME    clear NAME\n"
                     "Exit codes: 0 signalled (wait) or done (set, reset), 1 failure,\n"
                     "2 wrong command line, 3 timed out.",
                     {{"--timeout", nullptr, true}}, RunEvent);

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

// Why the event could not be had: a name the namespace cannot take is said
// as such; other failures in the system's words, with what the namespace
// segment reported.
std::string EventReason() {
    DWORD code = GetLastError();
    switch (code) {
    case ERROR_PATH_NOT_FOUND: return "an event name may hold a backslash only after Local or Global";
    case ERROR_INVALID_NAME: return "an event name needs a name after Local\\ or Global\\";
    case ERROR_FILENAME_EXCED_RANGE: return "an event name holds at most " + std::to_string(MAX_PATH) + " characters";
    default: break;
    }
    std::string why = Reason(code);
    CString segment = PlatformNamespaceError();
    return segment.IsEmpty() ? why : why + " (" + segment.str() + ")";
}

int RunEvent(const Args& args) {
    const auto& operands = args.operands;
    if (operands.empty()) return UsageError(kEvent, "wait, set or reset is needed");
    const std::string& action = operands[0];
    if (action != "wait" && action != "set" && action != "reset")
        return UsageError(kEvent, "unknown action '" + action + "'");
    if (operands.size() < 2 || operands[1].empty()) return UsageError(kEvent, "NAME is needed");
    if (operands.size() > 2) return UsageError(kEvent, "unexpected argument '" + operands[2] + "'");
    const std::string& name = operands[1];
    DWORD timeout = INFINITE;
    if (args.Has("--timeout")) {
        if (action != "wait") return UsageError(kEvent, "--timeout belongs to wait");
        if (!ParseSeconds(args.Value("--timeout"), timeout))
            return UsageError(kEvent, "--timeout needs a number of seconds");
    }

    CEvent event(action == "set", FALSE, name.c_str(), nullptr);
    if (!event.m_hObject) return Failure(kEvent, name, EventReason());
    bool held = GetLastError() == ERROR_ALREADY_EXISTS;  // another process has it open
    if (action == "wait") {
        DWORD result = WaitForSingleObject(event.m_hObject, timeout);
        if (result == WAIT_OBJECT_0) return kOk;
        if (result != WAIT_TIMEOUT) return Failure(kEvent, name, EventReason());
        std::fprintf(stderr, "cbasis event: %s: timed out\n", name.c_str());
        return kTimedOut;
    }
    if (!(action == "set" ? event.SetEvent() : event.ResetEvent())) return Failure(kEvent, name, EventReason());
    // The original's semantics: the signal goes with the event when this
    // handle closes. Two shells racing hit this, so it is said.
    if (action == "set" && !held)
        std::fprintf(stderr, "cbasis event: %s: no process held the event, so the signal was not kept\n", name.c_str());
    return kOk;
}

}  // namespace
}  // namespace cbasis
