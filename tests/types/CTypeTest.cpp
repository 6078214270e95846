#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <typeinfo>

#include "types/CType.h"

namespace typetest {
struct Point3 {
    int x, y, z;
};
}  // namespace typetest

TEST(CTypeTest, ConstructorsSetTheirKinds) {
    int i = 0;
    char c = 0;
    short s = 0;
    bool b = false;
    float f = 0;
    double d = 0;
    long l = 0;
    CString str;
    int* pi = nullptr;
    float* pf = nullptr;
    char* pc = nullptr;
    CString* pstr = nullptr;
    void* pv = nullptr;
    struct Case {
        CType value;
        int kind;
    } cases[] = {
        {CType(), 0},     {CType(5), 0},    {CType('c'), 1},  {CType(true), 3}, {CType(1.5f), 4},
        {CType(2.5), 5},  {CType(7L), 6},   {CType(&i), 7},   {CType(&c), 8},   {CType(&s), 9},
        {CType(&b), 10},  {CType(&f), 11},  {CType(&d), 12},  {CType(&l), 13},  {CType(&str), 14},
        {CType(&pi), 15}, {CType(&pstr), 16}, {CType(&pf), 17}, {CType(&pc), 18}, {CType(&pv), 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(c.value.m_nType, c.kind);
        EXPECT_EQ(c.value.m_nReserved, 0);
        EXPECT_STREQ(c.value.m_szName, "");
        EXPECT_EQ(c.value.m_Buffer, nullptr);
    }
    EXPECT_EQ(CType().m_Value.m_pValue, nullptr);
    EXPECT_EQ(CType(&i).m_Value.m_pValue, &i);
    EXPECT_EQ(CType(2.5).m_Value.m_dValue, 2.5);
    EXPECT_EQ(CType(-7L).m_Value.m_lValue, -7L);
}

TEST(CTypeTest, ValuesAndPlainPointersPrintAsPointers) {
    CString text;
    CType five(5);
    EXPECT_EQ(five.TypeToString(text), 1);
    EXPECT_EQ(text, "0x0000000000000005");
    CType letter('A');  // only the value's byte, the rest of m_Value is zero
    letter.TypeToString(text);
    EXPECT_EQ(text, "0x0000000000000041");
    int i = 3;
    CType pointer(&i);
    pointer.TypeToString(text);
    CString expected;
    expected.Format("0x%p", static_cast<void*>(&i));
    EXPECT_EQ(text, expected);
}

TEST(CTypeTest, IntPointerKindConvertsBothWays) {
    int* p = nullptr;
    CType t(&p);
    CString text("unchanged");
    EXPECT_EQ(t.TypeToString(text), 0);
    EXPECT_EQ(text, "unchanged");
    CString seventeen("17");
    EXPECT_EQ(t.StringToType(seventeen), 1);  // no int to store into: nothing happens

    int value = 42;
    p = &value;
    EXPECT_EQ(t.TypeToString(text), 1);
    EXPECT_EQ(text, "42");
    t.StringToType(seventeen);
    EXPECT_EQ(value, 17);
    CString none("none");
    t.StringToType(none);
    EXPECT_EQ(value, 0);
    CString huge("99999999999999999999"), tiny("-99999999999999999999");
    t.StringToType(huge);
    EXPECT_EQ(value, 2147483647);
    t.StringToType(tiny);
    EXPECT_EQ(value, -2147483647 - 1);

    CType nowhere(static_cast<int**>(nullptr));  // no variable at all
    EXPECT_EQ(nowhere.TypeToString(text), 0);
    EXPECT_EQ(nowhere.StringToType(seventeen), 1);
}

TEST(CTypeTest, FloatAndStringKindsConvert) {
    float f = 2.5f;
    float* pf = &f;
    CType tf(&pf);
    EXPECT_EQ(tf.m_nType, 17);
    CString text;
    ASSERT_EQ(tf.TypeToString(text), 1);
    EXPECT_EQ(text, "2.500000");
    CString in("-0.125");
    tf.StringToType(in);
    EXPECT_EQ(f, -0.125f);
    CString overflow("1e999");
    tf.StringToType(overflow);
    EXPECT_TRUE(std::isinf(f));

    CString s("hello");
    CString* ps = &s;
    CType ts(&ps);
    ts.TypeToString(text);
    EXPECT_EQ(text, "hello");
    CString next("world");
    ts.StringToType(next);
    EXPECT_EQ(s, "world");

    // The overloads read through m_pValue whatever the first argument.
    EXPECT_EQ(ts.TypeToString(static_cast<CString**>(nullptr), text), 1);
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
        {typeid(typetest::Point3**).name(), "typetest::Point3 "},
        {"class CString * *", "CString "},
        {"struct Point3", "Point3"},
        {"not a type name", "not a type name"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeName);
        CTypeID id;
        id.SetID("my var", c.typeName);
        EXPECT_STREQ(id.m_szTypeName, c.stored);
        EXPECT_STREQ(id.m_szName, "my var");
    }

    CTypeID id(16);
    EXPECT_EQ(id.m_nType, 16);
    id.SetID(CString('n', 80), CString('t', 80));
    EXPECT_EQ(std::strlen(id.m_szName), 49u);
    EXPECT_EQ(std::strlen(id.m_szTypeName), 51u);
    id.Init();
    EXPECT_EQ(id.m_nType, 0);
    EXPECT_STREQ(id.m_szName, "");
}

