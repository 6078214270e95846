#include "Wording.h"

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"

namespace cbasis {

std::string Reason(DWORD code) { return PlatformPosixErrorText(code).str(); }

std::string LastReason() { return Reason(GetLastError()); }

std::string MissingReason(const CString& path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) SetLastError(ERROR_FILE_NOT_FOUND);
    return LastReason();
}

std::string OpenReason(const CString& path, DWORD code) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return "Is a directory";
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE))
        return "not a regular file (a FIFO, socket or device)";
    return Reason(code);
}

std::string Counted(long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace cbasis
