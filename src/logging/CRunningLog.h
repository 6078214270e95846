// CRunningLog: a CLogFile that also keeps the whole day file in memory and
// posts WM_LOGUPDATED to its windows whenever that copy changed, so that a
// window can show the log as it grows.
//
// After every entry m_pBuffer holds exactly the bytes of the day file (CR LF
// line ends as stored) followed by a zero byte. From 64 KiB on, the log reads
// only what was appended since its last read when the file merely grew; when
// the file was replaced, shrank, or changed at its start or at the end of the
// part already read, the whole file is read again.
#pragma once

#include <cstdint>

#include "containers/CLinkedList.h"
#include "logging/CLogFile.h"
#include "platform/user/Windows.h"

// Posted, with both parameters 0, to every window of m_Windows after the
// buffer changed.
#define WM_LOGUPDATED (WM_USER + 11)

class CBASIS1_API CRunningLog : public CLogFile {
public:
    // No file and no buffer; m_bNotify is set.
    CRunningLog();
    // The CLogFile part (mutex, day file, start stamp), then InitMembers and
    // ReadInFile. The window list starts empty: hwnd is only kept.
    CRunningLog(CString dir, CString name, HWND hwnd);
    // Copies are deep: their own mutex, buffer and window list.
    CRunningLog(const CRunningLog& other);
    CRunningLog& operator=(const CRunningLog& other);
    ~CRunningLog() override;

    // Sets m_hWnd, m_strLogName, m_strDirectory (as given), m_strPattern and
    // m_bNotify, and releases the buffer. No mutex, no file. m_bSuccess.
    int InitMembers(CString dir, CString name, HWND hwnd);

    // Appends the entry to the day file, then ReadInFile. 0 when the entry
    // could not be appended (the buffer is reloaded all the same).
    int Log(CString text) override;
    // Brings the buffer up to date with the day file and notifies. 1 also
    // when the file is missing or empty (the buffer then stays as it was,
    // and nobody is notified); 0 when no buffer could be allocated, and 0
    // with "Cannot open log file!!!\n" when the file cannot be read.
    virtual int ReadInFile();
    // Replaces the buffer with size zeroed bytes. 0 (and a null buffer) when
    // size is negative or the memory cannot be had.
    virtual int CreateBuffer(int size);
    // Zeroes the first size bytes of the buffer (never more than it has).
    virtual void ClearBuffer(int size);
    // Posts WM_LOGUPDATED to every window of m_Windows, in list order, with
    // the list's own cursor, when m_bNotify is set. A window that no longer
    // exists is passed over.
    void NotifyParent();

    HWND m_hWnd;
    char* m_pBuffer;
    bool m_bNotify;
    CLinkedList<HWND> m_Windows;

protected:
    // Bytes allocated at m_pBuffer.
    size_t BufferCapacity() const { return m_nCapacity; }

private:
    void CopyFrom(const CRunningLog& other);
    void ReleaseBuffer();
    int ReadWhole(HANDLE file, uint64_t size);
    int ReadAppended(HANDLE file, uint64_t size);
    bool ReadUnchanged(HANDLE file) const;

    size_t m_nCapacity = 0;
    // What the buffer holds of which file: its first m_nRead bytes, read
    // from the file of that volume and index. 0 means nothing is known.
    uint64_t m_nRead = 0;
    uint64_t m_nFileIndex = 0;
    uint32_t m_nVolume = 0;
};
