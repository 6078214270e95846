#include "files/GetFileContents.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "platform/mfc/Files.h"

namespace {

// The block a file whose size reads 0 is read in.
constexpr size_t kBlock = 4096;

}  // namespace

// ---- GetFileContents --------------------------------------------------------

GetFileContents::GetFileContents() { Init(); }

GetFileContents::GetFileContents(CString name) { GetFileContents1(name); }

GetFileContents::GetFileContents(CString name, bool) {
    CreateIfMissing(name);
    GetFileContents1(name);
}

GetFileContents::GetFileContents(const GetFileContents& other)
    : m_nReadPos(other.m_nReadPos),
      m_nLineEnd(other.m_nLineEnd),
      m_strText(other.m_strText),
      m_nSize(0),
      m_pBuffer(nullptr),
      m_strFileName(other.m_strFileName),
      m_strContents(other.m_strContents) {
    if (other.m_pBuffer && (m_pBuffer = new (std::nothrow) char[other.m_nSize])) {
        std::memcpy(m_pBuffer, other.m_pBuffer, other.m_nSize);
        m_nSize = other.m_nSize;
    }
}

GetFileContents& GetFileContents::operator=(const GetFileContents& other) {
    if (this == &other) return *this;
    char* copy = other.m_pBuffer ? new (std::nothrow) char[other.m_nSize] : nullptr;
    if (copy) std::memcpy(copy, other.m_pBuffer, other.m_nSize);
    delete[] m_pBuffer;
    m_pBuffer = copy;
    m_nSize = copy ? other.m_nSize : 0;
    m_nReadPos = other.m_nReadPos;
    m_nLineEnd = other.m_nLineEnd;
    m_strText = other.m_strText;
    m_strFileName = other.m_strFileName;
    m_strContents = other.m_strContents;
    return *this;
}

GetFileContents::~GetFileContents() { DeleteContents(); }

void GetFileContents::Init() {
    m_pBuffer = nullptr;
    m_nSize = m_nReadPos = m_nLineEnd = 0;
}

void GetFileContents::GetFileContents1(CString name) {
    Init();
    GetFile(name);
    m_strFileName = name;
}

int GetFileContents::GetFile(CString name) { return LoadFile(name, false); }

int GetFileContents::SaveFileContents(CString& text) { return SaveFile(text, "wb"); }

void GetFileContents::DeleteContents() {
    delete[] m_pBuffer;
    Init();
}

void GetFileContents::InitReadLine() {
    m_nReadPos = m_nLineEnd = 0;
    m_strText = m_pBuffer ? m_pBuffer : "";
}

int GetFileContents::ReadNextLine(CString& line) {
    m_nLineEnd = m_strText.Find("\r\n", m_nReadPos);
    if (m_nLineEnd < 0) return 0;
    line = m_strText.Mid(m_nReadPos, m_nLineEnd - m_nReadPos);
    m_nReadPos = m_nLineEnd + 2;
    return 1;
}

int GetFileContents::LoadFile(const CString& name, bool bText) {
    m_strFileName = name;
    CFileStatus status;
    // Sizes that do not leave room for the terminator in m_nSize are not
    // loaded, and neither is a file whose buffer cannot be allocated.
    if (!CFile::GetStatus(name, status) || status.m_size >= INT_MAX) return 1;
    // Binary mode reads the file's bytes straight into the buffer: what
    // fopen's binary mode gives, without the extra copy of a stdio buffer.
    CFile binary;
    FILE* text = nullptr;
    if (bText ? !(text = crt::fopen(name, "rt")) : !binary.Open(name, CFile::modeRead | CFile::shareDenyNone))
        return 1;
    auto read = [&](char* into, size_t want) {
        return text ? std::fread(into, 1, want, text) : ReadBytes(binary, into, want);
    };
    size_t size = static_cast<size_t>(status.m_size);
    if (size > 0) {
        char* buffer = new (std::nothrow) char[size + 1];
        if (buffer) {
            // One read; in text mode fewer bytes arrive than the file holds,
            // and everything past them is zero.
            size_t got = read(buffer, size);
            std::memset(buffer + got, 0, size + 1 - got);
            m_pBuffer = buffer;
            m_nSize = static_cast<int>(size) + 1;
        }
    } else {
        // A size of 0 may belong to a file that holds text all the same (the
        // files of /proc and /sys): read on to its end.
        std::string all;
        char block[kBlock];
        for (size_t got; all.size() < INT_MAX - 1 && (got = read(block, sizeof block)) > 0;)
            all.append(block, std::min(got, INT_MAX - 1 - all.size()));
        if ((m_pBuffer = new (std::nothrow) char[all.size() + 1])) {
            std::memcpy(m_pBuffer, all.c_str(), all.size() + 1);
            m_nSize = static_cast<int>(all.size()) + 1;
        }
    }
    if (text) std::fclose(text);
    return 1;
}

size_t GetFileContents::ReadBytes(CFile& file, char* buffer, size_t size) {
    try {
        return file.Read(buffer, static_cast<UINT>(size));
    } catch (CFileException* e) {
        e->Delete();
        return 0;  // a failed read counts as nothing read
    }
}

int GetFileContents::SaveFile(const CString& text, const char* pszMode) {
    FILE* file = crt::fopen(m_strFileName, pszMode);
    if (!file) return 1;
    std::fwrite(static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength()), 1, file);
    std::fclose(file);
    return 1;
}

void GetFileContents::CreateIfMissing(const CString& name) {
    CFileStatus status;
    if (CFile::GetStatus(name, status)) return;
    if (FILE* file = crt::fopen(name, "w")) std::fclose(file);
}

// ---- GetTextFileContents ----------------------------------------------------
// The same in text mode. Its loading constructors call
// its own GetFile, so every load of the text variant is a text-mode load.

GetTextFileContents::GetTextFileContents(CString name) { GetTextFileContents::GetFile(name); }

GetTextFileContents::GetTextFileContents(CString name, bool) {
    CreateIfMissing(name);
    GetTextFileContents::GetFile(name);
}

int GetTextFileContents::GetFile(CString name) { return LoadFile(name, true); }

int GetTextFileContents::SaveFileContents(CString& text) { return SaveFile(text, "wt"); }
