// CFrameBufferLog: entries in a fixed memory buffer.
#include "logging/CFrameBufferLog.h"

#include <algorithm>
#include <cstring>

#include "containers/CStr.h"

CFrameBufferLog::CFrameBufferLog(CString dir, CString name, HWND hwnd)
    : CRunningLog(dir, name, hwnd), m_nUsed(0), m_nBufferSize(12287), m_bSaveOnFlush(false) {
    CRunningLog::CreateBuffer(m_nBufferSize);
    m_nUsed = 0;
}

CFrameBufferLog::~CFrameBufferLog() { FlushBuffer(); }

int CFrameBufferLog::Log(CString text) { return RAMWrite(text); }

int CFrameBufferLog::RAMWrite(CString text) {
    CStr copy(text);
    if (!copy.m_pStr) {
        m_strError = "Not enough memory.";
        return !m_bSuccess;
    }
    int length = static_cast<int>(std::strlen(copy.m_pStr));
    // The buffer may have been replaced by a smaller one (CreateBuffer,
    // ReadInFile): never write past what is allocated.
    int size = m_pBuffer ? static_cast<int>(std::min<size_t>(m_nBufferSize, BufferCapacity())) : 0;
    if (length + 3 > size) {
        if (!m_bSaveOnFlush) {
            m_strError = "Entry too long for the frame buffer; not kept.";
            return !m_bSuccess;
        }
        if (!FlushBuffer()) return !m_bSuccess;
        int saved = CLogFile::SaveEdits(copy.m_pStr);
        NotifyParent();
        return saved;
    }
    if (m_nUsed + length + 3 > size && !FlushBuffer()) return !m_bSuccess;
    std::memcpy(m_pBuffer + m_nUsed, copy.m_pStr, length);
    m_pBuffer[m_nUsed + length] = '\r';
    m_pBuffer[m_nUsed + length + 1] = '\n';
    m_nUsed += length + 2;
    NotifyParent();
    return m_bSuccess;
}

int CFrameBufferLog::FlushBuffer() {
    if (m_bSaveOnFlush && !SaveEdits()) return !m_bSuccess;
    ClearBuffer(m_nBufferSize);
    return m_bSuccess;
}

void CFrameBufferLog::ClearBuffer(int size) {
    CRunningLog::ClearBuffer(size);
    m_nUsed = 0;
}

int CFrameBufferLog::SaveEdits() {
    if (!m_pBuffer) return m_bSuccess;
    return CLogFile::SaveEdits(CString(m_pBuffer));
}
