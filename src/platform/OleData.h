// OLE data transfer: format descriptions and storage media, the data source
// that offers global memory blocks (COleDataSource) and the data object that
// reads them from a source or from the clipboard (COleDataObject).
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

#include "platform/Clipboard.h"
#include "platform/Wnd.h"

typedef WORD CLIPFORMAT;
struct DVTARGETDEVICE;  // target devices are not used: ptd is null
struct IUnknown;        // a medium's releasing object; never set here
typedef IUnknown* LPUNKNOWN;

#define S_FALSE ((HRESULT)1)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define DV_E_FORMATETC ((HRESULT)0x80040064)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

enum DVASPECT { DVASPECT_CONTENT = 1, DVASPECT_THUMBNAIL = 2, DVASPECT_ICON = 4, DVASPECT_DOCPRINT = 8 };

enum TYMED {
    TYMED_NULL = 0,
    TYMED_HGLOBAL = 1,
    TYMED_FILE = 2,
    TYMED_ISTREAM = 4,
    TYMED_ISTORAGE = 8,
    TYMED_GDI = 16,
    TYMED_MFPICT = 32,
    TYMED_ENHMF = 64
};

struct FORMATETC {
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;  // the media the caller accepts (TYMED_ flags)
};
typedef FORMATETC* LPFORMATETC;

struct STGMEDIUM {
    DWORD tymed;
    union {
        HGLOBAL hGlobal;
    };
    LPUNKNOWN pUnkForRelease;
};
typedef STGMEDIUM* LPSTGMEDIUM;

// Frees a TYMED_HGLOBAL medium's block and clears the medium (TYMED_NULL),
// so a second release does nothing. A medium with a releasing object
// belongs to that object and only is cleared.
PLATFORM_API void ReleaseStgMedium(LPSTGMEDIUM pmedium);

// What a data object reads from.
struct PLATFORM_API IDataObject {
    // Fills the medium with a copy of the data that matches the request:
    // S_OK, DV_E_FORMATETC when nothing matches, E_INVALIDARG for a null
    // argument, E_OUTOFMEMORY when no copy can be made.
    virtual HRESULT GetData(LPFORMATETC pformatetcIn, LPSTGMEDIUM pmedium) = 0;
    // S_OK when GetData would find data for the request.
    virtual HRESULT QueryGetData(LPFORMATETC pformatetc) = 0;

protected:
    ~IDataObject() = default;
};
typedef IDataObject* LPDATAOBJECT;

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
