// CLinkedList<T>: the library's one collection, a singly linked list whose
// nodes and element copies live in two private heaps owned by the list.
//
// Elements are stored as byte copies in zero-filled storage; no constructor
// or destructor of T runs on a stored element, so T must be a pointer or a
// plain record. A list of pointers never owns what they point at.
//
// Operations report success as m_bSuccess (true) and failure as its
// negation, leaving "Not enough memory." or "Freeing memory failed." in
// m_strError. After a failed allocation the chain stays whole: nothing
// half-built is linked in, and m_nCount, m_pTail and the indexes are right.
//
// m_pCurrent is the public traversal cursor (MoveFirst / MoveNext). Add,
// Insert, SetAt and RemoveAll move it, so a caller walking the list must not
// call them in the middle of its walk.
//
// Lists are not copyable: two lists never share nodes, heaps or the mutex.
#pragma once

#include <cstring>
#include <type_traits>

#include "containers/CGenerateGuid.h"
#include "platform/atl/Strings.h"
#include "platform/kernel/Heaps.h"
#include "platform/mfc/SyncObjects.h"

struct TextRecord;

template <class T>
struct ListNode {
    int32_t nIndex;      // 0-based position, kept equal to the position
    T* pValue;           // the node's own copy of the element
    ListNode* pNext;     // null at the tail
};

template <class T>
class CBASIS1_API CLinkedList {
    static_assert(std::is_trivially_copyable_v<T>, "list elements are stored as byte copies");

public:
    typedef ::ListNode<T> ListNode;

    CLinkedList() { Init(); }
    CLinkedList(const CLinkedList&) = delete;
    CLinkedList& operator=(const CLinkedList&) = delete;

    // Destroying the heaps releases every node and element copy at once, so
    // the chain is dropped rather than freed node by node.
    virtual ~CLinkedList() {
        m_pCurrent = m_pHead = m_pTail = nullptr;
        m_nCount = 0;
        ReleaseArray();
        delete m_pMutex;
        m_pMutex = nullptr;
        HeapDestroy(m_hValueHeap);
        HeapDestroy(m_hNodeHeap);
        m_hValueHeap = m_hNodeHeap = nullptr;
    }

    void Init() {
        m_bSuccess = true;
        m_nCount = 0;
        m_pArray = nullptr;
        m_pCurrent = m_pHead = m_pTail = nullptr;
        m_bIsTextRecord = std::is_same_v<T, TextRecord>;
        CreateLock();
        if (m_bCreateHeaps) CreateHeaps();
    }

    // A mutex named with a fresh GUID string, created owned and released at
    // once. The library never waits on it.
    int CreateLock() {
        CString name;
        CGenerateGuid make(name);
        m_pMutex = new CMutex(TRUE, name);
        m_pMutex->Unlock();
        return m_bSuccess;
    }

    ListNode* MoveFirst() { return m_pCurrent = m_pHead; }
    ListNode* MoveNext() {
        if (m_pCurrent) m_pCurrent = m_pCurrent->pNext;
        return m_pCurrent;
    }

    // A missing heap (HeapCreate failed) makes every later allocation fail
    // with "Not enough memory.".
    virtual void CreateHeaps() {
        m_hValueHeap = HeapCreate(HEAP_NO_SERIALIZE, 10 * sizeof(T), 0);
        m_hNodeHeap = HeapCreate(HEAP_NO_SERIALIZE, 10 * sizeof(ListNode), 0);
    }

    virtual void DestroyHeaps() {
        HeapDestroy(m_hValueHeap);
        HeapDestroy(m_hNodeHeap);
        m_hValueHeap = m_hNodeHeap = nullptr;
    }

    virtual void Empty() {
        RemoveAll();
        ReleaseArray();
    }

    virtual void RemoveAll() {
        m_pCurrent = m_pHead;
        while (m_pCurrent) {
            ListNode* next = m_pCurrent->pNext;
            FreeNode(&m_pCurrent);  // a failed release is recorded and passed over
            m_pCurrent = next;
        }
        m_pCurrent = m_pHead = m_pTail = nullptr;
        m_nCount = 0;
        ReleaseArray();
    }

    // Appends a copy of *pValue at the tail; m_pCurrent ends on the new node.
    virtual bool Add(T* pValue) { return Insert(-1, pValue); }

    // Inserts a copy of *pValue at position nIndex. Any index from m_nCount
    // upward, every negative index, and any index on an empty list append.
    virtual bool Insert(int nIndex, T* pValue) {
        if (nIndex < 0 || static_cast<uint32_t>(nIndex) >= m_nCount) return AppendAtTail(pValue);
        ListNode* prev = nullptr;
        for (m_pCurrent = m_pHead; m_pCurrent && m_pCurrent->nIndex != nIndex; m_pCurrent = m_pCurrent->pNext)
            prev = m_pCurrent;
        if (!m_pCurrent) return AppendAtTail(pValue);  // unreachable while the indexes are right
        ListNode* at = m_pCurrent;
        ListNode* node = nullptr;
        if (!AllocNode(&node)) return !m_bSuccess;
        std::memcpy(static_cast<void*>(node->pValue), static_cast<const void*>(pValue), sizeof(T));
        node->pNext = at;
        if (prev)
            prev->pNext = node;
        else
            m_pHead = node;
        Renumber();
        return m_bSuccess;
    }

