// File and path services of the project generator.
#include "project/ProjectFiles.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"

namespace projectfiles {

namespace {

constexpr DWORD kNotRewritable =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE;

// Reads and writes go in blocks of this size, whatever the file's size.
constexpr size_t kBlock = 1024 * 1024;

// The first occurrence of key in [from, end), or end. Keywords are short
// names: a scan for their first byte, then a comparison, is quicker than
// memmem, which sets up its tables anew for every occurrence.
const char* Search(const char* from, const char* end, const std::string& key) {
    const size_t n = key.size();
    for (const char* p = from; static_cast<size_t>(end - p) >= n; ++p) {
        p = static_cast<const char*>(std::memchr(p, key[0], static_cast<size_t>(end - p) - n + 1));
        if (!p) break;
        if (std::memcmp(p + 1, key.data() + 1, n - 1) == 0) return p;
    }
    return end;
}

// Deletes a temporary file, read-only or not.
void Discard(const CString& temp) {
    try {
        CFile::SetStatus(temp, CFileStatus{});  // times left as they are, writable
    } catch (CFileException* e) {
        e->Delete();
    }
    DeleteFileA(temp);
}

}  // namespace

// ---- New versions of files --------------------------------------------------

NewVersion::NewVersion(const CString& path, Known known) : m_path(path), m_bAbsent(known == Known::Absent) {
    if (known == Known::Nothing) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotRewritable)) {
            PlatformReportUndone(PlatformUndone::NotWritten, path, ERROR_ACCESS_DENIED);
            return;
        }
        m_bAbsent = attributes == INVALID_FILE_ATTRIBUTES;
    }
    if (!PlatformCreateTempFile(path, m_temp, m_file, !m_bAbsent))
        PlatformReportUndone(PlatformUndone::NotWritten, path, GetLastError());
}

NewVersion::~NewVersion() {
    m_file.Abort();
    if (!m_temp.IsEmpty()) Discard(m_temp);
}

bool NewVersion::Commit(const CFileStatus* status) {
    if (!IsOpen()) return false;
    try {
        if (status) PlatformSetCopyStatus(m_file, *status);
    } catch (CFileException* e) {
        e->Delete();  // the contents arrive; only the time stamps do not
    }
    try {
        m_file.Close();  // a failed close may have lost written data
    } catch (CFileException* e) {
        PlatformReportUndone(PlatformUndone::NotWritten, m_path, static_cast<DWORD>(e->m_lOsError));
        e->Delete();
        return false;
    }
    // A new file takes a free name without looking first; only when one
    // stands there after all is it replaced.
    BOOL placed = m_bAbsent && MoveFileA(m_temp, m_path);
    if (!placed && (!m_bAbsent || GetLastError() == ERROR_ALREADY_EXISTS))
        placed = MoveFileExA(m_temp, m_path, MOVEFILE_REPLACE_EXISTING);
    if (!placed) {
        PlatformReportUndone(PlatformUndone::NotWritten, m_path, GetLastError());
        return false;
    }
    m_temp.Empty();
    return true;
}

// ---- Streaming replacement --------------------------------------------------

int64_t CopyReplacing(CFile& source, CFile* out, const CString& keyword, const CString& replacement) {
    const std::string& key = keyword.str();
    const std::string& rep = replacement.str();
    const bool replacing = !key.empty() && key != rep;
    // An occurrence may start in the last key.size() - 1 bytes of a block and
    // end in the next one: those bytes are carried in front of the next block.
    const size_t carry = replacing ? key.size() - 1 : 0;
    const size_t size = kBlock + carry;
    std::unique_ptr<char[]> block(new char[size]);
    char* data = block.get();
    std::string pending;
    auto emit = [&](const char* p, size_t n) {
        if (!out) return;
        pending.append(p, n);
        if (pending.size() >= kBlock) {
            out->Write(pending.data(), static_cast<UINT>(pending.size()));
            pending.clear();
        }
    };

    int64_t count = 0;
    size_t kept = 0;
    for (bool last = false; !last;) {
        size_t room = size - kept;
        size_t got = source.Read(data + kept, static_cast<UINT>(room));
        last = got < room;
        if (std::memchr(data + kept, 0, got)) {
            if (out) PlatformCopyFileData(source, *out);
            return -1;
        }
        size_t length = kept + got, pos = 0;
        // Occurrences that start before limit lie wholly in the block.
        size_t limit = last ? length : length - std::min(length, carry);
        while (replacing && pos < limit) {
            size_t at = static_cast<size_t>(Search(data + pos, data + length, key) - data);
            if (at >= limit) break;
            emit(data + pos, at - pos);
            emit(rep.data(), rep.size());
            pos = at + key.size();
            ++count;
        }
        if (pos < limit) {
            emit(data + pos, limit - pos);
            pos = limit;
        }
        kept = length - pos;
        std::memmove(data, data + pos, kept);
    }
    if (out && !pending.empty()) out->Write(pending.data(), static_cast<UINT>(pending.size()));
    return count;
}

