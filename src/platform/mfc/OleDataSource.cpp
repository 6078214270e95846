// COleDataSource and COleDataObject.
#include "platform/mfc/OleDataSource.h"

#include "platform/kernel/Errors.h"

namespace {

// The request a data object makes for a format.
FORMATETC requestFor(CLIPFORMAT cfFormat, const FORMATETC* pDescription) {
    FORMATETC request = pDescription ? *pDescription : FORMATETC{0, nullptr, DVASPECT_CONTENT, -1, ~DWORD(0)};
    request.cfFormat = cfFormat;
    return request;
}

bool matches(const FORMATETC& offered, const FORMATETC& request) {
    return offered.cfFormat == request.cfFormat && offered.dwAspect == request.dwAspect &&
           offered.lindex == request.lindex && (request.tymed & offered.tymed) != 0;
}

HRESULT giveCopy(HGLOBAL hCopy, LPSTGMEDIUM pmedium) {
    if (!hCopy) return E_OUTOFMEMORY;
    pmedium->tymed = TYMED_HGLOBAL;
    pmedium->hGlobal = hCopy;
    pmedium->pUnkForRelease = nullptr;
    return S_OK;
}

// The clipboard as a data object: every request reads what is on the
// clipboard at that moment, in content aspect and index -1.
struct ClipboardDataObject final : IDataObject {
    static bool accepts(const FORMATETC* p) {
        return p->dwAspect == DVASPECT_CONTENT && p->lindex == -1 && (p->tymed & TYMED_HGLOBAL);
    }
    HRESULT GetData(LPFORMATETC pformatetcIn, LPSTGMEDIUM pmedium) override {
        if (!pformatetcIn || !pmedium) return E_INVALIDARG;
        if (!accepts(pformatetcIn) || !IsClipboardFormatAvailable(pformatetcIn->cfFormat)) return DV_E_FORMATETC;
        return giveCopy(platform::CopyClipboardData(pformatetcIn->cfFormat), pmedium);
    }
    HRESULT QueryGetData(LPFORMATETC pformatetc) override {
        if (!pformatetc) return E_INVALIDARG;
        return accepts(pformatetc) && IsClipboardFormatAvailable(pformatetc->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
};

ClipboardDataObject clipboardDataObject;

}  // namespace

// ---- COleDataSource ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

COleDataSource::COleDataSource() = default;

COleDataSource::~COleDataSource() {
    platform::ForgetClipboardObject(this);
    Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
    SetLastError(NO_ERROR);
    if (!GlobalSize(hGlobal) && GetLastError() == ERROR_INVALID_HANDLE) return;
    FORMATETC format = requestFor(cfFormat, lpFormatEtc);
    format.tymed = TYMED_HGLOBAL;
    for (Entry& entry : m_entries)
        if (matches(entry.format, format)) {
            if (entry.hGlobal != hGlobal) GlobalFree(entry.hGlobal);
            entry.hGlobal = hGlobal;
            return;
        }
    m_entries.push_back(Entry{format, hGlobal});
}

void COleDataSource::Empty() {
    for (Entry& entry : m_entries) GlobalFree(entry.hGlobal);
    m_entries.clear();
}

void COleDataSource::SetClipboard() {
    std::vector<platform::ClipboardFormat> formats;
    for (const Entry& entry : m_entries)
        if (entry.format.dwAspect == DVASPECT_CONTENT && entry.format.lindex == -1)
            formats.push_back(platform::ClipboardFormat{entry.format.cfFormat, entry.hGlobal});
    platform::ForgetClipboardObject(this);  // set again: must not be released on the way
    platform::PutOnClipboard(formats.data(), formats.size(), this,
                             [](void* pObject) { delete static_cast<COleDataSource*>(pObject); });
}

COleDataSource* COleDataSource::GetClipboardOwner() {
    return static_cast<COleDataSource*>(platform::ClipboardObject());
}

const COleDataSource::Entry* COleDataSource::Find(const FORMATETC& request) const {
    for (const Entry& entry : m_entries)
        if (matches(entry.format, request)) return &entry;
    return nullptr;
}

HRESULT COleDataSource::GetData(LPFORMATETC pformatetcIn, LPSTGMEDIUM pmedium) {
    if (!pformatetcIn || !pmedium) return E_INVALIDARG;
    const Entry* entry = Find(*pformatetcIn);
    if (!entry) return DV_E_FORMATETC;
    return giveCopy(platform::DuplicateGlobal(entry->hGlobal), pmedium);
}

HRESULT COleDataSource::QueryGetData(LPFORMATETC pformatetc) {
    if (!pformatetc) return E_INVALIDARG;
    return Find(*pformatetc) ? S_OK : DV_E_FORMATETC;
}

// ---- COleDataObject ---------------------------------------------------------------

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    return lpDataObject;
}

void COleDataObject::Release() { m_lpDataObject = nullptr; }

BOOL COleDataObject::AttachClipboard() {
    Attach(&clipboardDataObject, FALSE);
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    FORMATETC request = requestFor(cfFormat, lpFormatEtc);
    return m_lpDataObject && m_lpDataObject->QueryGetData(&request) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject || !lpStgMedium) return FALSE;
    FORMATETC request = requestFor(cfFormat, lpFormatEtc);
    return m_lpDataObject->GetData(&request, lpStgMedium) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    FORMATETC request = requestFor(cfFormat, lpFormatEtc);
    request.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium{};
    if (!GetData(cfFormat, &medium, &request)) return nullptr;
    if (medium.tymed == TYMED_HGLOBAL && !medium.pUnkForRelease) return medium.hGlobal;
    ReleaseStgMedium(&medium);
    return nullptr;
}
