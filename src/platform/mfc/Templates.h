// The collection templates: CArray, CList and CMap, and their typed-pointer
// faces CTypedPtrArray, CTypedPtrList and CTypedPtrMap, with the original's
// members, and the element helpers a host may specialise (SerializeElements,
// CompareElements, HashKey).
//
// Sections: helpers, CArray, CList, CMap, typed pointers.
//
// Behaviour that is the original's:
// - SetSize(n) adds default-constructed elements (zero for numbers and
//   pointers); GetUpperBound is GetSize() - 1; InsertAt moves the later
//   elements up; SetAtGrow grows the array to take the index.
// - A list's InsertBefore(NULL, x) adds at the head, InsertAfter(NULL, x)
//   at the tail; Find compares with CompareElements (operator==); a
//   POSITION stays valid until its element is removed.
// - A map is a hash table of 17 buckets unless InitHashTable sets another
//   size; GetNextAssoc walks the buckets in order and each bucket newest
//   first, so a map's iteration and Serialize order are the original's. The
//   original never grows the table; here a map that holds more than four
//   times as many entries as buckets grows its table (to about twice the
//   entries, a prime), so lookups stay fast: only large maps then iterate
//   in another order than the original would.
// - Serialize stores the count (CArchive::WriteCount), then the elements
//   (a map: each key, then its value) with SerializeElements: raw bytes for
//   trivially copyable types, CString and CObject* as the archive stores
//   them. A type that is neither cannot be serialised without a
//   SerializeElements of its own: CArchiveException genericException (the
//   original would write the raw bytes of pointers).
//
// Where the original asserts (an index outside the array, a negative
// size), here CInvalidArgException is thrown, as later versions of the
// original do. RemoveHead and RemoveTail of an empty list, and GetHead
// and GetTail of one, give a default-constructed element.
#pragma once

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/mfc/Archive.h"

typedef struct __POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<intptr_t>(-1)))

#ifndef AFXAPI
#define AFXAPI
#endif

// ---- Element helpers ------------------------------------------------------------------

template <class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
    if constexpr (std::is_same_v<TYPE, CString>) {
        for (INT_PTR i = 0; i < nCount; ++i) {
            if (ar.IsStoring())
                ar << pElements[i];
            else
                ar >> pElements[i];
        }
    } else if constexpr (std::is_pointer_v<TYPE> && std::is_base_of_v<CObject, std::remove_pointer_t<TYPE>>) {
        for (INT_PTR i = 0; i < nCount; ++i) {
            if (ar.IsStoring()) {
                ar << static_cast<const CObject*>(pElements[i]);
            } else {
                CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CObject));
                auto pElement = dynamic_cast<TYPE>(pOb);
                if (pOb && !pElement) {  // an object of another class
                    delete pOb;
                    AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
                }
                pElements[i] = pElement;
            }
        }
    } else if constexpr (std::is_trivially_copyable_v<TYPE>) {
        auto nBytes = static_cast<UINT>(static_cast<size_t>(nCount) * sizeof(TYPE));
        if (ar.IsStoring())
            ar.Write(pElements, nBytes);
        else if (ar.Read(pElements, nBytes) != nBytes)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    } else {
        if (nCount > 0) AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    }
}

template <class TYPE, class ARG_TYPE>
BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// The original's string hash: each character, signed, added to 33 times
// the hash so far.
inline UINT AfxHashString(LPCTSTR key) {
    UINT nHash = 0;
    for (; key && *key; ++key) nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<signed char>(*key));
    return nHash;
}

// Numbers and pointers hash by their value shifted right by 4, texts
// (anything that converts to LPCTSTR) by AfxHashString; specialise it for
// other keys.
template <class ARG_KEY>
UINT AFXAPI HashKey(ARG_KEY key) {
    using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_convertible_v<ARG_KEY, LPCTSTR> && !std::is_arithmetic_v<Key>)
        return AfxHashString(static_cast<LPCTSTR>(key));
    else if constexpr (std::is_pointer_v<Key>)
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
    else
        return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
}