bool OpenSource(const CString& path, CFile& file, CFileStatus& status) {
    if (PlatformOpenFileNoFollow(file, path, status)) return true;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    bool special = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE);
    PlatformReportUndone(special ? PlatformUndone::Special : PlatformUndone::Unreadable, path,
                         special ? ERROR_ACCESS_DENIED : error);
    return false;
}

void ReportFailure(CFileException* error, const CString& source, const CString& target) {
    bool reading = error->m_strFileName == AbsolutePath(source);
    PlatformReportUndone(reading ? PlatformUndone::Unreadable : PlatformUndone::NotWritten, reading ? source : target,
                         static_cast<DWORD>(error->m_lOsError));
    error->Delete();
}

bool CopyFileReplacing(const CString& source, const CString& target, const CString& keyword,
                       const CString& replacement, bool bVerbatim, bool bAbsent) {
    CFile in;
    CFileStatus status;
    if (!OpenSource(source, in, status)) return false;
    // A read-only copy could not be opened for rewriting: it arrives as it
    // is, like a binary file or one without the keyword.
    bVerbatim = bVerbatim || (status.m_attribute & CFile::readOnly);
    NewVersion copy(target, bAbsent ? NewVersion::Known::Absent : NewVersion::Known::Nothing);
    if (!copy.IsOpen()) return false;
    int64_t replaced;
    try {
        if (bVerbatim) {
            PlatformCopyFileData(in, copy.File());
            replaced = 0;
        } else {
            replaced = CopyReplacing(in, &copy.File(), keyword, replacement);
        }
    } catch (CFileException* e) {
        ReportFailure(e, source, target);
        return false;
    }
    // A copy that needs no change is a file copy: it keeps the source's status.
    return copy.Commit(replaced > 0 ? nullptr : &status);
}

bool ReplaceInFile(const CString& path, const CString& keyword, const CString& replacement) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_DEVICE) {
        PlatformReportUndone(PlatformUndone::Special, path, ERROR_ACCESS_DENIED);
        return false;
    }
    if (attributes & kNotRewritable) return false;
    CFile in;
    CFileStatus status;
    if (!OpenSource(path, in, status)) return false;
    try {
        // Read once to learn whether anything changes; only then written.
        if (CopyReplacing(in, nullptr, keyword, replacement) <= 0) return false;
        in.SeekToBegin();
        NewVersion rewritten(path, NewVersion::Known::Writable);
        if (!rewritten.IsOpen()) return false;
        CopyReplacing(in, &rewritten.File(), keyword, replacement);
        return rewritten.Commit(nullptr);
    } catch (CFileException* e) {
        ReportFailure(e, path, path);
        return false;
    }
}

// ---- Paths ------------------------------------------------------------------

bool IsLink(const CString& path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

CString AbsolutePath(const CString& path) {
    DWORD size = GetFullPathNameA(path, 0, nullptr, nullptr);
    if (size == 0) return path;
    CString full;
    DWORD length = GetFullPathNameA(path, size, full.GetBuffer(static_cast<int>(size)), nullptr);
    full.ReleaseBuffer(length < size ? static_cast<int>(length) : 0);
    return full.IsEmpty() ? path : full;
}

bool LiesInside(const CString& inner, const CString& outer) {
    std::string in, out;
    if (!PlatformToPosixPath(inner, in) || !PlatformToPosixPath(outer, out)) return false;
    if (out == "/" || in == out) return true;
    return in.compare(0, out.size(), out) == 0 && in[out.size()] == '/';
}

bool IsRoot(const CString& path) {
    CString trimmed = path;
    trimmed.TrimRight("\\/");
    if (trimmed.IsEmpty()) return true;
    std::string full, posix;
    if (!PlatformFullPath(path, full) || !PlatformToPosixPath(path, posix)) return false;
    return posix == "/" || full == "\\" || (full.size() == 3 && full[1] == ':');
}

bool IsSafeReplacement(const CString& replacement) { return replacement.IsEmpty() || PlatformIsPlainName(replacement); }

bool IsNamePattern(const CString& pattern) { return pattern.FindOneOf("\\/") < 0 && pattern != "." && pattern != ".."; }

CString WithBackslash(const CString& path) {
    if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') return path;
    return path + "\\";
}

}  // namespace projectfiles
