// CPtrList: a doubly linked list of nodes allocated one by one.
#include "platform/mfc/Collections.h"

struct CPtrList::Node {
    Node* pNext;
    Node* pPrev;
    void* data;
};

namespace {

CPtrList::Node* nodeOf(POSITION position) { return reinterpret_cast<CPtrList::Node*>(position); }
POSITION positionOf(CPtrList::Node* node) { return reinterpret_cast<POSITION>(node); }

}  // namespace

CPtrList::CPtrList(int nBlockSize) : m_nBlockSize(nBlockSize) {}

CPtrList::~CPtrList() { RemoveAll(); }

POSITION CPtrList::AddHead(void* newElement) {
    Node* node = new Node{m_pHead, nullptr, newElement};
    if (m_pHead)
        m_pHead->pPrev = node;
    else
        m_pTail = node;
    m_pHead = node;
    ++m_nCount;
    return positionOf(node);
}

POSITION CPtrList::AddTail(void* newElement) {
    Node* node = new Node{nullptr, m_pTail, newElement};
    if (m_pTail)
        m_pTail->pNext = node;
    else
        m_pHead = node;
    m_pTail = node;
    ++m_nCount;
    return positionOf(node);
}

void* CPtrList::RemoveHead() {
    if (!m_pHead) return nullptr;
    void* data = m_pHead->data;
    RemoveAt(positionOf(m_pHead));
    return data;
}

void* CPtrList::RemoveTail() {
    if (!m_pTail) return nullptr;
    void* data = m_pTail->data;
    RemoveAt(positionOf(m_pTail));
    return data;
}

void CPtrList::RemoveAll() {
    while (m_pHead) {
        Node* next = m_pHead->pNext;
        delete m_pHead;
        m_pHead = next;
    }
    m_pTail = nullptr;
    m_nCount = 0;
}

void CPtrList::RemoveAt(POSITION position) {
    Node* node = nodeOf(position);
    if (!node) return;
    (node->pPrev ? node->pPrev->pNext : m_pHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pTail) = node->pPrev;
    delete node;
    --m_nCount;
}

POSITION CPtrList::GetHeadPosition() const { return positionOf(m_pHead); }
POSITION CPtrList::GetTailPosition() const { return positionOf(m_pTail); }
void* CPtrList::GetHead() const { return m_pHead ? m_pHead->data : nullptr; }
void* CPtrList::GetTail() const { return m_pTail ? m_pTail->data : nullptr; }

void*& CPtrList::GetNext(POSITION& rPosition) const {
    Node* node = nodeOf(rPosition);
    rPosition = positionOf(node->pNext);
    return node->data;
}

void*& CPtrList::GetPrev(POSITION& rPosition) const {
    Node* node = nodeOf(rPosition);
    rPosition = positionOf(node->pPrev);
    return node->data;
}

void*& CPtrList::GetAt(POSITION position) const { return nodeOf(position)->data; }

void CPtrList::SetAt(POSITION position, void* newElement) { nodeOf(position)->data = newElement; }

POSITION CPtrList::Find(void* searchValue, POSITION startAfter) const {
    Node* node = startAfter ? nodeOf(startAfter)->pNext : m_pHead;
    for (; node; node = node->pNext)
        if (node->data == searchValue) return positionOf(node);
    return nullptr;
}
