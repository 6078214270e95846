#include <gtest/gtest.h>

#include <vector>

#include "containers/CLinkedList.h"
#include "files/FileRecords.h"
#include "platform/kernel/Syscalls.h"

namespace {

// The elements in chain order, checking the indexes, tail and count on the way.
std::vector<int> Contents(CLinkedList<int*>& list) {
    std::vector<int> out;
    int32_t expected = 0;
    CLinkedList<int*>::ListNode* last = nullptr;
    for (auto* node = list.m_pHead; node; node = node->pNext) {
        EXPECT_EQ(node->nIndex, expected++);
        EXPECT_NE(node->pValue, nullptr);
        out.push_back(**node->pValue);
        last = node;
    }
    EXPECT_EQ(list.m_pTail, last);
    EXPECT_EQ(list.m_nCount, out.size());
    return out;
}

struct Values {
    int p = 1, q = 2, r = 3, v = 9;
    int *pp = &p, *pq = &q, *pr = &r, *pv = &v;
};

class CLinkedListTest : public ::testing::Test {
protected:
    void TearDown() override { PlatformResetSyscalls(); }
    Values x;
};

}  // namespace

TEST_F(CLinkedListTest, NewListIsEmptyAndUsable) {
    CLinkedList<int*> list;
    EXPECT_EQ(list.m_nCount, 0u);
    EXPECT_EQ(list.m_pHead, nullptr);
    EXPECT_EQ(list.m_pTail, nullptr);
    EXPECT_EQ(list.m_pCurrent, nullptr);
    EXPECT_TRUE(list.m_bSuccess);
    EXPECT_TRUE(list.m_strError.IsEmpty());
    EXPECT_FALSE(list.m_bIsTextRecord);
    EXPECT_NE(list.m_pMutex, nullptr);
    EXPECT_EQ(list.m_pMutex->m_strName.GetLength(), 36);
    CLinkedList<TextRecord> records;
    EXPECT_TRUE(records.m_bIsTextRecord);
}

TEST_F(CLinkedListTest, AddAppendsAndLeavesTheCursorOnTheNewNode) {
    CLinkedList<int*> list;
    ASSERT_TRUE(list.Add(&x.pp));
    EXPECT_EQ(list.m_pHead, list.m_pTail);
    ASSERT_TRUE(list.Add(&x.pq));
    ASSERT_TRUE(list.Add(&x.pr));
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.m_pCurrent, list.m_pTail);
    EXPECT_EQ(list.m_pCurrent->nIndex, 2);
}

TEST_F(CLinkedListTest, InsertPositions) {
    struct Case { int index; std::vector<int> expected; bool cursorNull; };
    const Case cases[] = {
        {0, {9, 1, 2}, true},  {1, {1, 9, 2}, true},  // in front of the element at the index
        {2, {1, 2, 9}, false}, {-1, {1, 2, 9}, false}, {-5, {1, 2, 9}, false}, {99, {1, 2, 9}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        CLinkedList<int*> list;
        list.Add(&x.pp);
        list.Add(&x.pq);
        ASSERT_TRUE(list.Insert(c.index, &x.pv));
        EXPECT_EQ(Contents(list), c.expected);
        EXPECT_EQ(list.m_pCurrent == nullptr, c.cursorNull);
        EXPECT_EQ(**list.m_pTail->pValue, c.expected.back());
    }
    for (int index : {0, 3, -1}) {  // any insert on an empty list appends
        CLinkedList<int*> empty;
        ASSERT_TRUE(empty.Insert(index, &x.pv));
        EXPECT_EQ(Contents(empty), std::vector<int>{9});
    }
}

TEST_F(CLinkedListTest, SetAtOverwritesOrAppends) {
    CLinkedList<int*> list;
    list.Add(&x.pp);
    list.Add(&x.pq);
    list.Add(&x.pr);
    ASSERT_TRUE(list.SetAt(1, &x.pv));
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 9, 3}));
    EXPECT_EQ(list.m_pCurrent->nIndex, 1);
    EXPECT_TRUE(list.SetAt(7, &x.pp));  // no such position: nothing changes, still true
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 9, 3}));
    EXPECT_EQ(list.m_pCurrent, nullptr);
    ASSERT_TRUE(list.SetAt(-1, &x.pv));
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 9, 3, 9}));
}

