// The compiled resource format read from bytes: well-formed blobs, and
// damaged ones refused without reading past their end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel/ResourceFormat.h"

namespace {

using platform::res::ParseResources;
using platform::res::ResourceRecord;

// Builds records the way a resource compiler lays them out.
class Blob {
public:
    // type/name: a number when text is empty.
    Blob& Add(WORD typeNumber, const std::u16string& typeText, WORD nameNumber, const std::u16string& nameText,
              WORD language, const std::string& data) {
        std::vector<BYTE> header;
        AppendId(header, typeNumber, typeText);
        AppendId(header, nameNumber, nameText);
        while ((header.size() + 8) % 4) header.push_back(0);
        for (int i = 0; i < 16; ++i) header.push_back(i == 6 ? language & 0xFF : i == 7 ? language >> 8 : 0);
        Dword(data.size());
        Dword(header.size() + 8);
        bytes.insert(bytes.end(), header.begin(), header.end());
        bytes.insert(bytes.end(), data.begin(), data.end());
        while (bytes.size() % 4) bytes.push_back(0);
        return *this;
    }
    Blob& Marker() { return Add(0, u"", 0, u"", 0, ""); }

    std::vector<BYTE> bytes;

private:
    static void AppendId(std::vector<BYTE>& out, WORD number, const std::u16string& text) {
        if (text.empty()) {
            out.insert(out.end(), {0xFF, 0xFF, static_cast<BYTE>(number), static_cast<BYTE>(number >> 8)});
            return;
        }
        for (char16_t c : text) out.insert(out.end(), {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8)});
        out.insert(out.end(), {0, 0});
    }
    void Dword(size_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(v >> 8 * i));
    }
};

void PutDword(std::vector<BYTE>& bytes, size_t at, DWORD v) {
    for (size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<BYTE>(v >> 8 * i);
}

TEST(ResourceFormatTest, ReadsNumberedAndNamedRecordsAfterTheMarker) {
    Blob blob;
    blob.Marker().Add(6, u"", 1, u"", 0x0409, "abc").Add(0, u"MyType", 0, u"N\u00e4me\U0001F600", 0, "");
    std::vector<ResourceRecord> records;
    std::string why;
    ASSERT_TRUE(ParseResources(blob.bytes.data(), blob.bytes.size(), records, &why)) << why;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_FALSE(records[0].type.isText);
    EXPECT_EQ(records[0].type.number, 6);
    EXPECT_EQ(records[0].name.number, 1);
    EXPECT_EQ(records[0].language, 0x0409);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(records[0].data), records[0].size), "abc");
    EXPECT_EQ(records[1].type.text, "MyType");
    EXPECT_EQ(records[1].name.text, "N\u00e4me\U0001F600");
    EXPECT_EQ(records[1].size, 0u);
}

TEST(ResourceFormatTest, LastRecordMayLackItsPadding) {
    Blob blob;
    blob.Add(10, u"", 1, u"", 0, "x");
    blob.bytes.resize(blob.bytes.size() - 3);
    std::vector<ResourceRecord> records;
    EXPECT_TRUE(ParseResources(blob.bytes.data(), blob.bytes.size(), records, nullptr));
    EXPECT_EQ(records.size(), 1u);
}

TEST(ResourceFormatTest, LoneSurrogatesReadAsReplacementCharacters) {
    const BYTE units[] = {0x00, 0xD8, 0x41, 0x00, 0x00, 0xDC};  // high, 'A', low
    EXPECT_EQ(platform::res::Utf16ToUtf8(units, 3), "\uFFFDA\uFFFD");
}

TEST(ResourceFormatTest, RefusesDamagedRecords) {
    Blob good;
    good.Add(6, u"", 1, u"", 0, "abcd");
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<Case> cases;
    auto damaged = [&](const char* what, auto change) {
        std::vector<BYTE> bytes = good.bytes;
        change(bytes);
        cases.push_back({what, bytes});
    };
    damaged("header size below its own fields", [](auto& b) { PutDword(b, 4, 4); });
    damaged("header size too small for the ids", [](auto& b) { PutDword(b, 4, 12); });
    damaged("header size past the end", [](auto& b) { PutDword(b, 4, 0xFFFFFFF0u); });
    damaged("data size past the end", [](auto& b) { PutDword(b, 0, 5); });
    damaged("data size near the top of the range", [](auto& b) { PutDword(b, 0, 0xFFFFFFFFu); });
    damaged("shorter than two sizes", [](auto& b) { b.resize(b.size() + 5, 0); });
    {
        // A name with no terminator within the header.
        Blob named;
        named.Add(6, u"", 0, u"AB", 0, "");
        std::vector<BYTE> bytes = named.bytes;
        PutDword(bytes, 4, 8 + 4 + 4);  // header ends inside the name
        cases.push_back({"unterminated name", bytes});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ResourceRecord> records;
        std::string why;
        EXPECT_FALSE(ParseResources(c.bytes.data(), c.bytes.size(), records, &why));
        EXPECT_NE(why.find("record at byte"), std::string::npos) << why;
    }
}

// Every cut of a valid blob either parses or is refused; none reads past
// the cut (the sanitizer builds check the reads).
TEST(ResourceFormatTest, EveryPrefixIsReadSafely) {
    Blob blob;
    blob.Marker().Add(0, u"TYPE", 0, u"NAME", 0, "0123456789").Add(9, u"", 128, u"", 0x409, "abcdefgh");
    for (size_t n = 0; n <= blob.bytes.size(); ++n) {
        std::vector<BYTE> prefix(blob.bytes.begin(), blob.bytes.begin() + static_cast<long>(n));
        std::vector<ResourceRecord> records;
        bool ok = ParseResources(prefix.data(), prefix.size(), records, nullptr);
        for (const ResourceRecord& r : records) EXPECT_LE(r.data + r.size, prefix.data() + prefix.size()) << n;
        if (n == blob.bytes.size()) {
            EXPECT_TRUE(ok);
        }
    }
}

}  // namespace