// The original's element hooks of its first versions, kept for hosts that
// specialise them; the containers construct, destroy and copy their
// elements themselves.
template <class TYPE>
void AFXAPI ConstructElements(TYPE* pElements, INT_PTR nCount) {
    for (INT_PTR i = 0; i < nCount; ++i) ::new (static_cast<void*>(pElements + i)) TYPE();
}
template <class TYPE>
void AFXAPI DestructElements(TYPE* pElements, INT_PTR nCount) {
    for (INT_PTR i = 0; i < nCount; ++i) pElements[i].~TYPE();
}
template <class TYPE>
void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, INT_PTR nCount) {
    for (INT_PTR i = 0; i < nCount; ++i) pDest[i] = pSrc[i];
}

// How many elements a loading Serialize takes on at a time: a stored count
// that the file cannot back fails at the file's end, not at the allocation.
constexpr INT_PTR kAfxSerializeBatch = 4096;

// ---- CArray -----------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override { RemoveAll(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    // New elements are default-constructed; nGrowBy is taken as a hint.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
        if (nNewSize < 0) AfxThrowInvalidArgException();
        if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
        if (nNewSize > m_nMaxSize) Reserve(std::max(nNewSize, Grown()));
        for (; m_nSize < nNewSize; ++m_nSize) ::new (static_cast<void*>(m_pData + m_nSize)) TYPE();
        for (; m_nSize > nNewSize; --m_nSize) m_pData[m_nSize - 1].~TYPE();
    }
    void FreeExtra() {
        if (m_nSize != m_nMaxSize) Reallocate(m_nSize);
    }
    void RemoveAll() {
        SetSize(0);
        Reallocate(0);
    }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
        if (nIndex < 0) AfxThrowInvalidArgException();
        if (nIndex >= m_nSize) {
            TYPE copy(newElement);  // newElement may be one of ours, moved by the growth
            SetSize(nIndex + 1);
            m_pData[nIndex] = std::move(copy);
            return;
        }
        m_pData[nIndex] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement) {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src) {
        INT_PTR nOldSize = m_nSize;
        INT_PTR nCount = src.m_nSize;  // src may be this array
        SetSize(m_nSize + nCount);
        for (INT_PTR i = 0; i < nCount; ++i) m_pData[nOldSize + i] = src.m_pData[i];
        return nOldSize;
    }
    void Copy(const CArray& src) {
        if (&src == this) return;
        SetSize(src.m_nSize);
        for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i] = src.m_pData[i];
    }

    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    // Inserts nCount copies at nIndex (past the end: the array grows to it).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount <= 0) {
            if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
            return;
        }
        TYPE copy(newElement);
        INT_PTR nOldSize = m_nSize;
        SetSize(std::max(nIndex, nOldSize) + nCount);
        if (nIndex < nOldSize) std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
        for (INT_PTR i = 0; i < nCount; ++i) m_pData[nIndex + i] = copy;
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
        if (!pNewArray || nStartIndex < 0) AfxThrowInvalidArgException();
        CArray copy;  // pNewArray may be this array
        copy.Copy(*pNewArray);
        INT_PTR nCount = copy.m_nSize;
        if (nCount == 0) return;
        InsertAt(nStartIndex, copy.m_pData[0], nCount);
        for (INT_PTR i = 1; i < nCount; ++i) m_pData[nStartIndex + i] = copy.m_pData[i];
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) AfxThrowInvalidArgException();
        std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
        SetSize(m_nSize - nCount);
    }

    void Serialize(CArchive& ar) override {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
            SerializeElements<TYPE>(ar, m_pData, m_nSize);
            return;
        }
        SetSize(0);
        for (auto nLeft = static_cast<INT_PTR>(ar.ReadCount()); nLeft > 0;) {
            INT_PTR nBatch = std::min(nLeft, kAfxSerializeBatch);
            INT_PTR nOld = m_nSize;
            SetSize(nOld + nBatch);
            SerializeElements<TYPE>(ar, m_pData + nOld, nBatch);
            nLeft -= nBatch;
        }
    }