    // Overwrites the element at nIndex; -1 appends. Any other index that is
    // not present changes nothing and still succeeds.
    virtual bool SetAt(int nIndex, T* pValue) {
        for (m_pCurrent = m_pHead; m_pCurrent; m_pCurrent = m_pCurrent->pNext)
            if (m_pCurrent->nIndex == nIndex) {
                std::memcpy(static_cast<void*>(m_pCurrent->pValue), static_cast<const void*>(pValue), sizeof(T));
                break;
            }
        if (nIndex == -1) return AppendAtTail(pValue);
        return m_bSuccess;
    }

    // Allocates a zero-filled node and its element storage. On failure
    // nothing stays allocated and *ppNode is null.
    virtual bool AllocNode(ListNode** ppNode) {
        ListNode* node = static_cast<ListNode*>(HeapAlloc(m_hNodeHeap, HEAP_ZERO_MEMORY, sizeof(ListNode)));
        if (node) {
            node->pValue = static_cast<T*>(HeapAlloc(m_hValueHeap, HEAP_ZERO_MEMORY, sizeof(T)));
            if (!node->pValue) {
                HeapFree(m_hNodeHeap, 0, node);
                node = nullptr;
            }
        }
        *ppNode = node;
        if (!node) {
            m_strError = "Not enough memory.";
            return !m_bSuccess;
        }
        return m_bSuccess;
    }

    // Frees the element storage and the node; does not unlink it.
    virtual bool FreeNode(ListNode** ppNode) {
        if (HeapFree(m_hValueHeap, 0, (*ppNode)->pValue) && HeapFree(m_hNodeHeap, 0, *ppNode)) return m_bSuccess;
        m_strError = "Freeing memory failed.";
        return !m_bSuccess;
    }

    // Links a new node holding a copy of *pValue behind *ppNode (or makes it
    // the head when *ppNode is null), makes it the tail and advances *ppNode
    // to it. Whatever followed *ppNode is dropped from the chain, as callers
    // expect; on failure the chain is left as it was.
    virtual bool AppendNode(ListNode** ppNode, T* pValue) {
        ListNode* node = nullptr;
        if (!AllocNode(&node)) return !m_bSuccess;
        std::memcpy(static_cast<void*>(node->pValue), static_cast<const void*>(pValue), sizeof(T));
        if (*ppNode) {
            node->nIndex = (*ppNode)->nIndex + 1;
            (*ppNode)->pNext = node;
        } else {
            m_pHead = node;
        }
        m_pTail = node;
        *ppNode = node;
        return m_bSuccess;
    }

    bool m_bSuccess = true;
    bool m_bIsTextRecord = false;
    uint32_t m_nCount = 0;
    CMutex* m_pMutex = nullptr;
    CString m_strError;
    ListNode* m_pCurrent = nullptr;
    ListNode* m_pHead = nullptr;
    ListNode* m_pTail = nullptr;
    T* m_pArray = nullptr;  // optional array form of the contents; nothing fills it yet
    bool m_bCreateHeaps = true;
    HANDLE m_hNodeHeap = nullptr;
    HANDLE m_hValueHeap = nullptr;

private:
    // Appends straight at m_pTail: the same result as scanning the chain for
    // an index of -1 first, without making every append linear.
    bool AppendAtTail(T* pValue) {
        m_pCurrent = m_pTail;
        if (!AppendNode(&m_pCurrent, pValue)) return !m_bSuccess;
        m_nCount = static_cast<uint32_t>(m_pCurrent->nIndex) + 1;
        return m_bSuccess;
    }

    // Gives the nodes their positions again after an insertion in front of an
    // existing one; m_pCurrent ends null.
    void Renumber() {
        int32_t index = 0;
        for (m_pCurrent = m_pHead; m_pCurrent; m_pCurrent = m_pCurrent->pNext) {
            m_pCurrent->nIndex = index++;
            if (!m_pCurrent->pNext) m_pTail = m_pCurrent;
        }
        m_nCount = static_cast<uint32_t>(index);
    }

    void ReleaseArray() {
        delete[] m_pArray;
        m_pArray = nullptr;
    }
};

// DelObj: the element type of lists whose objects need a clean-up call.
class CBASIS1_API DelObj {
public:
    DelObj() = default;
    DelObj(const DelObj&) {}
    DelObj& operator=(const DelObj&) { return *this; }
    virtual ~DelObj() = default;
    virtual void DeleteObj() {}
};

// Calls DeleteObj on every element of the list, in order, with the list's
// own cursor. Leaves the list, its nodes and the objects in place.
class CBASIS1_API CDeleteAllObjs {
public:
    explicit CDeleteAllObjs(CLinkedList<DelObj*>* pList);
    CDeleteAllObjs& operator=(const CDeleteAllObjs&) { return *this; }
};

// Replaces the object p points at (if any) by a new default-constructed one.
// Returns whether p is set afterwards.
template <class T>
bool RecreateObject(T*& p) {
    delete p;
    p = nullptr;
    p = new T;
    return p != nullptr;
}
