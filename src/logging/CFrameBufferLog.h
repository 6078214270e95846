// CFrameBufferLog: a running log whose entries go only into a fixed
// 12287-byte memory buffer, like a screen's frame buffer. Each entry is its
// text and CR LF; at least one zero byte always follows the last entry, so
// the buffer is one zero-terminated text. An entry that does not fit behind
// the others empties the buffer first (appending its text to the day file
// first when m_bSaveOnFlush is set). Windows are notified after each entry.
//
// Not copyable: a copy would empty (and perhaps save) the same entries a
// second time.
#pragma once

#include "logging/CRunningLog.h"

class CBASIS1_API CFrameBufferLog : public CRunningLog {
public:
    // The running log's day file and start stamp, then a new zeroed buffer
    // of m_nBufferSize bytes; m_bSaveOnFlush false.
    CFrameBufferLog(CString dir, CString name, HWND hwnd);
    CFrameBufferLog(const CFrameBufferLog&) = delete;
    CFrameBufferLog& operator=(const CFrameBufferLog&) = delete;
    // Empties the buffer once more (saving it when m_bSaveOnFlush is set).
    ~CFrameBufferLog() override;

    int Log(CString text) override;
    // Appends the entry (its text up to the first zero character) and
    // notifies; 1. A text that can never fit (longer than m_nBufferSize - 3)
    // is appended to the day file straight away when m_bSaveOnFlush is set
    // (after the buffered entries); otherwise it is not kept, and the result
    // is 0 with the reason in m_strError. When the buffer must be saved to
    // make room and cannot be, nothing is written: 0, the buffered entries
    // stay for the next try, and m_strError says why.
    int RAMWrite(CString text);
    // SaveEdits() when m_bSaveOnFlush is set, then empties the buffer. 1, or
    // 0 when the buffer could not be saved: it then keeps its entries.
    int FlushBuffer();
    // Zeroes the first size bytes and marks the buffer empty.
    void ClearBuffer(int size) override;
    using CLogFile::SaveEdits;
    // Appends the buffer's text and a line end to the day file (text mode, so
    // each CR LF of the buffer is stored as CR CR LF). 1, or 0 when the file
    // cannot be written.
    virtual int SaveEdits();

    int m_nUsed;
    int m_nBufferSize;
    bool m_bSaveOnFlush;
};
