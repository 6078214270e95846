#include <gtest/gtest.h>

#include <cstring>

#include "types/CObjectCode.h"
#include "types/CObjectParameters.h"
#include "types/CParameters.h"

namespace {

class CountingCode : public CObjectCode {
public:
    int Handle() override { return ++m_nHandled, 0; }
    CObjectCode* Clone() override { return new CountingCode(*this); }
    int m_nHandled = 0;
};

int CountOf(CLinkedList<CAddArrow>* list) {
    int n = 0;
    for (auto* node = list->MoveFirst(); node; node = list->MoveNext()) ++n;
    return n;
}

}  // namespace

TEST(CObjectCodeTest, RunCodeCallsTheDerivedHandleOnce) {
    CObjectCode base(4, 9);
    EXPECT_EQ(base.RunCode(), 1);
    EXPECT_EQ(base.Clone(), nullptr);
    EXPECT_EQ(base.m_nValue2, 9);
    base.SetID(CString('x', 200));
    EXPECT_EQ(std::strlen(base.m_szID), 49u);
    EXPECT_EQ(base.m_szText1[0], '\0');  // the next field is untouched

    CountingCode derived;
    CObjectCode& asBase = derived;
    EXPECT_EQ(asBase.RunCode(), 1);  // Handle's 0 is ignored
    EXPECT_EQ(derived.m_nHandled, 1);
    CObjectCode* clone = asBase.Clone();
    clone->RunCode();
    EXPECT_EQ(static_cast<CountingCode*>(clone)->m_nHandled, 2);
    delete clone;  // through the base: the destructor is virtual
}

TEST(CObjectCodeTest, CopiesHaveTheirOwnArrowList) {
    CObjectCode source(1, 2);
    source.m_pArrows = new CLinkedList<CAddArrow>;
    CAddArrow arrow(1, 2, "from", 3, "to", 4);
    source.m_pArrows->Add(&arrow);
    source.m_pArrows->Add(&arrow);

    CObjectCode copy(source);
    ASSERT_NE(copy.m_pArrows, source.m_pArrows);
    EXPECT_EQ(CountOf(copy.m_pArrows), 2);
    EXPECT_STREQ(copy.m_pArrows->m_pHead->pValue->szText1, "from");

    CObjectCode assigned;
    assigned.m_pArrows = new CLinkedList<CAddArrow>;  // freed by the assignment
    assigned = source;
    assigned = assigned;
    EXPECT_EQ(CountOf(assigned.m_pArrows), 2);
    assigned = CObjectCode();
    EXPECT_EQ(assigned.m_pArrows, nullptr);
}

TEST(CObjectParametersTest, DestructorFreesWhatTheFlagsSay) {
    auto* kept = new CType(1);
    {
        CObjectParameters params;
        params.m_pValues1->Add(&kept);  // not owned: stays
        auto* owned = new CType(2);
        params.m_bOwnValues2 = true;
        params.m_pValues2->Add(&owned);  // owned: freed with the block
        CType** cell = new CType*(kept);
        params.m_pValueRefs2->Add(&cell);  // the cell is freed, not what it points at
        CType* local = kept;
        CType** ref = &local;
        params.m_pValueRefs1->Add(&ref);  // left alone
    }
    EXPECT_EQ(kept->m_Value.m_nValue, 1);
    delete kept;
}

TEST(CObjectParametersTest, CloneIsEmptyAndCopiesAreDeep) {
    CObjectParameters params;
    CString name('n', 150);
    params.Init(7, const_cast<char*>(static_cast<LPCTSTR>(name)));
    EXPECT_EQ(std::strlen(params.m_szName), 99u);
    params.m_bOwnValues1 = true;
    auto* value = new CType(5);
    params.m_pValues1->Add(&value);
    CType* shared = new CType(6);
    params.m_pValues2->Add(&shared);
    CType** cell = new CType*(shared);
    params.m_pValueRefs2->Add(&cell);

    CObjectParameters* clone = params.Clone();
    EXPECT_EQ(clone->m_pValues1->m_pHead, nullptr);
    delete clone;
    {
        CObjectParameters copy(params);
        EXPECT_EQ(copy.m_nNumber, 7);
        CType* copied = *copy.m_pValues1->m_pHead->pValue;
        EXPECT_NE(copied, value);  // owned: copied
        EXPECT_EQ(copied->m_Value.m_nValue, 5);
        EXPECT_EQ(*copy.m_pValues2->m_pHead->pValue, shared);  // not owned: the same object
        CType** copiedCell = *copy.m_pValueRefs2->m_pHead->pValue;
        EXPECT_NE(copiedCell, cell);
        EXPECT_EQ(*copiedCell, shared);
        CObjectParameters assigned;
        assigned = copy;
        assigned = assigned;
    }
    params.CreateLinkedLists();  // frees the owned value and the cell
    EXPECT_EQ(params.m_pValues1->m_pHead, nullptr);
    delete shared;
}

TEST(CParametersTest, HoldsItsOwnCopies) {
    unsigned char bytes[20];
    for (int i = 0; i < 20; ++i) bytes[i] = static_cast<unsigned char>(i * 7);
    CParameters p(bytes, 10);
    ASSERT_EQ(p.m_nSize, 10);
    EXPECT_EQ(std::memcmp(p.m_pData, bytes, 10), 0);
    p.LoadParameters(bytes, 20);  // the old block is released
    EXPECT_EQ(std::memcmp(p.m_pData, bytes, 20), 0);
    p.LoadParameters(p.m_pData + 5, 10);  // from its own block
    EXPECT_EQ(std::memcmp(p.m_pData, bytes + 5, 10), 0);

    CParameters q;
    EXPECT_EQ(q = p, 1);
    EXPECT_NE(q.m_pData, p.m_pData);
    EXPECT_EQ(std::memcmp(p.m_pData, bytes + 5, 10), 0);  // the source keeps its block
    EXPECT_EQ(std::memcmp(q.m_pData, bytes + 5, 10), 0);
    q = q;
    EXPECT_EQ(std::memcmp(q.m_pData, bytes + 5, 10), 0);
    q.LoadParameters(nullptr, 5);
    EXPECT_EQ(q.m_pData, nullptr);
    EXPECT_EQ(q.m_nSize, 0);
}

TEST(CRecordTypeTest, NumberAndNameCut) {
    char name[] = "Record";
    CRecordType plain(4);
    EXPECT_STREQ(plain.m_szName, "");
    plain = CRecordType(3, name);
    EXPECT_EQ(plain.m_nType, 3);
    EXPECT_STREQ(plain.m_szName, "Record");
    CString longName('r', 90);
    EXPECT_EQ(std::strlen(CRecordType(1, const_cast<char*>(static_cast<LPCTSTR>(longName))).m_szName), 51u);
}
