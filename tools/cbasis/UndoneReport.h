// What the library left undone while a command ran: it reports each entry it
// left out or could not do to the thread's undone hook (platform/kernel/Undone.h);
// this collects them, once each, and says them on stderr as counts with the
// first few paths. main makes one around every command, and a command that
// left anything undone exits 1.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Place.h"
#include "platform/kernel/Undone.h"

namespace cbasis {

class UndoneReport {
public:
    UndoneReport();  // installs the hook on the calling thread
    ~UndoneReport();
    UndoneReport(const UndoneReport&) = delete;
    UndoneReport& operator=(const UndoneReport&) = delete;

    bool Empty() const { return m_seen.empty(); }
    // Whether the report around the running command holds anything, so a
    // command does not claim a job done whole that was not.
    static bool AnyUndone();
    // Paths at or below place are said in the form the user typed it; the
    // command names each place it gives the library.
    static void NameAsTyped(const Place& place);
    // One line per kind of failure: "cbasis COMMAND: left undone: 2 special
    // files (FIFO, socket or device): /t/a, /t/b".
    void Print(const char* command) const;

private:
    std::string Typed(const std::string& posix) const;

    // Entries of one kind and error, in the order they came.
    using Key = std::pair<int, unsigned>;
    std::map<Key, std::vector<std::string>> m_groups;
    std::set<std::pair<Key, std::string>> m_seen;
    std::vector<Place> m_places;
    UndoneHook m_previous;
    UndoneReport* m_outer;
};

}  // namespace cbasis
