// CResources: the two halves of a signal between parties (threads or
// processes) that agree on an event name. One party blocks in WaitForEvent
// until the named event is signalled; another signals or clears it with
// HandleEvent.
//
// Each call opens the event (creating it as an auto-reset event when nobody
// holds it open) and closes it before returning, so a signal reaches a
// waiter only while some party holds the event: typically the waiter is
// already waiting when the signal comes. A signal with nobody holding the
// name leaves no trace.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API CResources {
public:
    CResources() = default;
    CResources(const CResources&) = default;
    CResources& operator=(const CResources&) = default;
    ~CResources() = default;

    // Signals the named event (set true) or clears it (false); an event this
    // call creates starts signalled. Always 1, also when the event could not
    // be made or changed. The text argument is not used.
    int HandleEvent(const char* name, bool set);
    int HandleEvent(const char* name, bool set, CString strUnused);

    // Blocks the calling thread, without a time limit, until the named event
    // is signalled (an event this call creates starts cleared); an auto-reset
    // event is cleared again by the wait, so one signal releases one waiter.
    // Returns at once when the event cannot be made. The text is not used.
    void WaitForEvent(const char* name);
    void WaitForEvent(const char* name, CString strUnused);

    CString m_strResource;  // not read by any operation
};
