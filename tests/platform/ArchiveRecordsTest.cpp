// What an archive writes for strings, counts and objects, byte for byte as
// the original writes them, and how loading refuses records that do not fit.
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/Archive.h"
#include "platform/mfc/MemFile.h"

namespace {

// Schema 2, as a class that changed its layout once would have.
class CPin : public CObject {
    DECLARE_SERIAL(CPin)
public:
    LONG m_nValue = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_nValue;
        else
            ar >> m_nValue;
    }
};
IMPLEMENT_SERIAL(CPin, CObject, 2)

// Loads schemas 1 and 2: schema 1 stored a WORD, schema 2 a LONG.
class CVersionedPin : public CObject {
    DECLARE_SERIAL(CVersionedPin)
public:
    LONG m_nValue = 0;
    UINT m_nSchemaSeen = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_nValue;
            return;
        }
        m_nSchemaSeen = ar.GetObjectSchema();
        if (m_nSchemaSeen == 1) {
            WORD w;
            ar >> w;
            m_nValue = w;
        } else {
            ar >> m_nValue;
        }
    }
};
IMPLEMENT_SERIAL(CVersionedPin, CObject, VERSIONABLE_SCHEMA | 2)

template <class Store>
std::string StoredBytes(Store store) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        store(ar);
        ar.Close();
    }
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// Runs load over an archive of the bytes; the CArchiveException cause it
// threw, or -1.
template <class Load>
int LoadCause(const std::string& bytes, Load load) {
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    try {
        load(ar);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// A class record as the original writes one: 0xFFFF, schema, name length, name.
std::string NewClass(WORD wSchema, const std::string& name) {
    return Bytes({0xFF, 0xFF, wSchema & 0xFF, wSchema >> 8, static_cast<int>(name.size()), 0}) + name;
}

}  // namespace

TEST(ArchiveRecordsTest, StringLengthsTakeOneThreeOrSevenBytes) {
    const struct {
        size_t length;
        std::string prefix;
    } cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0x10000, Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        CString text(std::string(c.length, 'a').c_str());
        std::string bytes = StoredBytes([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);
        CString back;
        EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> back; }), -1);
        EXPECT_EQ(back.GetLength(), static_cast<int>(c.length));
    }

    // A wide string from the original: 0xFF 0xFFFE, the length, UTF-16.
    CString wide;
    EXPECT_EQ(LoadCause(Bytes({0xFF, 0xFE, 0xFF, 0x02, 'h', 0, 0xE9, 0}), [&](CArchive& ar) { ar >> wide; }), -1);
    EXPECT_EQ(wide, "h\xC3\xA9");
    // A length beyond the file's end reads what is there, then fails.
    EXPECT_EQ(LoadCause(Bytes({0x05, 'a', 'b'}), [&](CArchive& ar) { ar >> wide; }), CArchiveException::endOfFile);
}

TEST(ArchiveRecordsTest, CountsTakeAWordOrAnEscapedDword) {
    std::string small = StoredBytes([](CArchive& ar) { ar.WriteCount(0xFFFE); });
    EXPECT_EQ(small, Bytes({0xFE, 0xFF}));
    std::string large = StoredBytes([](CArchive& ar) { ar.WriteCount(0xFFFF); });
    EXPECT_EQ(large, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    DWORD_PTR count = 0;
    EXPECT_EQ(LoadCause(large, [&](CArchive& ar) { count = ar.ReadCount(); }), -1);
    EXPECT_EQ(count, 0xFFFFu);
}

TEST(ArchiveRecordsTest, ObjectsAreClassRecordsThenReferencesByIndex) {
    CPin first, second;
    first.m_nValue = 5;
    second.m_nValue = 6;
    std::string bytes =
        StoredBytes([&](CArchive& ar) { ar << static_cast<CObject*>(nullptr) << &first << &second << &first; });
    std::string expected = Bytes({0x00, 0x00}) +                        // null
                           NewClass(2, "CPin") + Bytes({5, 0, 0, 0}) +  // class 1, object 2
                           Bytes({0x01, 0x80}) + Bytes({6, 0, 0, 0}) +  // class 1 again, object 3
                           Bytes({0x02, 0x00});                         // object 2 again
    EXPECT_EQ(bytes, expected);

    CObject* pNull = &first;
    CPin* pFirst = nullptr;
    CPin* pSecond = nullptr;
    CPin* pAgain = nullptr;
    EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> pNull >> pFirst >> pSecond >> pAgain; }), -1);
    EXPECT_EQ(pNull, nullptr);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pFirst->m_nValue, 5);
    EXPECT_EQ(pSecond->m_nValue, 6);
    EXPECT_EQ(pAgain, pFirst);  // one object, loaded once
    delete pFirst;
    delete pSecond;
}

TEST(ArchiveRecordsTest, LoadingRefusesRecordsThatDoNotFit) {
    const std::string pinData = Bytes({7, 0, 0, 0});
    const struct {
        const char* name;
        std::string bytes;
        int cause;
    } cases[] = {
        {"a class nobody registered", NewClass(1, "CNoSuchClass") + pinData, CArchiveException::badClass},
        {"another schema of a fixed-schema class", NewClass(1, "CPin") + pinData, CArchiveException::badSchema},
        {"a class reference before any class", Bytes({0x01, 0x80}) + pinData, CArchiveException::badIndex},
        {"an object reference beyond the index", Bytes({0x05, 0x00}), CArchiveException::badIndex},
        // As on the original: a name that cannot be read names no class.
        {"a class name cut short", Bytes({0xFF, 0xFF, 0x02, 0x00, 0x09, 0x00, 'C'}), CArchiveException::badClass},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPin* pPin = nullptr;
        EXPECT_EQ(LoadCause(c.bytes, [&](CArchive& ar) { ar >> pPin; }), c.cause);
        EXPECT_EQ(pPin, nullptr);
    }

    // A registered class, but not the one asked for.
    CPin pin;
    std::string pinBytes = StoredBytes([&](CArchive& ar) { ar << &pin; });
    CVersionedPin* pWrong = nullptr;
    EXPECT_EQ(LoadCause(pinBytes, [&](CArchive& ar) { ar >> pWrong; }), CArchiveException::badClass);
    EXPECT_EQ(pWrong, nullptr);
}

TEST(ArchiveRecordsTest, VersionableClassesLoadOlderSchemasAndSeeWhichOne) {
    std::string old = NewClass(1, "CVersionedPin") + Bytes({0x34, 0x12});
    std::string current = NewClass(2, "CVersionedPin") + Bytes({0x78, 0x56, 0x34, 0x12});
    const struct {
        const char* name;
        std::string bytes;
        LONG value;
        UINT schema;
    } cases[] = {
        {"schema 1", old, 0x1234, 1},
        {"schema 2", current, 0x12345678, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CVersionedPin* pPin = nullptr;
        EXPECT_EQ(LoadCause(c.bytes, [&](CArchive& ar) { ar >> pPin; }), -1);
        ASSERT_NE(pPin, nullptr);
        EXPECT_EQ(pPin->m_nValue, c.value);
        EXPECT_EQ(pPin->m_nSchemaSeen, c.schema);
        delete pPin;
    }
    // Stored, the schema goes out without the versionable flag.
    CVersionedPin pin;
    std::string bytes = StoredBytes([&](CArchive& ar) { ar << &pin; });
    EXPECT_EQ(bytes.substr(0, 4), Bytes({0xFF, 0xFF, 0x02, 0x00}));
}
