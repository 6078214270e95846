// CUtils: directory listing, paths and file names, file operations.
//
// Sections: listing, paths and names, copying, checks and writing, launching.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "containers/CStr.h"
#include "files/CUtils.h"
#include "platform/crt/Crt.h"
#include "platform/crt/FindFirst.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Process.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/Modules.h"

// ---- Listing ----------------------------------------------------------------

int CUtils::GetDirectoryListing(CString dir, CString pattern, void*& first) {
    Delete_file_names();
    m_pFirst = m_pCurrent = new (std::nothrow) file_name;
    if (!m_pFirst) {
        m_strError = "Out of Memory";
        return !m_bSuccess;
    }
    m_pFirst->m_strName = "start";

    crt::_finddata_t data;
    intptr_t search = crt::_findfirst(dir + pattern, &data);
    if (search == -1) {
        Delete_file_names();
        first = nullptr;
        return m_bSuccess;
    }
    do {
        file_name* record = new (std::nothrow) file_name;
        if (!record) {
            m_strError = "Out of Memory";
            crt::_findclose(search);
            return !m_bSuccess;
        }
        record->m_strName = data.name;
        m_pCurrent->m_pNext = record;
        m_pCurrent = record;
    } while (crt::_findnext(search, &data) == 0);
    crt::_findclose(search);
    first = m_pFirst;
    return m_bSuccess;
}

// ---- Paths and names --------------------------------------------------------

namespace {

const int kNameAttempts = 500;
// The number chain re-seeds the generator with its own output, and the
// numbers of 9999 and above are passed over; this bounds the draws so the
// search ends even where the chain would only give such numbers.
const int kNameDraws = 10 * kNameAttempts;
const int kNameNumberLimit = 9999;

}  // namespace

CString CUtils::UniqueFileName(CString name, CString dir, CString ext) {
    CString prefix = name.Left(4);
    crt::srand(static_cast<unsigned>(crt::time(nullptr)));
    int previous = crt::rand();
    CString candidate;
    auto propose = [&](int number) {
        candidate.Format("%s%s%d.%s", static_cast<LPCTSTR>(dir), static_cast<LPCTSTR>(prefix), number,
                         static_cast<LPCTSTR>(ext));
    };
    int attempts = 0;
    for (int draws = 0; attempts < kNameAttempts && draws < kNameDraws; ++draws) {
        crt::srand(static_cast<unsigned>(previous));
        int number = crt::rand();
        if (number >= kNameNumberLimit) {
            // One number reproduces itself; step past it instead of drawing it forever.
            previous = number == previous ? number + 1 : number;
            continue;
        }
        previous = number;
        propose(number);
        CFileStatus status;
        if (!CFile::GetStatus(candidate, status)) return candidate;
        ++attempts;
    }
    if (candidate.IsEmpty()) propose(previous % kNameNumberLimit);
    return candidate;
}

void CUtils::GetRootDir(CString& dir) {
    // The original's buffer of 1000 characters would cut a longer path; this
    // one grows until the path fits.
    std::vector<char> buffer(1000);
    DWORD length;
    while ((length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) ==
               buffer.size() &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    CString path(buffer.data(), static_cast<int>(std::min<size_t>(length, buffer.size())));
    dir = path.Left(path.ReverseFind('\\'));
}

void CUtils::GetAppDir(CString& dir) {
    CString root;
    GetRootDir(root);
    int at = root.Find(AfxGetAppName());
    dir = at < 0 ? CString() : root.Left(at);
}

// ---- Copying ----------------------------------------------------------------

namespace {

// Removes a temporary copy, read-only or not. Errors are of no use here.
void DiscardFile(const CString& path) {
    try {
        CFileStatus writable;
        CFile::SetStatus(path, writable);
    } catch (CFileException* e) {
        e->Delete();
    }
    DeleteFileA(path);
}

}  // namespace

int CUtils::CopyFileA(char* source, char* target) {
    CString from = source ? source : "";
    CString to = target ? target : "";
    CFile in;
    if (!in.Open(from, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary)) {
        m_strError.Format("Cannot open %s !", static_cast<LPCTSTR>(from));
        return !m_bSuccess;
    }
    CFileStatus sourceStatus;
    CFile::GetStatus(from, sourceStatus);

    // Where the original removed the target here, it is only checked: a
    // target that cannot be removed fails as the removal would have.
    DWORD attributes = GetFileAttributesA(to);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ((attributes & FILE_ATTRIBUTE_DIRECTORY) ||
         ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))))
        CFileException::ThrowOsError(ERROR_ACCESS_DENIED, to);

    auto cannotCreate = [&] {
        AfxMessageBox("Can not create target file '" + to + "' !", MB_ICONHAND);
        return !m_bSuccess;
    };
    CString temp;
    CFile out;
    if (!PlatformCreateTempFile(to, temp, out)) {
        if (attributes != INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_ACCESS_DENIED)
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, to);  // the removal would have failed
        return cannotCreate();
    }

    try {
        // Bounded blocks whatever the size (the original stopped at the 32-bit
        // length), and a sparse source stays sparse.
        PlatformCopyFileData(in, out);
        in.Close();
        PlatformSetCopyStatus(out, sourceStatus);
        out.Close();
    } catch (CFileException*) {
        in.Abort();
        out.Abort();
        DiscardFile(temp);
        throw;
    }
    if (!MoveFileExA(temp, to, MOVEFILE_REPLACE_EXISTING)) {
        DiscardFile(temp);
        return cannotCreate();
    }
    return m_bSuccess;
}

// ---- Checks and writing -----------------------------------------------------

long CUtils::GetFileSize(CString name) {
    CFileStatus status;
    return CFile::GetStatus(name, status) ? status.m_size : -1;
}

int CUtils::ValidFile(CString name) {
    int result = m_bSuccess;
    CFile file;
    if (!file.Open(name, CFile::modeRead)) {
        m_strError.Format("%s file cannot be opened.\n", static_cast<LPCTSTR>(name));
        result = !m_bSuccess;
    }
    CFileStatus status;  // a file that is not open has the size 0
    file.GetStatus(status);
    if (status.m_size <= 0) {
        m_strError.Format("%s file < 0\n", static_cast<LPCTSTR>(name));
        result = !m_bSuccess;
    }
    file.Abort();
    return result;
}

int CUtils::GetValidFile(CString name) {
    for (int i = 0; i < 10; ++i)
        if (ValidFile(name)) return m_bSuccess;
    m_strError = "File not valid";
    return !m_bSuccess;
}

void CUtils::SaveStringToFile(CString text, CString name) {
    FILE* file = crt::fopen(name, "wb");
    if (!file) return;
    WriteToFile(file, text);
    std::fclose(file);
}

int CUtils::WriteToFile(FILE* stream, CString& text) {
    if (stream) std::fwrite(static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength()), 1, stream);
    return m_bSuccess;
}

int CUtils::WriteToFile(FILE* stream, char* text) {
    if (stream && text) std::fwrite(text, std::strlen(text), 1, stream);
    return m_bSuccess;
}

// ---- Launching --------------------------------------------------------------

void CUtils::Launch(CString commandLine) {
    CStr writable(commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!writable.m_pStr || !CreateProcessA(nullptr, writable.m_pStr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                            &startup, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
