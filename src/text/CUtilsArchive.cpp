// CUtils: archive helpers.
#include <algorithm>
#include <climits>
#include <cstring>

#include "files/CUtils.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/Wnd.h"

namespace {

constexpr UINT kRectBytes = 4 * sizeof(LONG);
static_assert(sizeof(RECT) == kRectBytes);

void WriteZeros(CArchive& ar, size_t count) {
    for (size_t i = 0; i < count; ++i) ar << BYTE(0);
}

void SkipBytes(CArchive& ar, size_t count) {
    BYTE dropped;
    for (size_t i = 0; i < count; ++i) ar >> dropped;
}

}  // namespace

void CUtils::ArchiveOutBytes(unsigned char*& buffer, int n, CArchive& ar) {
    const unsigned char* bytes = buffer;
    if (!bytes) return;
    for (int i = 0; i < n; ++i) ar << bytes[i];
}

void CUtils::ArchiveInBytes(unsigned char*& buffer, int n, CArchive& ar) {
    unsigned char* bytes = buffer;
    if (!bytes) return;
    for (int i = 0; i < n; ++i) ar >> bytes[i];
}

void CUtils::ArchiveOutStrings(unsigned char* buffer, unsigned int bufSize, CString** strings, unsigned int count,
                               unsigned int* sizes, CArchive& ar) {
    if (!strings || !sizes) return;
    if (!buffer) bufSize = 0;
    for (unsigned int i = 0; i < count; ++i) {
        if (bufSize > 0) std::memset(buffer, 0, bufSize);
        if (strings[i] && bufSize > 0) {
            const char* text = *strings[i];
            size_t kept = std::min<size_t>(std::strlen(text), bufSize - 1);
            std::memcpy(buffer, text, kept);  // the zero after it is there already
        }
        unsigned int fromBuffer = std::min(sizes[i], bufSize);
        ArchiveOutBytes(buffer, static_cast<int>(std::min<unsigned int>(fromBuffer, INT_MAX)), ar);
        WriteZeros(ar, sizes[i] - fromBuffer);
    }
}

void CUtils::ArchiveInStrings(unsigned char* buffer, unsigned int bufSize, CString** strings, unsigned int count,
                              unsigned int* sizes, CArchive& ar) {
    if (!strings || !sizes) return;
    if (!buffer) bufSize = 0;
    for (unsigned int i = 0; i < count; ++i) {
        if (bufSize > 0) std::memset(buffer, 0, bufSize);
        // The last byte of the buffer stays zero, so the text always ends.
        unsigned int intoBuffer = strings[i] && bufSize > 0 ? std::min(sizes[i], bufSize - 1) : 0;
        ArchiveInBytes(buffer, static_cast<int>(intoBuffer), ar);
        SkipBytes(ar, sizes[i] - intoBuffer);
        if (strings[i]) *strings[i] = bufSize > 0 ? reinterpret_cast<const char*>(buffer) : "";
    }
}

void CUtils::ArchiveOutID(unsigned int id, CWnd* pWnd, CArchive& ar) {
    ar << static_cast<DWORD>(id);
    WINDOWPLACEMENT wp{};
    if (!pWnd || !pWnd->GetWindowPlacement(&wp)) wp.rcNormalPosition = RECT{};
    ar.Write(&wp.rcNormalPosition, kRectBytes);
}

void CUtils::ArchiveInID(unsigned int& id, RECT& rect, CArchive& ar) {
    DWORD value;
    ar >> value;
    id = value;
    RECT read;
    if (ar.Read(&read, kRectBytes) != kRectBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    rect = read;
}
