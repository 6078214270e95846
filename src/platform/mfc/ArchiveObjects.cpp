// CArchive's objects: class records, object references and the index both
// share, in the original's layout (see Archive.h).
#include <cstring>

#include "platform/mfc/ArchiveIndex.h"

namespace {

constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
// A class name in an archive is shorter than this, as on the original.
constexpr WORD kMaxClassName = 64;

}  // namespace

// ---- Class records ------------------------------------------------------------------

void CRuntimeClass::Store(CArchive& ar) const {
    auto nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
    WORD wSchema, nLen;
    ar >> wSchema >> nLen;
    if (pwSchemaNum) *pwSchemaNum = wSchema;
    char szClassName[kMaxClassName];
    if (nLen >= kMaxClassName || ar.Read(szClassName, nLen) != nLen) return nullptr;
    szClassName[nLen] = '\0';
    return FromName(szClassName);
}

// ---- Storing -------------------------------------------------------------------------

namespace {

// Gives the thing the next index.
void enter(CArchive::ObjectIndex& index, const void* pThing, const CString& archiveName) {
    if (index.nMapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, archiveName);
    index.stored.emplace(pThing, index.nMapCount++);
}

}  // namespace

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();  // not serialisable
    if (!m_pIndex) m_pIndex = std::make_unique<ObjectIndex>();
    auto it = m_pIndex->stored.find(pClassRef);
    if (it == m_pIndex->stored.end()) {
        *this << kNewClassTag;
        pClassRef->Store(*this);
        enter(*m_pIndex, pClassRef, m_strFileName);
        return;
    }
    DWORD nClassIndex = it->second;
    if (nClassIndex < kBigObjectTag)
        *this << static_cast<WORD>(kClassTag | nClassIndex);
    else
        *this << kBigObjectTag << static_cast<DWORD>(kBigClassTag | nClassIndex);
}

void CArchive::WriteObject(const CObject* pOb) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    if (!pOb) {
        *this << kNullTag;
        return;
    }
    if (!m_pIndex) m_pIndex = std::make_unique<ObjectIndex>();
    auto it = m_pIndex->stored.find(pOb);
    if (it != m_pIndex->stored.end()) {
        DWORD nObIndex = it->second;
        if (nObIndex < kBigObjectTag)
            *this << static_cast<WORD>(nObIndex);
        else
            *this << kBigObjectTag << nObIndex;
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    enter(*m_pIndex, pOb, m_strFileName);
    const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject* pOb) {
    if (!m_pIndex) m_pIndex = std::make_unique<ObjectIndex>();
    if (IsStoring()) {
        if (pOb && !m_pIndex->stored.count(pOb)) enter(*m_pIndex, pOb, m_strFileName);
        return;
    }
    if (m_pIndex->nMapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    m_pIndex->loaded.push_back({const_cast<CObject*>(pOb), false, 0});
    ++m_pIndex->nMapCount;
}

// ---- Loading -------------------------------------------------------------------------

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    if (!m_pIndex) m_pIndex = std::make_unique<ObjectIndex>();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == kBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & kClassTag) << 16) | (wTag & ~kClassTag);
    if (!(obTag & kBigClassTag)) {  // a reference to an object
        if (!pObTag) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        *pObTag = obTag;
        return nullptr;
    }
    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == kNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (!pClassRef) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
        if (m_pIndex->nMapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        m_pIndex->loaded.push_back({pClassRef, true, nSchema});
        ++m_pIndex->nMapCount;
    } else {
        DWORD nClassIndex = obTag & ~kBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_pIndex->loaded.size() || !m_pIndex->loaded[nClassIndex].bClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        pClassRef = static_cast<CRuntimeClass*>(m_pIndex->loaded[nClassIndex].pointer);
        nSchema = m_pIndex->loaded[nClassIndex].nSchema;
    }
    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag) *pObTag = obTag;
    return pClassRef;
}

// A new object that fails to load (its Serialize throws) was never handed
// out: it is deleted, and its index names nothing from then on.
CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
    UINT nSchema;
    DWORD obTag;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef) {
        if (obTag >= m_pIndex->loaded.size() || m_pIndex->loaded[obTag].bClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        auto* pOb = static_cast<CObject*>(m_pIndex->loaded[obTag].pointer);
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        return pOb;
    }
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb) AfxThrowMemoryException();
    if (m_pIndex->nMapCount >= kMaxMapCount) {
        delete pOb;
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    }
    size_t at = m_pIndex->loaded.size();
    m_pIndex->loaded.push_back({pOb, false, 0});
    ++m_pIndex->nMapCount;
    UINT nOuterSchema = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        m_nObjectSchema = nOuterSchema;
        m_pIndex->loaded[at].pointer = nullptr;
        delete pOb;
        throw;
    }
    m_nObjectSchema = nOuterSchema;
    return pOb;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

UINT CArchive::GetObjectSchema() {
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nResult;
}

CObject* AfxReadObject(CArchive& ar, const CRuntimeClass* pClassRefRequested) {
    return ar.ReadObject(pClassRefRequested);
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb) {
    pOb = ar.ReadObject(nullptr);
    return ar;
}
