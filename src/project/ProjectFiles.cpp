// Whole-file and path services of the project generator.
#include "project/ProjectFiles.h"

#include <cstring>
#include <string>
#include <vector>

#include "files/GetFileContents.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Stdio.h"

namespace projectfiles {

namespace {

constexpr DWORD kNotRewritable = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;

bool HasDrive(const CString& path) { return path.GetLength() >= 2 && path[1] == ':'; }

// The absolute POSIX form with "." and empty components dropped and ".."
// taken back; empty for a path on an unmapped drive.
std::string NormalisedPosix(const CString& path) {
    std::string posix;
    if (!PlatformToPosixPath(AbsolutePath(path), posix) || posix.empty()) return {};
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= posix.size()) {
        size_t end = posix.find('/', start);
        if (end == std::string::npos) end = posix.size();
        std::string part = posix.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string& part : parts) normal += "/" + part;
    return normal.empty() ? "/" : normal;
}

}  // namespace

bool LoadBytes(const CString& path, CString& bytes) {
    bytes.Empty();
    GetFileContents file(path);
    if (!file.m_pBuffer || file.m_nSize < 1) return false;
    bytes = CString(file.m_pBuffer, file.m_nSize - 1);
    return true;
}

bool IsBinary(const CString& bytes) {
    const std::string& data = bytes.str();
    return std::memchr(data.data(), 0, data.size()) != nullptr;
}

int ReplaceAll(CString& text, const CString& keyword, const CString& replacement) {
    if (keyword == replacement) return 0;
    return text.Replace(keyword, replacement);
}

bool WriteWhole(const CString& path, const CString& bytes) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotRewritable)) return false;
    CString temp;
    if (!PlatformCreateTempFile(path, temp)) return false;
    const std::string& data = bytes.str();
    bool written = false;
    if (FILE* file = crt::fopen(temp, "wb")) {
        written = data.empty() || std::fwrite(data.data(), data.size(), 1, file) == 1;
        written = std::fclose(file) == 0 && written;
    }
    if (written && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(temp);
    return false;
}

bool WriteCopy(const CString& target, const CString& bytes, const CFileStatus& sourceStatus) {
    if (!WriteWhole(target, bytes)) return false;
    try {
        CFile::SetStatus(target, sourceStatus);
    } catch (CFileException* error) {
        error->Delete();  // the contents arrived; only the time stamps did not
    }
    return true;
}

bool ReplaceInFile(const CString& path, const CString& keyword, const CString& replacement) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotRewritable)) return false;
    CString text;
    if (!LoadBytes(path, text) || IsBinary(text)) return false;
    if (ReplaceAll(text, keyword, replacement) == 0) return false;
    return WriteWhole(path, text);
}

bool IsLink(const CString& path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

CString AbsolutePath(const CString& path) {
    if (HasDrive(path) || path[0] == '\\' || path[0] == '/') return path;
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return path;
    CString current;
    DWORD length = GetCurrentDirectoryA(size, current.GetBuffer(static_cast<int>(size)));
    current.ReleaseBuffer(length < size ? static_cast<int>(length) : 0);
    if (current.IsEmpty()) return path;
    return WithBackslash(current) + path;
}

bool LiesInside(const CString& inner, const CString& outer) {
    std::string in = NormalisedPosix(inner), out = NormalisedPosix(outer);
    if (in.empty() || out.empty()) return false;
    if (out == "/" || in == out) return true;
    return in.compare(0, out.size(), out) == 0 && in[out.size()] == '/';
}

bool IsRoot(const CString& path) {
    CString trimmed = path;
    trimmed.TrimRight("\\/");
    if (trimmed.IsEmpty()) return true;
    std::string normal = NormalisedPosix(path);
    return normal == "/" || (HasDrive(path) && normal == NormalisedPosix(path.Left(2) + "\\"));
}

bool IsSafeReplacement(const CString& replacement) {
    return replacement.FindOneOf("\\/") < 0 && replacement != "." && replacement != "..";
}

bool IsPlainName(const CString& name) { return !name.IsEmpty() && IsSafeReplacement(name); }

CString WithBackslash(const CString& path) {
    if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') return path;
    return path + "\\";
}

}  // namespace projectfiles
