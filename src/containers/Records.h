// Plain records that the library only constructs and copies. Only their
// extent in 32-bit words is fixed; the words are open for the host's use.
// Assignment copies every word. (The configuration record, CCfgFile, lives
// with the synchronisation classes: sync/CCfgFile.h.)
#pragma once

#include "platform/shared/Types.h"

struct CBASIS1_API CSocketModuleParameters {
    DWORD m_dwData[86];
};

struct CBASIS1_API ConnectionRecord {
    ConnectionRecord() : m_dwData{} {}
    DWORD m_dwData[21];
};

struct CBASIS1_API TreeObject {
    DWORD m_dwData[3];
};

struct CBASIS1_API NetMsg {
    NetMsg() : m_dwData{} {}
    DWORD m_dwData[2];
};

struct CBASIS1_API SocketRecord {
    SocketRecord() : m_dwData{} {}
    DWORD m_dwData[2];
};

struct CBASIS1_API NetCallParams {
    DWORD m_dwData[2];
};

struct CBASIS1_API CSettings {
    DWORD m_dwData[1];
};

struct CBASIS1_API NetCallParameters {
    DWORD m_dwData[1];
};

// A window handle and one further word. The handle is pointer-sized on this
// platform, so the record is no longer two 32-bit words.
struct CBASIS1_API CUserInterface1 {
    HWND m_hWnd;
    DWORD m_dwData;

    // Sends WM_USER + 27 (1051) with both parameters 0 to m_hWnd; a handle
    // that is no window gets nothing. pRecord is not passed on. Returns 1.
    int AddRecord(void* pRecord);
};

static_assert(sizeof(CSocketModuleParameters) == 86 * 4);
static_assert(sizeof(ConnectionRecord) == 21 * 4);
static_assert(sizeof(TreeObject) == 3 * 4);
static_assert(sizeof(NetMsg) == 2 * 4 && sizeof(SocketRecord) == 2 * 4 && sizeof(NetCallParams) == 2 * 4);
static_assert(sizeof(CSettings) == 4 && sizeof(NetCallParameters) == 4);
