#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <typeinfo>

#include "types/CType.h"

namespace typetest {
struct Point3 {
    int x, y, z;
};
}  // namespace typetest

TEST(CTypeTest, ConstructorsSetTheirKindsAndValuesPrintAsPointers) {
    int i = 0, *pi = nullptr;
    char c = 0, *pc = nullptr;
    short s = 0;
    bool b = false;
    float f = 0, *pf = nullptr;
    double d = 0;
    long l = 0;
    CString str, *pstr = nullptr;
    void* pv = nullptr;
    const CType all[] = {CType(),   CType(5),   CType('c'), CType(true), CType(1.5f), CType(2.5), CType(7L),
                         CType(&i), CType(&c),  CType(&s),  CType(&b),   CType(&f),   CType(&d),  CType(&l),
                         CType(&str), CType(&pi), CType(&pstr), CType(&pf), CType(&pc), CType(&pv)};
    const int kinds[] = {0, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 22};
    for (size_t k = 0; k < std::size(kinds); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(all[k].m_nType, kinds[k]);
        EXPECT_STREQ(all[k].m_szName, "");
        EXPECT_EQ(all[k].m_Buffer, nullptr);
    }
    EXPECT_EQ(all[0].m_Value.m_pValue, nullptr);
    EXPECT_EQ(all[7].m_Value.m_pValue, &i);

    CString text;
    CType five(5);
    EXPECT_EQ(five.TypeToString(text), 1);
    EXPECT_EQ(text, "0x0000000000000005");
    CType('A').TypeToString(text);  // only the value's byte: the rest of m_Value is zero
    EXPECT_EQ(text, "0x0000000000000041");
}

TEST(CTypeTest, ConvertsThroughTheCallersVariable) {
    int* p = nullptr;
    CType t(&p);
    CString text("unchanged"), seventeen("17"), none("none"), huge("99999999999999999999");
    EXPECT_EQ(t.TypeToString(text), 0);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(t.StringToType(seventeen), 1);  // no int to store into: nothing happens

    int value = 42;
    p = &value;
    EXPECT_EQ(t.TypeToString(text), 1);
    EXPECT_EQ(text, "42");
    t.StringToType(seventeen);
    EXPECT_EQ(value, 17);
    t.StringToType(none);
    EXPECT_EQ(value, 0);
    t.StringToType(huge);
    EXPECT_EQ(value, 2147483647);

    CType nowhere(static_cast<int**>(nullptr));  // no variable at all
    EXPECT_EQ(nowhere.TypeToString(text), 0);
    EXPECT_EQ(nowhere.StringToType(seventeen), 1);

    float f = 2.5f;
    float* pf = &f;
    CType tf(&pf);
    tf.TypeToString(text);
    EXPECT_EQ(text, "2.500000");
    CString overflow("1e999");
    tf.StringToType(overflow);
    EXPECT_TRUE(std::isinf(f));
    // Only decimal forms are numbers, as for the original runtime's atof.
    for (const auto& [text, expected] : {std::pair{"0x10", 0.0f}, {"inf", 0.0f}, {"nan", 0.0f}, {" -1.5d1!", -15.0f}}) {
        CString input(text);
        f = 9;
        tf.StringToType(input);
        EXPECT_EQ(f, expected) << text;
    }

    CString s("hello");
    CString* ps = &s;
    CType ts(&ps);
    CString next("world");
    ts.StringToType(next);
    EXPECT_EQ(s, "world");
    EXPECT_EQ(ts.TypeToString(static_cast<CString**>(nullptr), text), 1);  // the argument only selects
    EXPECT_EQ(text, "world");
}

