// CLogFile: one text log file per log and calendar day, named
// "<directory><name><MM>-<DD>.LOG", opened and closed again for every entry
// so that other programs can read it at any time.
//
// Every start of the log appends a stamp ("\n\n<name> started job at
// <asctime text>\n"); entries are their text and a line end, written in the
// runtime's text mode, so the file holds CR LF line ends. An entry's text ends
// at its first zero character, as a C string does. The day is fixed when the
// file name is made (at setup): a log alive past midnight keeps its file.
//
// Writers sharing a day file, in one process or several, never lose or mix
// an entry: each entry is one write, which no other write can split. While
// a log that writes the day file alone (a memory-mapped log) holds it,
// entries go to the first sibling file "<day file title>-<n>.LOG"
// (app12-04-1.LOG) that nobody holds, and that sibling stays the log's file
// from then on (m_strLogFileName), so each log's entries stay in their
// order: day file first, then siblings by number. Pruning matches the
// siblings as well.
//
// A day file is never written through a link: a link in its place is
// refused, with m_strError saying so. An entry is whole in the day file or
// not there at all: a write that falls short (a full disk) is cut back to
// where the entry began, and m_strError gives the system's reason.
//
// Results are 1 for success and 0 for failure, with the reason in m_strError
// where a text is given. Copies are deep: a copy has its own mutex.
#pragma once

#include <ctime>

#include "platform/atl/Strings.h"

class CMutex;

class CBASIS1_API CLogFile {
public:
    // Empty; Init must follow before the log is used (writes fail until then).
    CLogFile();
    CLogFile(CString dir, CString name);
    CLogFile(CString dir, CString name, HWND hwnd);
    CLogFile(const CLogFile& other);
    CLogFile& operator=(const CLogFile& other);
    virtual ~CLogFile();

    // Takes the directory and name, creates the mutex, makes the day's file
    // and stamps the start. The window handle is not used. m_bSuccess.
    int Init(CString dir, CString name, HWND hwnd);
    // A mutex named with a fresh GUID string, created owned and released at
    // once; it replaces the log's previous one. Nothing waits on it.
    int CreateMutexA();
    // m_strLogFileName for today; an empty directory means "C:\" and a
    // trailing backslash is added to it. 0 with "No filename!" for an empty
    // log name, and with "Invalid log name!" (no file name made at all) for
    // one a file name cannot carry: a wildcard, a separator or another
    // character a path cannot hold (PlatformIsPlainName).
    int CreateLogFileName();
    // Makes the name, creates the file when missing and stamps the start.
    // 0 with "Cannot open log file!!!\n" when the file cannot be opened,
    // followed by "<file>: <reason>" when there is a file name; a refused
    // log name keeps its own reason, and nothing is opened.
    int SetupLogfile();
    // Passes the start stamp to the virtual Log.
    int StampStart();

    // Appends the text and a line end (see above for shared day files); 0
    // with "Cannot write to the log file <file>: <reason>" in m_strError
    // when it could not be written.
    virtual int AppendToLogFile(CString text);
    // printf-style entry (the platform's conversions), appended as
    // AppendToLogFile does. 0 with "no logfile name" before a name is made.
    virtual int message(const char* format, ...);
    virtual int Log(CString text);
    virtual int SaveEdits(CString text);

    // Prunes the log's old files: when at least keep files in m_strDirectory
    // match m_strPattern (case-insensitively), every one of them that was
    // not modified today is deleted. An empty pattern (the one a refused log
    // name gets) matches nothing. The directory is searched with a
    // trailing backslash (and "C:\" when empty), as CreateLogFileName makes it.
    int DeleteExcessLogFiles(int keep);
    // The same after setting m_strDirectory and m_strPattern, which stay.
    int DeleteExcessLogFiles(CString dir, CString pattern, int keep);

    BOOL m_bSuccess;
    // The local time at which the file name was last made (the start stamp
    // prints it): points at m_time, the log's own copy, or null before then.
    struct tm* m_pTime;
    CString m_strLogFileName;
    CString m_strLogName;
    CMutex* m_pMutex;
    CString m_strError;
    CString m_strDirectory;
    CString m_strPattern;
    struct tm m_time;

protected:
    // Why the file could not be used, right after the call that failed:
    // "<file>: <the system's reason>", or that the file is a symbolic link,
    // which no log writes through.
    static CString WhyNot(const CString& file);
    // The pattern of the files of the log name: name + "*.log", or empty for
    // a name a file name cannot carry, whose pattern would match other files.
    static CString PatternOf(const CString& name);
    // True when the log's name is one CreateLogFileName refuses.
    bool NameRefused() const;
    // dir as a file name is put behind it: "C:\" when empty, else with a
    // trailing backslash.
    static CString DirectoryWithSeparator(const CString& dir);
    // Sibling n of the day file that CreateLogFileName made:
    // "<title>-<n><extension>".
    CString SiblingFileName(int n) const;
    // Makes the next sibling m_strLogFileName, for a log whose file another
    // log holds. false, with the reason in m_strError, once kSiblings have
    // been tried.
    bool MoveToNextSibling();
    static constexpr int kSiblings = 1000;

private:
    void CopyFrom(const CLogFile& other);

    CString m_strDayFile;  // the name CreateLogFileName made
    int m_nSibling = 0;    // the sibling m_strLogFileName is; 0 for the day file
};
