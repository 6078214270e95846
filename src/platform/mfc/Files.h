// Files and directory searches: CFile with CFileStatus and CFileException,
// the finder CFileFind, the runtime's _findfirst family, and the wildcard
// rules both finders share.
//
// Attributes follow the original platform on POSIX terms: read-only means
// the owner has no write permission, hidden means a name with a leading dot,
// regular files carry the archive bit, and a symbolic link is a reparse
// point, never a directory, so that no directory walk follows it out of its
// tree. There are no share modes on POSIX; CFile keeps them among CFile
// objects with advisory locks (see Open).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/crt/Stdio.h"
#include "platform/kernel/FindFile.h"
#include "platform/mfc/Exceptions.h"
#include "platform/mfc/Time.h"

// An exception of the original platform's kind: thrown as a pointer by the
// CFile operations that throw; the catcher calls Delete.
class PLATFORM_API CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none, generic, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
        removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation,
        diskFull, endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

    // Throw new CFileException with the cause for the Win32 code or errno.
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
    [[noreturn]] static void ThrowErrno(int nErrno, LPCTSTR lpszFileName = nullptr);
    static int OsErrorToException(LONG lOsError);
    static int ErrnoToException(int nErrno);

    // "<file name>: <system text>", cut to nMaxError characters including the
    // terminator. FALSE when there is no room at all.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;  // Win32 code, -1 when none
    CString m_strFileName;
};

struct CFileStatus {
    CTime m_ctime;        // creation: birth time where the file system keeps it, else status change
    CTime m_mtime;        // last modification
    CTime m_atime;        // last access
    LONG m_size = 0;      // bytes; 0 for a directory; LONG_MAX for larger files
    BYTE m_attribute = 0; // CFile::Attribute bits
    BYTE _m_padding = 0;
    TCHAR m_szFullName[MAX_PATH] = {};  // full path; empty when it does not fit
};

class PLATFORM_API CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
        shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030, shareDenyNone = 0x0040, modeNoInherit = 0x0080,
        modeCreate = 0x1000, modeNoTruncate = 0x2000, typeText = 0x4000, typeBinary = 0x8000
    };
    enum Attribute {
        normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08,
        directory = 0x10, archive = 0x20
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    enum { hFileNull = -1 };

    CFile() = default;
    // Opens as Open does; throws CFileException* on failure.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    virtual ~CFile();  // closes the file; errors are not reported
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens a file (an open one is closed first). modeCreate creates or, without
    // modeNoTruncate, empties it; otherwise the file must exist. A directory,
    // or a read-only file for writing, cannot be opened (accessDenied). Share modes hold among CFile objects of
    // every process through advisory locks: shareExclusive and shareCompat take
    // an exclusive lock, shareDenyWrite and shareDenyRead a shared one,
    // shareDenyNone none; a conflict fails with sharingViolation. typeText and
    // typeBinary make no difference: CFile always copies bytes.
    // On failure returns FALSE and fills *pError when given; never throws.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    // The operations below throw CFileException* on failure, as the original
    // does; using a closed CFile fails the same way.
    // Reads up to nCount bytes; fewer only at the end of the file. Only
    // regular files open as CFiles, and on Linux a regular file's read
    // returns less than asked only at its end, so a short read is taken as
    // the end without a further read to confirm it, as the original's one
    // ReadFile call does.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes; a full disk throws diskFull.
    virtual void Write(const void* lpBuf, UINT nCount);
    // Returns the new position; a position before the start throws badSeek.
    virtual LONG Seek(LONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD dwNewLen);
    // Writes the file's data through to the disk.
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    // Status of the open file; FALSE when it cannot be read.
    BOOL GetStatus(CFileStatus& rStatus) const;
    // The full path given to Open (made absolute), its last component, and
    // that without its extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    // Sets the path the file reports (and its exceptions name).
    virtual void SetFilePath(LPCTSTR lpszNewName) { m_strFileName = lpszNewName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;

    // TRUE and the status when the file or directory exists (links are
    // followed); FALSE otherwise.
    static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    // Applies the last-modification and last-access times (a time of 0 leaves
    // that time as it is) and the read-only attribute; other attribute bits
    // are not applied. Creation times cannot be set on POSIX and are ignored.
    // Throws CFileException* on failure.
    static void SetStatus(LPCTSTR lpszFileName, const CFileStatus& status);
    // Deletes a file; a read-only file or a directory throws accessDenied.
    static void Remove(LPCTSTR lpszFileName);
    // Renames; an existing target throws accessDenied and stays.
    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);

    int m_hFile = hFileNull;

protected:
    CString m_strFileName;
};

