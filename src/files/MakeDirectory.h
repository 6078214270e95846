// MakeDirectory: creation of every missing level of a directory path.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API MakeDirectory {
public:
    // Creates the missing levels of path, one component at a time: the text
    // before the first backslash, then the text between consecutive
    // backslashes; text after the last backslash is no level, so
    // "C:\a\b\" creates C:\a\b but "C:\a\b" stops at C:\a. Empty components
    // (a leading backslash, doubled backslashes) are passed over.
    //
    // A level exists when it can be entered, so the current directory ends
    // at the deepest level that existed before the call; pass absolute
    // paths. Returns 1, or 0 at the first level that neither exists nor can
    // be created (levels made before it stay).
    static int CreateDirectoryA(CString path);
};
