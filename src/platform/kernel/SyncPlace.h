// Where a user's namespace segments live: a directory that no other user
// can write to, chosen once and opened, so that nobody can take the
// segment's place first or swap it. Used by SyncNamespace.cpp.
//
// In order:
//   1. $XDG_RUNTIME_DIR, when it is an absolute path to a directory of this
//      user that grants nothing to group or others;
//   2. a directory of the user's own below a shared one: /run (for root
//      only), /dev/shm, /tmp, named "cbasis1-UID", or "cbasis1-UID.1" up
//      to "cbasis1-UID.15" where another user took the name first. It is
//      made with mkdir (mode 0700), opened without following a link and
//      kept only if it is a directory of this user that nobody else can
//      write to. Every process of the user walks the same names in the same
//      order, so all of them meet in the first name that is the user's.
#pragma once

#include <string>

namespace platform::sync {

struct Place {
    Place() = default;
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;
    ~Place();

    int dirFd = -1;    // the directory, open; -1 when none could be had
    std::string path;  // its path, for messages
    std::string why;   // when there is none: why not
};

// Chooses the directory afresh, from the environment as it is now.
void ChoosePlace(Place& place);

}  // namespace platform::sync
