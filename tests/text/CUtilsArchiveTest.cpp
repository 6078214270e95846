// CUtils archive helpers: byte blocks, string fields and window ID records,
// stored in a real file and read back by a second archive on a fresh CFile.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/CUtils.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/Wnd.h"
#include "support/TempDir.h"

namespace {

class CUtilsArchiveTest : public TempDirTest {
protected:
    // Stores with the function, returns the file's bytes.
    std::string Store(const std::function<void(CArchive&)>& store) {
        CFile file("C:\\data.bin", CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        store(ar);
        ar.Close();
        file.Close();
        return ReadFile("data.bin");
    }
    // Loads with the function from a fresh file object and archive.
    void Load(const std::function<void(CArchive&)>& load) {
        CFile file("C:\\data.bin", CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        load(ar);
    }
    // The cause of the archive exception the load throws; -1 for none.
    int LoadCause(const std::function<void(CArchive&)>& load) {
        try {
            Load(load);
        } catch (CArchiveException* e) {
            int cause = e->m_cause;
            e->Delete();
            return cause;
        }
        return -1;
    }

    CUtils m_utils;
};

}  // namespace

TEST_F(CUtilsArchiveTest, StringSetsTakeExactlyTheirFieldSizes) {
    CString a("a"), bcd("bcd"), empty;
    CString* strings[] = {&a, &bcd, &empty};
    unsigned int sizes[] = {4, 4, 2};
    unsigned char work[16];
    EXPECT_EQ(Store([&](CArchive& ar) { m_utils.ArchiveOutStrings(work, sizeof work, strings, 3, sizes, ar); }),
              std::string("\x61\0\0\0\x62\x63\x64\0\0\0", 10));

    CString x("old"), y("old"), z("old");
    CString* into[] = {&x, &y, &z};
    Load([&](CArchive& ar) { m_utils.ArchiveInStrings(work, sizeof work, into, 3, sizes, ar); });
    EXPECT_EQ(x, "a");
    EXPECT_EQ(y, "bcd");
    EXPECT_EQ(z, "");

    CString longer("abcdefgh");  // longer than its field: cut, with no zero
    CString* one[] = {&longer};
    unsigned int five[] = {5};
    EXPECT_EQ(Store([&](CArchive& ar) { m_utils.ArchiveOutStrings(work, sizeof work, one, 1, five, ar); }), "abcde");
    Load([&](CArchive& ar) { m_utils.ArchiveInStrings(work, sizeof work, into, 1, five, ar); });
    EXPECT_EQ(x, "abcde");
    // An empty set takes no bytes and leaves the strings alone.
    EXPECT_EQ(Store([&](CArchive& ar) { m_utils.ArchiveOutStrings(work, sizeof work, strings, 0, sizes, ar); }), "");
    Load([&](CArchive& ar) { m_utils.ArchiveInStrings(work, sizeof work, into, 0, sizes, ar); });
    EXPECT_EQ(x, "abcde");
}

TEST_F(CUtilsArchiveTest, FieldsLargerThanTheWorkBufferAreClampedAndStayInStep) {
    CString big("abcdefgh"), next("xy");
    CString* strings[] = {&big, &next};
    unsigned int sizes[] = {8, 3};
    unsigned char work[4];  // holds three characters and a zero
    EXPECT_EQ(Store([&](CArchive& ar) { m_utils.ArchiveOutStrings(work, sizeof work, strings, 2, sizes, ar); }),
              std::string("abc\0\0\0\0\0xy\0", 11));

    CString first, second;
    CString* into[] = {&first, &second};
    CString* skipped[] = {nullptr, &second};  // a null string's field is read and dropped
    Load([&](CArchive& ar) { m_utils.ArchiveInStrings(work, sizeof work, into, 2, sizes, ar); });
    EXPECT_EQ(first, "abc");
    EXPECT_EQ(second, "xy");
    second.Empty();
    Load([&](CArchive& ar) { m_utils.ArchiveInStrings(work, sizeof work, skipped, 2, sizes, ar); });
    EXPECT_EQ(second, "xy");

    EXPECT_EQ(Store([&](CArchive& ar) {
                  m_utils.ArchiveOutStrings(nullptr, 100, strings, 2, sizes, ar);  // no buffer: empty fields
                  m_utils.ArchiveOutStrings(work, sizeof work, strings, 2, nullptr, ar);
              }),
              std::string(11, '\0'));
}

TEST_F(CUtilsArchiveTest, WindowIdRecordsHoldTheRestoredRectangle) {
    const std::string expected("\x07\0\0\0\x0A\0\0\0\x14\0\0\0\x6E\0\0\0\xDC\0\0\0", 20);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(10, 20, 110, 220), &parent, 1));
    for (int show : {SW_SHOWNORMAL, SW_MAXIMIZE, SW_MINIMIZE}) {
        SCOPED_TRACE(show);
        child.ShowWindow(show);
        EXPECT_EQ(Store([&](CArchive& ar) { m_utils.ArchiveOutID(7, &child, ar); }), expected);
    }
    unsigned int id = 0;
    RECT rect{};
    Load([&](CArchive& ar) { m_utils.ArchiveInID(id, rect, ar); });
    EXPECT_EQ(id, 7u);
    EXPECT_EQ(CRect(rect), CRect(10, 20, 110, 220));