// Copies the whole of source, from its start, over target, which is emptied
// first, in bounded steps: a file of any size copies in the same small
// memory. The kernel copies the data where it can (copy_file_range), else it
// goes through a block of 1 MiB. Holes of a sparse source stay holes where
// the file systems keep them (only its data is read and written). Both files
// are left at their end. Throws CFileException* on a failed read or write,
// as Read and Write do.
PLATFORM_API void PlatformCopyFileData(CFile& source, CFile& target);

// Opens lpszFileName for reading as CFile::Open does with modeRead |
// shareDenyNone | typeBinary, for a walk that met the name in a directory
// listing, in one open and one status call: a symbolic link is refused
// (ERROR_CANT_RESOLVE_FILENAME), never followed, even if the name was
// swapped for one after the listing; and rStatus receives the open file's
// status. FALSE with the last error set on failure, as CFile::Open.
PLATFORM_API BOOL PlatformOpenFileNoFollow(CFile& rFile, LPCTSTR lpszFileName, CFileStatus& rStatus);

// Creates a new, empty file with a unique hidden name (".cb*.tmp") in the
// directory of pszBeside (which need not exist), opens it for writing in
// rFile and gives its library path in rTempPath: the first step of writing
// or rewriting pszBeside atomically (write the temporary file, then move it
// into place). With bLikeBeside and pszBeside an existing file, the new file
// gets its permission bits (owner write added, so it can be written) and,
// where the process may give them, its owner and group, before anything is
// written to it; otherwise, and always without bLikeBeside (for a file that
// is known not to exist, which saves looking), it gets the default ones.
// FALSE with the last error set when the file cannot be created
// (ERROR_PATH_NOT_FOUND for a missing directory); rTempPath is then empty and
// rFile closed.
PLATFORM_API BOOL PlatformCreateTempFile(LPCSTR pszBeside, CString& rTempPath, CFile& rFile, BOOL bLikeBeside = TRUE);

// Gives a copy that this process is writing, before it is closed, the
// last-modification and last-access times of status (a time of 0 leaves
// that time as it is) and, when status has it, the read-only attribute (the
// file, open for writing, is writable until then). Creation times cannot be
// set on POSIX. Throws CFileException* on failure, as CFile::SetStatus.
PLATFORM_API void PlatformSetCopyStatus(CFile& rFile, const CFileStatus& status);


// Directory search. FindFile lists the directory's matching entries at once;
// they come with "." and ".." first (when the pattern matches them), then
// sorted by name case-insensitively. Whether an entry is a directory or a
// link is known from the listing; its size, times and read-only bit are read
// when first asked for (an entry that is gone by then reads as 0).
class PLATFORM_API CFileFind {
public:
    CFileFind();
    virtual ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search of a directory and a pattern ("C:\dir\*.txt"; null
    // means "*.*" in the current directory). TRUE when an entry matches; a
    // missing directory or an unmapped drive matches nothing. No entry is
    // current until the first FindNextFile.
    virtual BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
    // Makes the next entry current and returns whether a further entry
    // follows it, so a loop processes the entry of the call that returns
    // FALSE too. With no entry left it returns FALSE and changes nothing.
    virtual BOOL FindNextFile();
    void Close();

    // The current entry; empty, 0 or FALSE when there is none.
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;   // GetRoot() followed by the name
    virtual CString GetFileTitle() const;  // the name without its extension
    // The searched directory as a full path ending with a backslash.
    virtual CString GetRoot() const;
    // Size in bytes (0 for directories and links; 0xFFFFFFFF for larger files).
    DWORD GetLength() const;
    BOOL GetLastWriteTime(CTime& refTime) const;
    BOOL GetLastAccessTime(CTime& refTime) const;
    BOOL GetCreationTime(CTime& refTime) const;
    // TRUE when the entry has any of the FILE_ATTRIBUTE_* bits in dwMask.
    virtual BOOL MatchesMask(DWORD dwMask) const;
    virtual BOOL IsDots() const;
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

private:
    struct Search;
    std::unique_ptr<Search> m_pSearch;
};
