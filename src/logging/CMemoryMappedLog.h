// CMemoryMappedLog: a running log that writes its entries straight into the
// day file through a memory-mapped view of fixed size, m_nMapSize (the
// largest multiple of the allocation granularity not above 300000 bytes:
// 262144).
//
// Day file layout: the entries one after the other, each its bytes as given
// (up to its first zero character) followed by CR LF, with no text-mode
// translation. While the log is open the text is followed by a zero byte and
// zero filling up to the end of the view; when the log is destroyed the file
// is cut to the text.
//
// Nothing is written past the view and no entry is dropped: when an entry
// does not fit behind the text, the view moves along the file (to the
// granule that starts at least kKeptText bytes before the end of the text,
// so the last lines stay in view) and the file grows to the view's new end.
// A day's text therefore stays in its one day file however long it gets; the
// file is m_nMapSize bytes long while open only as long as its text fits the
// first view. m_pView and m_nPos are relative to the current view.
//
// At start-up the text of an existing day file is kept and continued right
// behind itself: the view is the file's first one when the text fits it,
// else the one that ends where the file ends (where a log that was never
// closed left its view); it moves only when an entry does not fit. A file
// left with zero filling by a log that was never closed (a crash) has its
// text up to the first zero byte of that filling. A day file that holds
// other bytes behind a zero byte is not a file this log can continue: it is
// moved aside, unchanged, under the first free sibling name (app12-04-1.LOG,
// see CLogFile), m_strError says so, and the day starts afresh.
//
// The log holds its day file alone while it is open: other logs writing the
// same day, in this process or another, write to a sibling meanwhile (see
// CLogFile), and so does this log when another memory-mapped log holds the
// day file already.
//
// Not copyable: two objects would write into one view.
#pragma once

#include <cstdint>

#include "logging/CRunningLog.h"

class CBASIS1_API CMemoryMappedLog : public CRunningLog {
public:
    // The day file's name, the view, the mutex, then the start stamp as the
    // first entry of this log's own Log. A failure leaves its text in
    // m_strError and no view; Log tries again.
    CMemoryMappedLog(CString dir, CString name, HWND hwnd);
    CMemoryMappedLog(const CMemoryMappedLog&) = delete;
    CMemoryMappedLog& operator=(const CMemoryMappedLog&) = delete;
    // Flushes, unmaps, cuts the file to its text and closes it.
    ~CMemoryMappedLog() override;

    // Opens and claims the day file (or a sibling, see above) and maps the
    // view at the end of its text, setting m_pView and view. 1, or 0 with
    // "Cannot create memory-mapped file. <file>: <reason>" or "Cannot map
    // region. <reason>" (or why an unusable day file could not be moved
    // aside). A day file that is a symbolic link is refused, never written
    // through.
    int CreateMemoryMappedLogFile(unsigned char*& view);
    // m_pLastVisible: the start of the view, or, with more than
    // m_nVisibleLines lines in the view, the line feed in front of the last
    // of them. 1.
    int SetLastVisibleLines();
    // Ends the current entry with CR LF and a zero byte, then
    // SetLastVisibleLines and NotifyParent. 1, or 0 when no view can be had.
    int FinishLogging();
    // Copies the entry into the view and finishes it. 1, or 0 when no view
    // can be had (the reason is in m_strError); the entry is then not in
    // the file, not even in part.
    int Log(CString text) override;
    // Entries through AppendToLogFile, SaveEdits(text) and message go into
    // the view as well: a write behind the view would be cut away.
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

    // Text kept in view in front of its end when the view moves: enough for
    // the last lines, little enough that a move from a full view goes three
    // granules on (only one granule of it is mapped again).
    static constexpr DWORD kKeptText = 32768;

private:
    bool MapView(uint64_t offset);
    void UnmapView();
    void CloseDayFile();
    CString SetAside();
    HANDLE OpenAndClaim();
    bool Append(const char* bytes, size_t count);
    bool MoveView();
    uint64_t ViewFor(uint64_t end) const;
    void TakeBack(uint64_t start);
    void ScanLastLines();

    uint64_t m_nViewOffset = 0;  // where the view starts in the file
    // File offsets of the latest line feeds in the view, oldest first, as a
    // ring; valid while m_nTracked is the offset of the end of the text.
    static constexpr int kTrackedLines = 64;
    uint64_t m_lineFeeds[kTrackedLines] = {};
    int m_nLineFeeds = 0;
    int m_nNewest = 0;
    uint64_t m_nTracked = UINT64_MAX;
};
