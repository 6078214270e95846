// CLogFile: day-file naming, the start stamp, entries and pruning.
#include "logging/CLogFile.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "files/CUtils.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/SyncObjects.h"
#include "platform/mfc/Time.h"

CLogFile::CLogFile() : m_bSuccess(1), m_pTime(nullptr), m_pMutex(nullptr), m_time{} {}

CLogFile::CLogFile(CString dir, CString name) : CLogFile() { Init(dir, name, nullptr); }

CLogFile::CLogFile(CString dir, CString name, HWND hwnd) : CLogFile() { Init(dir, name, hwnd); }

CLogFile::CLogFile(const CLogFile& other) : CLogFile() { CopyFrom(other); }

CLogFile& CLogFile::operator=(const CLogFile& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

CLogFile::~CLogFile() {
    if (m_pMutex) {
        m_pMutex->Unlock();
        delete m_pMutex;
    }
}

void CLogFile::CopyFrom(const CLogFile& other) {
    m_bSuccess = other.m_bSuccess;
    m_time = other.m_time;
    m_pTime = other.m_pTime ? &m_time : nullptr;
    m_strLogFileName = other.m_strLogFileName;
    m_strLogName = other.m_strLogName;
    m_strError = other.m_strError;
    m_strDirectory = other.m_strDirectory;
    m_strPattern = other.m_strPattern;
    m_strDayFile = other.m_strDayFile;
    m_nSibling = other.m_nSibling;
    delete m_pMutex;
    m_pMutex = nullptr;
    if (other.m_pMutex) CreateMutexA();
}

int CLogFile::Init(CString dir, CString name, HWND) {
    m_strLogName = name;
    m_strDirectory = dir;
    m_strPattern = PatternOf(name);
    CreateMutexA();
    SetupLogfile();
    return m_bSuccess;
}

int CLogFile::CreateMutexA() {
    CString name;
    CUtils().CreateName(name);
    delete m_pMutex;
    m_pMutex = new CMutex(TRUE, name, nullptr);
    m_pMutex->Unlock();
    return m_bSuccess;
}

CString CLogFile::PatternOf(const CString& name) {
    return name.IsEmpty() || PlatformIsPlainName(name) ? name + "*.log" : CString();
}

bool CLogFile::NameRefused() const { return !m_strLogName.IsEmpty() && !PlatformIsPlainName(m_strLogName); }

CString CLogFile::DirectoryWithSeparator(const CString& dir) {
    if (dir.IsEmpty()) return "C:\\";
    return dir[dir.GetLength() - 1] == '\\' ? dir : dir + "\\";
}

int CLogFile::CreateLogFileName() {
    time_t now = crt::time(nullptr);
    if (struct tm* local = crt::localtime(&now)) {
        m_time = *local;
        m_pTime = &m_time;
    }
    if (m_strLogName.IsEmpty()) {
        m_strError = "No filename!";
        return !m_bSuccess;
    }
    if (NameRefused()) {
        m_strError = "Invalid log name!";
        m_strLogFileName.Empty();
        m_strDayFile.Empty();
        return !m_bSuccess;
    }
    m_strDirectory = DirectoryWithSeparator(m_strDirectory);
    int month = m_pTime ? m_pTime->tm_mon + 1 : 0, day = m_pTime ? m_pTime->tm_mday : 0;
    m_strLogFileName.Format("%s%s%02d-%02d.LOG", static_cast<LPCTSTR>(m_strDirectory),
                            static_cast<LPCTSTR>(m_strLogName), month, day);
    m_strDayFile = m_strLogFileName;
    m_nSibling = 0;
    return m_bSuccess;
}

CString CLogFile::SiblingFileName(int n) const {
    const CString& day = m_strDayFile.IsEmpty() ? m_strLogFileName : m_strDayFile;
    int dot = day.ReverseFind('.');
    if (dot < day.ReverseFind('\\')) dot = day.GetLength();
    CString name;
    name.Format("%s-%d%s", static_cast<LPCTSTR>(day.Left(dot)), n, static_cast<LPCTSTR>(day.Mid(dot)));
    return name;
}

bool CLogFile::MoveToNextSibling() {
    if (m_nSibling >= kSiblings) {
        m_strError = "Cannot write the log: its day file and every sibling of it tried are held by other logs.";
        return false;
    }
    m_strLogFileName = SiblingFileName(++m_nSibling);
    return true;
}

CString CLogFile::WhyNot(const CString& file) {
    DWORD error = GetLastError();
    CString reason = PlatformLastErrorText();
    DWORD attributes = GetFileAttributesA(file);
    if (error == ERROR_CANT_RESOLVE_FILENAME && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        reason = "it is a symbolic link, which a log never writes through.";
    return file + ": " + reason;
}

int CLogFile::SetupLogfile() {
    if (!CreateLogFileName() && NameRefused()) return !m_bSuccess;
    // An empty append creates the file as "at+" would, never through a link.
    // A file that another log holds is there: the stamp goes to a sibling.
    if (m_strLogFileName.IsEmpty() ||
        (!PlatformAppendText(m_strLogFileName, "", 0) && GetLastError() != ERROR_LOCK_VIOLATION)) {
        m_strError = "Cannot open log file!!!\n";
        if (!m_strLogFileName.IsEmpty()) m_strError += WhyNot(m_strLogFileName);
        return !m_bSuccess;
    }
    StampStart();
    return m_bSuccess;
}

int CLogFile::StampStart() {
    if (!m_pTime) {
        time_t now = crt::time(nullptr);
        if (struct tm* local = crt::localtime(&now)) {
            m_time = *local;
            m_pTime = &m_time;
        }
    }
    const char* when = m_pTime ? crt::asctime(m_pTime) : nullptr;
    CString stamp;
    stamp.Format("\n\n%s started job at %s", static_cast<LPCTSTR>(m_strLogName), when ? when : "\n");
    Log(stamp);
    return m_bSuccess;
}

int CLogFile::AppendToLogFile(CString text) {
    CString line = CString(static_cast<LPCTSTR>(text)) + "\n";  // the text ends at its first zero
    while (!PlatformAppendText(m_strLogFileName, line, static_cast<size_t>(line.GetLength()))) {
        DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION) {
            m_strError = "Cannot write to the log file " + WhyNot(m_strLogFileName);
            return !m_bSuccess;
        }
        if (!MoveToNextSibling()) return !m_bSuccess;
    }
    return m_bSuccess;
}

int CLogFile::message(const char* format, ...) {
    if (m_strLogFileName.IsEmpty()) {
        m_strError = "no logfile name";
        return !m_bSuccess;
    }
    va_list args;
    va_start(args, format);
    CString text(PlatformFormatV(format ? format : "", args));
    va_end(args);
    return AppendToLogFile(text);
}

int CLogFile::Log(CString text) { return AppendToLogFile(text); }

int CLogFile::SaveEdits(CString text) { return AppendToLogFile(text); }

int CLogFile::DeleteExcessLogFiles(int keep) {
    if (m_strPattern.IsEmpty()) return m_bSuccess;
    CString dir = DirectoryWithSeparator(m_strDirectory);
    // Listed and pruned from the directory's descriptor: a directory put in
    // its place as a link while it is pruned is never entered.
    PlatformWalkRoot root(dir);
    if (!root) return m_bSuccess;
    CUtils listing;
    void* first = nullptr;
    listing.GetDirectoryListing(dir, m_strPattern, first);
    int count = 0;
    for (file_name* record = static_cast<file_name*>(first); record; record = record->m_pNext) ++count;
    if (count <= keep || !first) return m_bSuccess;
    // The first record is the chain's "start" record and names no file.
    for (file_name* record = static_cast<file_name*>(first)->m_pNext; record; record = record->m_pNext) {
        CString path = dir + record->m_strName;
        CFileStatus status;
        if (CFile::GetStatus(path, status) && !listing.DateIsToday(status.m_mtime)) crt::remove(path);
    }
    return m_bSuccess;
}

int CLogFile::DeleteExcessLogFiles(CString dir, CString pattern, int keep) {
    m_strDirectory = dir;
    m_strPattern = pattern;
    return DeleteExcessLogFiles(keep);
}