protected:
    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = -1;

private:
    INT_PTR Checked(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
        return nIndex;
    }
    // The capacity after one more growth: at least nGrowBy more, and at
    // least half again, so adding one by one stays linear.
    INT_PTR Grown() const { return m_nMaxSize + std::max<INT_PTR>({m_nGrowBy, 4, m_nMaxSize / 2}); }
    void Reserve(INT_PTR nCapacity) {
        if (nCapacity > m_nMaxSize) Reallocate(nCapacity);
    }
    void Reallocate(INT_PTR nCapacity) {
        TYPE* pNew =
            nCapacity ? static_cast<TYPE*>(::operator new(sizeof(TYPE) * static_cast<size_t>(nCapacity))) : nullptr;
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            ::new (static_cast<void*>(pNew + i)) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        ::operator delete(m_pData);
        m_pData = pNew;
        m_nMaxSize = nCapacity;
    }
};

// ---- CList ------------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    // nBlockSize is accepted for compatibility; nodes are allocated singly.
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead ? m_pNodeHead->data : Empty(); }
    const TYPE& GetHead() const { return m_pNodeHead ? m_pNodeHead->data : Empty(); }
    TYPE& GetTail() { return m_pNodeTail ? m_pNodeTail->data : Empty(); }
    const TYPE& GetTail() const { return m_pNodeTail ? m_pNodeTail->data : Empty(); }
    TYPE RemoveHead() {
        if (!m_pNodeHead) return TYPE();
        TYPE data = std::move(m_pNodeHead->data);
        Unlink(m_pNodeHead);
        return data;
    }
    TYPE RemoveTail() {
        if (!m_pNodeTail) return TYPE();
        TYPE data = std::move(m_pNodeTail->data);
        Unlink(m_pNodeTail);
        return data;
    }
    POSITION AddHead(ARG_TYPE newElement) {
        return Link(new CNode{nullptr, nullptr, newElement}, nullptr, m_pNodeHead);
    }
    POSITION AddTail(ARG_TYPE newElement) {
        return Link(new CNode{nullptr, nullptr, newElement}, m_pNodeTail, nullptr);
    }
    void AddHead(const CList* pNewList) {
        if (!pNewList) return;
        CList copy;  // pNewList may be this list
        copy.AddTail(pNewList);
        for (POSITION pos = copy.GetTailPosition(); pos;) AddHead(copy.GetPrev(pos));
    }
    void AddTail(const CList* pNewList) {
        if (!pNewList) return;
        INT_PTR nCount = pNewList->m_nCount;  // pNewList may be this list
        POSITION pos = pNewList->GetHeadPosition();
        for (INT_PTR i = 0; i < nCount; ++i) AddTail(pNewList->GetNext(pos));
    }
    void RemoveAll() {
        while (m_pNodeHead) Unlink(m_pNodeHead);
    }

    POSITION GetHeadPosition() const { return Position(m_pNodeHead); }
    POSITION GetTailPosition() const { return Position(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition) {
        CNode* pNode = Node(rPosition);
        rPosition = Position(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* pNode = Node(rPosition);
        rPosition = Position(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
    void RemoveAt(POSITION position) {
        if (position) Unlink(Node(position));
    }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        if (!position) return AddHead(newElement);
        CNode* pOld = Node(position);
        return Link(new CNode{nullptr, nullptr, newElement}, pOld->pPrev, pOld);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        if (!position) return AddTail(newElement);
        CNode* pOld = Node(position);
        return Link(new CNode{nullptr, nullptr, newElement}, pOld, pOld->pNext);
    }
    // The first position after startAfter (from the head when null) whose
    // element compares equal, or null.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CNode* pNode = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
        for (; pNode; pNode = pNode->pNext) {
            std::remove_reference_t<ARG_TYPE> const* pValue = &searchValue;
            if (CompareElements<TYPE, std::remove_cv_t<std::remove_reference_t<ARG_TYPE>>>(&pNode->data, pValue))
                return Position(pNode);
        }
        return nullptr;
    }
    // The position of the nIndex-th element (from 0), or null.
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
        CNode* pNode = m_pNodeHead;
        while (nIndex--) pNode = pNode->pNext;
        return Position(pNode);
    }

    void Serialize(CArchive& ar) override {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            for (CNode* pNode = m_pNodeHead; pNode; pNode = pNode->pNext) SerializeElements<TYPE>(ar, &pNode->data, 1);
            return;
        }
        for (DWORD_PTR nLeft = ar.ReadCount(); nLeft > 0; --nLeft) {
            TYPE newData{};
            SerializeElements<TYPE>(ar, &newData, 1);
            AddTail(newData);
        }
    }

protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;

private:
    static CNode* Node(POSITION position) { return reinterpret_cast<CNode*>(position); }
    static POSITION Position(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static TYPE& Empty() {
        static TYPE empty{};
        empty = TYPE();
        return empty;
    }
    POSITION Link(CNode* pNode, CNode* pPrev, CNode* pNext) {
        pNode->pPrev = pPrev;
        pNode->pNext = pNext;
        (pPrev ? pPrev->pNext : m_pNodeHead) = pNode;
        (pNext ? pNext->pPrev : m_pNodeTail) = pNode;
        ++m_nCount;
        return Position(pNode);
    }
    void Unlink(CNode* pNode) {
        (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        delete pNode;
        --m_nCount;
    }
};

// ---- CMap -------------------------------------------------------------------------------

// The bucket counts a growing map takes: primes, each about twice the last.
PLATFORM_API UINT AfxNextHashTableSize(UINT nEntries);

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;  // the bucket
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        UINT nHash;
        CAssoc* pAssoc = GetAssocAt(key, nHash);
        if (!pAssoc) return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    // The value of the key, made (default-constructed) when missing.
    VALUE& operator[](ARG_KEY key) {
        UINT nHash;
        if (CAssoc* pAssoc = GetAssocAt(key, nHash)) return pAssoc->value;
        if (!m_pHashTable) InitHashTable(m_nHashTableSize);
        if (static_cast<UINT_PTR>(m_nCount) >= static_cast<UINT_PTR>(m_nHashTableSize) * 4) {
            Rehash(AfxNextHashTableSize(static_cast<UINT>(m_nCount)));
        }
        nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
        auto* pAssoc = new CAssoc{m_pHashTable[nHash], nHash, KEY(key), VALUE()};
        m_pHashTable[nHash] = pAssoc;
        ++m_nCount;
        return pAssoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key) {
        if (!m_pHashTable) return FALSE;
        UINT nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
        const KEY& stored = Key(key);
        for (CAssoc** ppPrev = &m_pHashTable[nHash]; *ppPrev; ppPrev = &(*ppPrev)->pNext) {
            if (!CompareElements<KEY, KEY>(&(*ppPrev)->key, &stored)) continue;
            CAssoc* pAssoc = *ppPrev;
            *ppPrev = pAssoc->pNext;
            delete pAssoc;
            --m_nCount;
            return TRUE;
        }
        return FALSE;
    }
    void RemoveAll() {
        if (m_pHashTable)
            for (UINT nHash = 0; nHash < m_nHashTableSize; ++nHash)
                while (CAssoc* pAssoc = m_pHashTable[nHash]) {
                    m_pHashTable[nHash] = pAssoc->pNext;
                    delete pAssoc;
                }
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (rNextPosition == BEFORE_START_POSITION) pAssoc = FirstFrom(0);
        if (!pAssoc) {  // a stale position of an emptied map
            rNextPosition = nullptr;
            return;
        }
        CAssoc* pNext = pAssoc->pNext ? pAssoc->pNext : FirstFrom(pAssoc->nHashValue + 1);
        rNextPosition = reinterpret_cast<POSITION>(pNext);
        rKey = pAssoc->key;
        rValue = pAssoc->value;
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the bucket count (0 is taken as 1); an emptied map only. With
    // bAllocNow the table is made at once, else at the first entry.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        if (m_nCount > 0) return;
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
        m_nHashTableSize = std::max(hashSize, 1u);
        if (bAllocNow) m_pHashTable = new CAssoc*[m_nHashTableSize]();
    }

    void Serialize(CArchive& ar) override {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            if (!m_pHashTable) return;
            for (UINT nHash = 0; nHash < m_nHashTableSize; ++nHash)
                for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc; pAssoc = pAssoc->pNext) {
                    SerializeElements<KEY>(ar, &pAssoc->key, 1);
                    SerializeElements<VALUE>(ar, &pAssoc->value, 1);
                }
            return;
        }
        for (DWORD_PTR nLeft = ar.ReadCount(); nLeft > 0; --nLeft) {
            KEY newKey{};
            VALUE newValue{};
            SerializeElements<KEY>(ar, &newKey, 1);
            SerializeElements<VALUE>(ar, &newValue, 1);
            SetAt(newKey, newValue);
        }
    }