    EXPECT_EQ(Store([&](CArchive& ar) { m_utils.ArchiveOutID(9, nullptr, ar); }),
              std::string("\x09", 1) + std::string(19, '\0'));
}

TEST_F(CUtilsArchiveTest, ByteBlocksRoundTripAndEmptyCountsDoNothing) {
    unsigned char bytes[] = {0, 1, 0xFE, 0xFF};
    unsigned char* p = bytes;
    unsigned char* none = nullptr;
    EXPECT_EQ(Store([&](CArchive& ar) {
                  m_utils.ArchiveOutBytes(p, 0, ar);
                  m_utils.ArchiveOutBytes(p, -5, ar);
                  m_utils.ArchiveOutBytes(none, 4, ar);
                  m_utils.ArchiveOutBytes(p, 4, ar);
              }),
              std::string("\0\x01\xFE\xFF", 4));
    EXPECT_EQ(p, bytes);  // the caller's pointer stays

    unsigned char back[4] = {};
    unsigned char* q = back;
    Load([&](CArchive& ar) {
        m_utils.ArchiveInBytes(q, -1, ar);
        m_utils.ArchiveInBytes(q, 4, ar);
    });
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), 4), std::string("\0\x01\xFE\xFF", 4));
    EXPECT_EQ(q, back);
}

TEST_F(CUtilsArchiveTest, TruncatedArchivesEndWithEndOfFileAndNothingOverrun) {
    WriteFile("data.bin", std::string("\x07\0\0\0\x0A\0\0\0\x14\0", 10));
    unsigned int id = 0;
    RECT rect{1, 2, 3, 4};
    EXPECT_EQ(LoadCause([&](CArchive& ar) { m_utils.ArchiveInID(id, rect, ar); }), CArchiveException::endOfFile);
    EXPECT_EQ(CRect(rect), CRect(1, 2, 3, 4));  // a short rectangle is not taken

    unsigned char back[16];
    unsigned char* q = back;
    EXPECT_EQ(LoadCause([&](CArchive& ar) { m_utils.ArchiveInBytes(q, 16, ar); }), CArchiveException::endOfFile);

    CString s;
    CString* strings[] = {&s, &s};
    unsigned int sizes[] = {6, 6};
    unsigned char work[8];
    EXPECT_EQ(LoadCause([&](CArchive& ar) { m_utils.ArchiveInStrings(work, sizeof work, strings, 2, sizes, ar); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(s, "\x07");  // the first field was whole
}
