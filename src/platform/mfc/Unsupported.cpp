// The one-time reports of members that are not supported.
#include "platform/mfc/Unsupported.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "platform/shared/NoDestructor.h"

namespace {

struct Calls {
    std::mutex lock;
    std::map<std::string, int> counts;
};

Calls& calls() {
    static NoDestructor<Calls> c;  // a host's static destructor may still call one
    return *c;
}

}  // namespace

void PlatformReportUnsupported(LPCSTR lpszMember, LPCSTR lpszConsequence) {
    std::string member = lpszMember ? lpszMember : "?";
    Calls& c = calls();
    bool bFirst;
    {
        std::lock_guard<std::mutex> guard(c.lock);
        bFirst = ++c.counts[member] == 1;
    }
    if (bFirst)
        std::fprintf(stderr, "%s: not supported on this platform; %s (see docs/porting.md)\n", member.c_str(),
                     lpszConsequence ? lpszConsequence : "it fails");
}

int PlatformUnsupportedCalls(LPCSTR lpszMember) {
    Calls& c = calls();
    std::lock_guard<std::mutex> guard(c.lock);
    auto it = c.counts.find(lpszMember ? lpszMember : "?");
    return it == c.counts.end() ? 0 : it->second;
}