TEST(CTypeTest, GenericNamesAreThePointerToPointerTypes) {
    CType t;
    for (const char* name : {typeid(int**).name(), typeid(char**).name(), typeid(bool**).name(),
                             typeid(short**).name(), typeid(float**).name(), typeid(long**).name(),
                             typeid(double**).name(), typeid(CString**).name(), "class CString * *", "int * *"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(t.is_generic_ctype_name(name));
    }
    for (const char* name : {typeid(void**).name(), typeid(int*).name(), typeid(int).name(), "void * *", "int **", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(t.is_generic_ctype_name(name));
    }
}

TEST(CTypeTest, NewTypeCreatesAValueReachedThroughTheLinkedVariable) {
    CString** pp = nullptr;
    CType t(static_cast<CString**>(nullptr));
    t.LinkPtr(&pp);
    ASSERT_EQ(pp, reinterpret_cast<CString**>(&t.m_Buffer));
    ASSERT_EQ(t.NewType(), 1);
    ASSERT_NE(*pp, nullptr);
    EXPECT_EQ(**pp, "");
    CString text("abc");
    t.StringToType(text);
    EXPECT_EQ(**pp, "abc");

    CString* first = *pp;
    t.NewType();  // the first string is destroyed (checked under the sanitizers)
    EXPECT_EQ(**pp, "");
    EXPECT_EQ(t.TypeToString(text), 1);
    EXPECT_EQ(text, "");
    (void)first;
}

TEST(CTypeTest, NewTypeMakesAZeroValueForEachGenericKind) {
    for (int kind = 0; kind <= 25; ++kind) {
        SCOPED_TRACE(kind);
        CType t;
        t.m_nType = kind;
        t.Init();
        EXPECT_EQ(t.NewType(), 1);
        bool creates = kind >= 15 && kind <= 23 && kind != 22;
        ASSERT_EQ(t.m_Buffer != nullptr, creates);
        if (!creates) continue;
        if (kind == 16) {
            EXPECT_EQ(*static_cast<CString*>(t.m_Buffer), "");
        } else {
            size_t size = kind == 20 || kind == 21 ? 8 : kind == 23 ? 2 : kind == 19 ? 1 : 4;
            EXPECT_EQ(std::memcmp(t.m_Buffer, "\0\0\0\0\0\0\0\0", size), 0);
        }
    }
    // A long** value holds a whole long.
    CType l;
    l.m_nType = 21;
    l.NewType();
    *static_cast<long*>(l.m_Buffer) = 0x1122334455667788L;
    EXPECT_EQ(*static_cast<long*>(l.m_Buffer), 0x1122334455667788L);
}

TEST(CTypeTest, CopiesOwnTheirValueAndPointIntoTheirOwnBuffer) {
    int** pp = nullptr;
    auto* source = new CType(static_cast<int**>(nullptr));
    source->LinkPtr(&pp);
    source->NewType();
    CString seven("7");
    source->StringToType(seven);

    CType copy(*source);
    EXPECT_EQ(copy.m_Value.m_pValue, &copy.m_Buffer);
    ASSERT_NE(copy.m_Buffer, source->m_Buffer);
    CString text;
    copy.TypeToString(text);
    EXPECT_EQ(text, "7");
    CString eight("8");
    copy.StringToType(eight);
    EXPECT_EQ(**pp, 7);

    CType assigned(3.5);
    assigned = *source;  // its earlier state owned nothing; now owns a copy
    assigned = copy;     // releases that copy (the leak checker watches)
    delete source;       // the copies stay whole
    assigned.TypeToString(text);
    EXPECT_EQ(text, "8");
    assigned = assigned;
    assigned.TypeToString(text);
    EXPECT_EQ(text, "8");

    // A copy of an object that points at a caller's variable points there too.
    int* p = nullptr;
    CType external(&p);
    CType externalCopy(external);
    EXPECT_EQ(externalCopy.m_Value.m_pValue, &p);
}

TEST(CTypeTest, ReleasesOnlyWhatItCreated) {
    CString mine("caller's");
    CString** pp = nullptr;
    {
        CType t(static_cast<CString**>(nullptr));
        t.LinkPtr(&pp);
        t.NewType();
        *pp = &mine;  // the caller puts its own string in the buffer
        CString text;
        t.TypeToString(text);
        EXPECT_EQ(text, "caller's");
        t.NewType();      // releases the created string, not the caller's
        t.m_nType = 15;   // a changed kind does not change how it is released
    }
    EXPECT_EQ(mine, "caller's");
}
