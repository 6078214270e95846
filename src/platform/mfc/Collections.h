// CPtrList and CTypedPtrList: the platform's doubly linked list of
// pointers, walked with POSITION values. The list never owns what its
// pointers point at.
//
// A POSITION names one node and stays valid until that node is removed;
// GetNext returns the element at the position and moves the position on
// (null after the tail). Passing a POSITION of another list, or of a
// removed node, is a caller error, as on the original platform.
#pragma once

#include "platform/shared/Types.h"

typedef struct __POSITION* POSITION;

class PLATFORM_API CPtrList {
public:
    // nBlockSize is accepted for compatibility; nodes are allocated singly.
    explicit CPtrList(int nBlockSize = 10);
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;
    virtual ~CPtrList();

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    POSITION AddHead(void* newElement);
    POSITION AddTail(void* newElement);
    void* RemoveHead();  // null on an empty list
    void* RemoveTail();  // null on an empty list
    void RemoveAll();
    void RemoveAt(POSITION position);

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    void* GetHead() const;  // null on an empty list
    void* GetTail() const;  // null on an empty list
    void*& GetNext(POSITION& rPosition) const;
    void*& GetPrev(POSITION& rPosition) const;
    void*& GetAt(POSITION position) const;
    void SetAt(POSITION position, void* newElement);
    // The first position at or after startAfter's successor (from the head
    // when null) holding searchValue, or null.
    POSITION Find(void* searchValue, POSITION startAfter = nullptr) const;

    struct Node;  // opaque: a POSITION points at one

private:
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
    int m_nBlockSize;
};

// The typed face of a pointer list: BASE_CLASS is CPtrList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION position, TYPE newElement) { BASE_CLASS::SetAt(position, newElement); }
};