TEST(CTypeTest, SetIdCleansRunTimeAndOriginalTypeNames) {
    struct Case {
        const char* typeName;
        const char* stored;
    } cases[] = {
        {typeid(CString**).name(), "CString "},
        {typeid(int**).name(), "int "},
        {typeid(int*).name(), "int *"},
        {typeid(typetest::Point3).name(), "typetest::Point3"},
        {"class CString * *", "CString "},
        {"struct Point3", "Point3"},
        {"not a type name", "not a type name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeName);
        CTypeID id;
        id.SetID("my var", c.typeName);
        EXPECT_STREQ(id.m_szTypeName, c.stored);
        EXPECT_STREQ(id.m_szName, "my var");
    }
    CTypeID id(16);
    id.SetID(CString('n', 80), CString('t', 80));
    EXPECT_EQ(std::strlen(id.m_szName), 49u);
    EXPECT_EQ(std::strlen(id.m_szTypeName), 51u);
}

TEST(CTypeTest, GenericNamesAreThePointerToPointerTypes) {
    CType t;
    for (const char* name : {typeid(int**).name(), typeid(char**).name(), typeid(bool**).name(),
                             typeid(short**).name(), typeid(float**).name(), typeid(long**).name(),
                             typeid(double**).name(), typeid(CString**).name(), "class CString * *"})
        EXPECT_TRUE(t.is_generic_ctype_name(name)) << name;
    for (const char* name : {typeid(void**).name(), typeid(int*).name(), typeid(int).name(), "void * *", ""})
        EXPECT_FALSE(t.is_generic_ctype_name(name)) << name;
}

TEST(CTypeTest, NewTypeCreatesAValueReachedThroughTheLinkedVariable) {
    CString** pp = nullptr;
    CType t(static_cast<CString**>(nullptr));
    t.LinkPtr(&pp);
    ASSERT_EQ(pp, reinterpret_cast<CString**>(&t.m_Buffer));
    ASSERT_EQ(t.NewType(), 1);
    CString text("abc");
    t.StringToType(text);
    EXPECT_EQ(**pp, "abc");
    t.NewType();  // the first string is destroyed (the sanitizers check)
    EXPECT_EQ(**pp, "");

    for (int kind = 0; kind <= 25; ++kind) {
        CType v;
        v.m_nType = kind;
        v.NewType();
        bool creates = kind >= 15 && kind <= 23 && kind != 22;
        EXPECT_EQ(v.m_Buffer != nullptr, creates) << kind;
    }
    CType l;
    l.m_nType = 21;  // a long** value holds a whole long
    l.NewType();
    *static_cast<long*>(l.m_Buffer) = 0x1122334455667788L;
    EXPECT_EQ(*static_cast<long*>(l.m_Buffer), 0x1122334455667788L);
}

TEST(CTypeTest, CopiesOwnTheirValueAndPointIntoTheirOwnBuffer) {
    int** pp = nullptr;
    auto* source = new CType(static_cast<int**>(nullptr));
    source->LinkPtr(&pp);
    source->NewType();
    CString seven("7"), eight("8"), text;
    source->StringToType(seven);

    CType copy(*source);
    EXPECT_EQ(copy.m_Value.m_pValue, &copy.m_Buffer);
    ASSERT_NE(copy.m_Buffer, source->m_Buffer);
    copy.StringToType(eight);
    EXPECT_EQ(**pp, 7);

    CType assigned(3.5);
    assigned = *source;  // owns a copy of the source's value
    assigned = copy;     // releases it (the leak checker watches)
    delete source;       // the copies stay whole
    assigned = assigned;
    assigned.TypeToString(text);
    EXPECT_EQ(text, "8");

    int* p = nullptr;
    CType external(&p);
    EXPECT_EQ(CType(external).m_Value.m_pValue, &p);  // a caller's variable stays shared
}

TEST(CTypeTest, ReleasesOnlyWhatItCreated) {
    CString mine("caller's");
    CString** pp = nullptr;
    {
        CType t(static_cast<CString**>(nullptr));
        t.LinkPtr(&pp);
        t.NewType();
        *pp = &mine;  // the caller puts its own string in the buffer
        t.NewType();  // releases the created string, not the caller's
        t.m_nType = 15;  // nor does a changed kind change how it is released
    }
    EXPECT_EQ(mine, "caller's");
}
