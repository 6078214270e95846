// OLE data transfer: format descriptions and storage media, and the data
// source interface a data object reads from. MFC's COleDataSource and
// COleDataObject over them are in platform/mfc/OleDataSource.h.
//
// Only global memory (TYMED_HGLOBAL) is offered. Where the original
// differs: there is no COM. IDataObject has only GetData and QueryGetData,
// and nothing is reference-counted.
#pragma once

#include "platform/kernel/GlobalMemory.h"

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