protected:
    // The stored key equal to key, or null.
    const KEY* StoredKey(ARG_KEY key) const {
        UINT nHash;
        CAssoc* pAssoc = GetAssocAt(key, nHash);
        return pAssoc ? &pAssoc->key : nullptr;
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;

private:
    // The key as the stored type, for comparisons (a CString from an LPCTSTR).
    static const KEY& Key(const KEY& key) { return key; }
    template <class Other>
    requires(!std::is_same_v<std::remove_cvref_t<Other>, KEY>) static KEY Key(const Other& key) { return KEY(key); }
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const {
        nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
        if (!m_pHashTable) return nullptr;
        const KEY& stored = Key(key);
        for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc; pAssoc = pAssoc->pNext)
            if (CompareElements<KEY, KEY>(&pAssoc->key, &stored)) return pAssoc;
        return nullptr;
    }
    CAssoc* FirstFrom(UINT nBucket) const {
        if (!m_pHashTable) return nullptr;
        for (; nBucket < m_nHashTableSize; ++nBucket)
            if (m_pHashTable[nBucket]) return m_pHashTable[nBucket];
        return nullptr;
    }
    // Moves every entry to a table of nNewSize buckets, keeping each
    // bucket's newest-first order.
    void Rehash(UINT nNewSize) {
        auto** pNew = new CAssoc*[nNewSize]();
        for (UINT nHash = m_nHashTableSize; nHash-- > 0;) {
            // Oldest first, so each new bucket ends up newest first.
            CAssoc* pReversed = nullptr;
            while (CAssoc* pAssoc = m_pHashTable[nHash]) {
                m_pHashTable[nHash] = pAssoc->pNext;
                pAssoc->pNext = pReversed;
                pReversed = pAssoc;
            }
            while (CAssoc* pAssoc = pReversed) {
                pReversed = pAssoc->pNext;
                UINT nTo = HashKey<ARG_KEY>(pAssoc->key) % nNewSize;
                pAssoc->nHashValue = nTo;
                pAssoc->pNext = pNew[nTo];
                pNew[nTo] = pAssoc;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = pNew;
        m_nHashTableSize = nNewSize;
    }
};

// ---- Typed pointers ----------------------------------------------------------------------

// BASE_CLASS is CObArray or CPtrArray.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

// BASE_CLASS is CObList or CPtrList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};

// BASE_CLASS is one of the pointer maps (CMapStringToPtr, CMapPtrToPtr,
// CMapStringToOb, ...); KEY its key type and VALUE the pointer type.
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
        typename BASE_CLASS::BASE_VALUE value;
        if (!BASE_CLASS::Lookup(key, value)) return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
        typename BASE_CLASS::BASE_KEY key;
        typename BASE_CLASS::BASE_VALUE value;
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = static_cast<KEY>(key);
        rValue = static_cast<VALUE>(value);
    }
};
