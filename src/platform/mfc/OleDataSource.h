// MFC's OLE data transfer: the data source that offers global memory blocks
// (COleDataSource) and the data object that reads them from a source or
// from the clipboard (COleDataObject).
//
// Only global memory (TYMED_HGLOBAL) is offered. A data object hands out a
// copy of the block it reads, in a medium the caller releases with
// ReleaseStgMedium (or, from GetGlobalData, a block the caller frees with
// GlobalFree), so no caller ever holds a block that someone else frees.
//
// Where the original differs: there is no COM. IDataObject has only GetData
// and QueryGetData, and COleDataSource is its own IDataObject, so a data
// object attaches to a source directly (Attach(pSource)). Nothing is
// reference-counted: a data object never releases what it is attached to,
// and bAutoRelease is kept only for callers that pass it.
#pragma once

#include <vector>

#include "platform/mfc/Wnd.h"
#include "platform/ole/OleData.h"
#include "platform/user/Clipboard.h"

// Offers global memory blocks by format. A request matches a block of its
// format with the same aspect and index when it accepts TYMED_HGLOBAL.
class PLATFORM_API COleDataSource : public CCmdTarget, public IDataObject {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    // Frees the blocks; a source that is on the clipboard leaves it (the
    // clipboard keeps its copies).
    ~COleDataSource() override;

    // The source takes the block for the format (described by lpFormatEtc,
    // else content aspect, index -1) and frees it when emptied or deleted; a
    // block cached before for the same format and description is freed. A
    // handle that is not a global block is ignored.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    // Frees every cached block.
    void Empty();
    // Replaces the clipboard's contents by copies of the cached blocks and
    // hands the source to the clipboard, which deletes it when the clipboard
    // is next emptied: the source must have been made with new. When the
    // clipboard is held open, nothing changes and the source stays the
    // caller's (GetClipboardOwner tells which happened).
    void SetClipboard();
    // The source the clipboard holds, or null.
    static COleDataSource* GetClipboardOwner();

    HRESULT GetData(LPFORMATETC pformatetcIn, LPSTGMEDIUM pmedium) override;
    HRESULT QueryGetData(LPFORMATETC pformatetc) override;

private:
    struct Entry {
        FORMATETC format;
        HGLOBAL hGlobal;
    };
    const Entry* Find(const FORMATETC& request) const;

    std::vector<Entry> m_entries;  // in the order cached
};

// Reads data from a data source or the clipboard. Formats are asked for by
// CLIPFORMAT; lpFormatEtc, when given, adds the aspect, index and media of
// the request (content aspect, index -1, any medium otherwise).
class PLATFORM_API COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Reads from lpDataObject from now on; the caller keeps it alive while
    // it is attached.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // Reads from the process's clipboard from now on, whatever is on it when
    // each request comes; needs no open clipboard. Always TRUE.
    BOOL AttachClipboard();

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // Fills the medium with a copy the caller releases (ReleaseStgMedium).
    // FALSE when nothing is attached or the format is not there.
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // A copy of the format's block, which the caller frees (GlobalFree), or
    // null.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

protected:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};
