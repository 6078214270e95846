// CProject: the project generator. It clones a template directory tree into
// a new project, replacing a keyword in every file title and in every file's
// text, rewrites trees in place, and copies and deletes whole trees.
//
// Every operation runs on the caller's thread, returns nothing and reports
// nothing: a single file that cannot be read, copied, written or renamed is
// skipped and the rest of the tree is still processed. The nested classes
// hold no data; constructing one runs its operation.
//
// Matching is case-sensitive and replaces every non-overlapping occurrence
// from the left, with no regard for word boundaries (Foo is replaced inside
// FooBar and MyFoo); the inserted text is not searched again, and an empty
// keyword changes nothing. In file names only the title is looked at, never
// the extension: Doc.Foo keeps its name for the keyword Foo.
//
// Beyond the original's contracts, every operation keeps to these rules:
//   - a file that holds a zero byte is binary: it is copied whole and never
//     rewritten, so no template file is ever truncated;
//   - a file is rewritten through a temporary file beside it that is renamed
//     over it, keeping its permission bits, so a crash leaves the old file or
//     the new one, never half of one; a read-only file is never rewritten;
//   - symbolic links inside a tree are never followed: copies skip them,
//     rewrites leave them and what they point at alone, and a tree delete
//     removes the link, not its target;
//   - every tree is walked by descriptor from walk roots (platform/kernel/
//     WalkRoot.h): a directory that another process swaps for a link while
//     the walk is busy elsewhere is never entered, nothing is written
//     through a link that stands in a destination, and a source or
//     destination that is itself a link is refused; each is reported to the
//     thread's undone hook;
//   - two template files whose new names meet (Foo.txt and Bar.txt for the
//     keyword Foo and the name Bar) never overwrite each other: the first
//     keeps the name, the second is refused, and both are reported;
//   - a copy whose destination lies inside its source (which would recurse
//     into its own output) does nothing;
//   - a replacement that a name cannot carry (one holding '\', '/', any of
//     : * ? " < > | or a control character, or "." or "..") makes an
//     operation that puts it into names do nothing.
//
// Paths are library paths with backslashes. Relative paths are taken against
// the current directory at the start of a call (directory creation moves the
// current directory while a call runs).
#pragma once

#include <functional>

#include "platform/atl/Strings.h"

class CBASIS1_API CProject {
public:
    CProject() = default;
    CProject(const CProject&) = default;
    CProject& operator=(const CProject&) { return *this; }

    // Told, on the calling thread, of every file and directory that the copy
    // with replacement (MakeProject, MakeProject1, the walker, CReplaceName)
    // has made, once it stands complete under its name: the library path of
    // each file written and of each directory below the destination, so a
    // host learns what a project holds without walking it again. Sets the
    // calling thread's hook and returns the previous one; an empty hook
    // removes it. The hook may call the library (rewrite a file it is told
    // of, for one).
    using MadeHook = std::function<void(const CString& path, bool bDirectory)>;
    static MadeHook SetMadeHook(MadeHook hook);

    // Makes the project newName from the template tree templateRoot\keyword\:
    // the target is the location's drive, directory and title followed by
    // newName ("C:\Work\" gives C:\Work\Bar\, "C:\Work\New" gives
    // C:\Work\NewBar\; an extension of the location is dropped). Every
    // missing level of the target is created, then the template is copied
    // into it with keyword replaced by newName. A missing template yields an
    // empty target; an existing target is used, same-named files overwritten.
    void MakeProject(CString keyword, CString location, CString newName, CString templateRoot);
    // The same with both directories given (with or without a trailing
    // backslash).
    void MakeProject1(CString keyword, CString templateDir, CString targetDir, CString newName);

    // Replaces every keyword in the text of the file path with replacement.
    // The file is rewritten only when something was replaced.
    void ReplaceKeyWord(CString replacement, CString keyword, CString path);
    // ReplaceKeyWord on every file directly in dir (no trailing backslash);
    // subdirectories are not entered and no name changes.
    void ChangeKeywordInAllDirectoryFiles(CString dir, CString replacement, CString keyword);

    // The walker: copies the tree below source (ending with a backslash;
    // pattern filters its entries, "*.*" for all) into the existing
    // destination (ending with a backslash), each file through CReplaceName.
    // Directories keep their names; the whole subtree of a directory is done
    // before the next entry. Internal to the library: hosts call MakeProject
    // or MakeProject1.
    class CCopyDirectoryAndReplaceKeyword {
    public:
        CCopyDirectoryAndReplaceKeyword(CString source, CString pattern, CString destination, CString keyword,
                                        CString replacement);
        CCopyDirectoryAndReplaceKeyword& operator=(const CCopyDirectoryAndReplaceKeyword&) { return *this; }
    };

    // Copies the file name from sourceDir into destinationDir (each ending
    // with a backslash) under its new name (keyword replaced in the title),
    // overwriting a writable file of that name, and replaces the keyword in
    // the copy's text. A copy that needs no change keeps the source's time
    // stamps and read-only attribute; a read-only source is copied unchanged.
    // The five texts are left as they are.
    class CBASIS1_API CReplaceName {
    public:
        CReplaceName(CString& name, CString& sourceDir, CString& destinationDir, CString& keyword,
                     CString& replacement);
        CReplaceName& operator=(const CReplaceName&) { return *this; }
    };

    // Rewrites the tree below dir (no trailing backslash) in place, bottom
    // up: the keyword is replaced in every file's text and in the name of
    // every file and subdirectory, a subdirectory after everything below it.
    // The new path of an entry is its whole path with the keyword replaced;
    // the entry takes that path's last component as its name within its own
    // directory, and arrives at the new path when the directories above it
    // are renamed in turn (a file Foo.ico in FooRes ends as BarRes\Bar.ico).
    // Nothing is renamed when dir's own path holds the keyword, and nothing
    // is ever moved to another directory. An existing entry of the new name
    // is never replaced.
    class CBASIS1_API ChangeKeywordAndFilenameInAllDirectoryFiles {
    public:
        ChangeKeywordAndFilenameInAllDirectoryFiles(CString dir, CString replacement, CString keyword);
        ChangeKeywordAndFilenameInAllDirectoryFiles& operator=(const ChangeKeywordAndFilenameInAllDirectoryFiles&) {
            return *this;
        }
    };

    // Copies the tree below source into destination (either with or without
    // a trailing backslash), creating every missing level of the
    // destination. The pattern filters only the entries of source itself: a
    // subdirectory is entered only when its name matches, and then copied
    // whole. Copies keep the source's time stamps and read-only attribute;
    // files of the same name are overwritten unless read-only, other files
    // in the destination stay.
    class CBASIS1_API CCopyFilesFromOneDirectoryToAnother {
    public:
        CCopyFilesFromOneDirectoryToAnother(CString source, CString destination, CString pattern);
        CCopyFilesFromOneDirectoryToAnother(CString source, CString destination);
        CCopyFilesFromOneDirectoryToAnother& operator=(const CCopyFilesFromOneDirectoryToAnother&) { return *this; }
    };

    // Deletes every file and subdirectory below dir (no trailing backslash),
    // then dir itself. A file that cannot be deleted (read-only, in use)
    // stays, and so does every directory above it. A missing dir is no error.
    class CBASIS1_API CDeleteDirectory {
    public:
        explicit CDeleteDirectory(CString dir);
        CDeleteDirectory& operator=(const CDeleteDirectory&) { return *this; }
    };
};
