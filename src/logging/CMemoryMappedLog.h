// CMemoryMappedLog: a running log that writes its entries straight into the
// day file through a memory mapping of fixed size (the largest multiple of
// the allocation granularity not above 300000 bytes: 262144).
//
// Day file layout: the entries one after the other, each its bytes as given
// (up to its first zero character) followed by CR LF, with no text-mode
// translation. While the log is open the file is m_nMapSize bytes long, the
// text followed by zero bytes; when the log is destroyed the file is cut to
// the text.
//
// Nothing is written past the mapping and no entry is dropped. An entry that
// does not fit behind the text moves the day file aside under the first free
// name "<day file title>-<n>.LOG" (app12-04-1.LOG, -2, ...; files of the log's
// pattern, so pruning treats them like the day files) and continues in a
// fresh day file; an entry longer than a whole mapping is spread over as many
// files as it needs. m_strError says what was moved where.
//
// At start-up the text of an existing day file is kept and continued: a file
// left at full size by a log that was never closed (a crash) has its text up
// to its first zero byte. A day file whose text is too large to continue (it
// leaves less than one granule free), or that holds anything else, is moved
// aside in the same way, unchanged, and the day starts afresh.
//
// Not copyable: two objects would write into one mapping.
#pragma once

#include "logging/CRunningLog.h"

class CBASIS1_API CMemoryMappedLog : public CRunningLog {
public:
    // The day file's name, the mapping, the mutex, then the start stamp as the
    // first entry of this log's own Log. A failure leaves its text in
    // m_strError and no view; Log tries again.
    CMemoryMappedLog(CString dir, CString name, HWND hwnd);
    CMemoryMappedLog(const CMemoryMappedLog&) = delete;
    CMemoryMappedLog& operator=(const CMemoryMappedLog&) = delete;
    // Flushes, unmaps, cuts the file to its text and closes it.
    ~CMemoryMappedLog() override;

    // Opens and maps the day file (see above) and sets m_pView and view to
    // the view. 1, or 0 with "Cannot create memory-mapped file." or "Cannot
    // map region." (or why an unusable day file could not be moved aside).
    int CreateMemoryMappedLogFile(unsigned char*& view);
    // m_pLastVisible: the start of the view, or, with more than
    // m_nVisibleLines lines, the line feed in front of the last of them. 1.
    int SetLastVisibleLines();
    // Ends the current entry with CR LF and a zero byte, then
    // SetLastVisibleLines and NotifyParent. 1, or 0 when no view can be had.
    int FinishLogging();
    // Copies the entry into the view and finishes it. 1, or 0 when no view
    // can be had (the text is in m_strError).
    int Log(CString text) override;
    // Entries through AppendToLogFile, SaveEdits(text) and message go into
    // the view as well: a write behind the mapping would be cut away.
    int AppendToLogFile(CString text) override;
    using CLogFile::SaveEdits;
    // Writes the view's text to the disk. 1, or 0 when that failed.
    virtual int SaveEdits();

    unsigned char* m_pView;
    unsigned char* m_pLastVisible;
    DWORD m_nPos;
    int m_nVisibleLines;
    HANDLE m_hFile;
    HANDLE m_hMapping;
    DWORD m_nMapSize;
    DWORD m_nGranularity;

private:
    bool OpenDayFile(uint64_t& size);
    void CloseDayFile(uint64_t end);
    CString SetAside();
    bool StartNextFile();

    int m_nNextAside = 1;  // the first number SetAside tries
};