TEST_F(CLinkedListTest, RemoveAllEmptiesAndTheListIsReusable) {
    CLinkedList<int*> list;
    for (int i = 0; i < 50; ++i) list.Add(&x.pp);
    list.RemoveAll();
    EXPECT_EQ(list.m_nCount, 0u);
    EXPECT_EQ(list.m_pHead, nullptr);
    EXPECT_EQ(x.p, 1);  // the objects pointed at stay
    list.Add(&x.pq);
    EXPECT_EQ(list.m_pHead->nIndex, 0);
    list.Empty();
    EXPECT_EQ(list.m_pTail, nullptr);
}

TEST_F(CLinkedListTest, FailedAllocationLeavesAConsistentChain) {
    CLinkedList<int*> list;
    list.Add(&x.pp);
    list.Add(&x.pq);
    list.Add(&x.pr);
    // Fail every fresh heap chunk: first the node heap runs dry, then the value heap.
    PlatformFailSyscall(Syscall::HeapChunk, 1, 12, true);
    bool failed = false;
    for (int i = 0; i < 200 && !failed; ++i) failed = !list.Insert(1, &x.pv);
    ASSERT_TRUE(failed);
    EXPECT_EQ(list.m_strError, "Not enough memory.");
    std::vector<int> before = Contents(list);
    EXPECT_FALSE(list.Add(&x.pv));
    EXPECT_FALSE(list.SetAt(-1, &x.pv));
    EXPECT_EQ(Contents(list), before);
    EXPECT_EQ(before.front(), 1);
    EXPECT_EQ(before.back(), 3);
    PlatformResetSyscalls();
    EXPECT_TRUE(list.Add(&x.pv));
    EXPECT_EQ(Contents(list).size(), before.size() + 1);
    EXPECT_TRUE(list.m_bSuccess);
}

TEST_F(CLinkedListTest, MissingHeapsFailAllocationsWithoutFaulting) {
    PlatformFailSyscall(Syscall::HeapChunk, 1, 12, true);
    CLinkedList<int*> list;
    PlatformResetSyscalls();
    EXPECT_FALSE(list.Add(&x.pp));
    EXPECT_FALSE(list.Insert(0, &x.pp));
    EXPECT_EQ(list.m_strError, "Not enough memory.");
    EXPECT_EQ(list.m_nCount, 0u);
    EXPECT_EQ(list.m_pHead, nullptr);
    list.RemoveAll();
}

TEST_F(CLinkedListTest, RecordsAreStoredByValue) {
    CLinkedList<TextRecord> list;
    TextRecord rec(CString("first"));
    list.Add(&rec);
    rec = TextRecord(CString("second"));
    EXPECT_STREQ(list.m_pHead->pValue->m_szText, "first");
}

namespace {
struct Counter : DelObj {
    std::vector<int>* calls;
    int id;
    Counter(std::vector<int>* c, int i) : calls(c), id(i) {}
    void DeleteObj() override { calls->push_back(id); }
};
}  // namespace

TEST_F(CLinkedListTest, DeleteAllObjsCallsEveryElementInOrder) {
    std::vector<int> calls;
    CLinkedList<DelObj*> list;
    CDeleteAllObjs none(&list);
    EXPECT_TRUE(calls.empty());
    Counter a(&calls, 1), b(&calls, 2), c(&calls, 3);
    DelObj* objs[] = {&a, &b, &c};
    for (DelObj*& o : objs) list.Add(&o);
    CDeleteAllObjs all(&list);
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.m_nCount, 3u);
}

TEST_F(CLinkedListTest, RecreateObjectReplacesTheObject) {
    CLinkedList<int*>* list = nullptr;
    ASSERT_TRUE(RecreateObject(list));
    list->Add(&x.pp);
    ASSERT_TRUE(RecreateObject(list));
    EXPECT_EQ(list->m_nCount, 0u);
    delete list;
}
