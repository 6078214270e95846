// CArchive over real files and memory files, and CMemFile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/Archive.h"
#include "platform/mfc/MemFile.h"
#include "support/TempDir.h"

namespace {

using ArchiveTest = TempDirTest;

// The cause of the CArchiveException the call throws; -1 when none is thrown.
template <class Call>
int ArchiveCause(Call call) {
    try {
        call();
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

// A memory file that counts the writes reaching it, and can fail them.
class CCountingFile : public CMemFile {
public:
    std::vector<UINT> writes;
    bool fail = false;
    void Write(const void* lpBuf, UINT nCount) override {
        if (fail) throw new CFileException(CFileException::diskFull);
        writes.push_back(nCount);
        CMemFile::Write(lpBuf, nCount);
    }
};

}  // namespace

TEST_F(ArchiveTest, ValuesRoundTripThroughARealFileInLittleEndianOrder) {
    {
        CFile file("C:\\values.bin", CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << BYTE(0xAB) << WORD(0x1234) << DWORD(0x89ABCDEF) << LONG(-2) << 7 << short(-3) << 'z' << 1.5f << 0.25;
        ar.Write("xyz", 3);
        ar.Close();
    }
    std::string bytes = ReadFile("values.bin");
    EXPECT_EQ(bytes.substr(0, 11), std::string("\xAB\x34\x12\xEF\xCD\xAB\x89\xFE\xFF\xFF\xFF", 11));
    EXPECT_EQ(bytes.size(), 1 + 2 + 4 + 4 + 4 + 2 + 1 + 4 + 8 + 3u);

    CFile file("C:\\values.bin", CFile::modeRead);  // a fresh file and archive read it back
    CArchive ar(&file, CArchive::load);
    BYTE by;
    WORD w;
    DWORD dw;
    LONG l;
    int i;
    short s;
    char c;
    float f;
    double d;
    ar >> by >> w >> dw >> l >> i >> s >> c >> f >> d;
    EXPECT_EQ(by, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(dw, 0x89ABCDEFu);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(s, -3);
    EXPECT_EQ(c, 'z');
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 0.25);
    char tail[8] = {};
    EXPECT_EQ(ar.Read(tail, sizeof tail), 3u);  // fewer only at the end
    EXPECT_STREQ(tail, "xyz");
}

TEST_F(ArchiveTest, ReadingPastTheEndThrowsEndOfFileAndLeavesTheValue) {
    CMemFile file;
    file.Write("\x01\x02\x03", 3);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    WORD w = 0;
    ar >> w;
    DWORD dw = 0xDEADBEEF;
    EXPECT_EQ(ArchiveCause([&] { ar >> dw; }), CArchiveException::endOfFile);
    EXPECT_EQ(dw, 0xDEADBEEFu);  // never half-written
    BYTE by = 9;
    EXPECT_EQ(ArchiveCause([&] { ar >> by; }), CArchiveException::endOfFile);
    EXPECT_EQ(by, 9);
}

TEST_F(ArchiveTest, WrongDirectionsAndClosedArchivesAreRefused) {
    CMemFile file;
    CArchive storing(&file, CArchive::store);
    BYTE by;
    EXPECT_EQ(ArchiveCause([&] { storing >> by; }), CArchiveException::writeOnly);
    storing.Close();
    EXPECT_EQ(ArchiveCause([&] { storing << BYTE(1); }), CArchiveException::genericException);
    CArchive loading(&file, CArchive::load);
    EXPECT_EQ(ArchiveCause([&] { loading << BYTE(1); }), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause([&] { loading.Write("a", 1); }), CArchiveException::readOnly);
    CArchive none(nullptr, CArchive::store);
    EXPECT_EQ(ArchiveCause([&] { none << 1; }), CArchiveException::genericException);
}

TEST_F(ArchiveTest, StoringGoesToTheFileOneBufferfulAtATime) {
    CCountingFile file;
    BYTE buffer[4096];
    {
        CArchive ar(&file, CArchive::store, sizeof buffer, buffer);
        for (int i = 0; i < 10000; ++i) ar << static_cast<BYTE>(i);
        ar.Write(std::string(5000, 'b').data(), 5000);  // larger than the buffer: written straight through
    }  // the destructor flushes
    EXPECT_EQ(file.writes, (std::vector<UINT>{4096, 4096, 1808, 5000}));
    EXPECT_EQ(file.GetLength(), 15000u);
    CCountingFile own;
    { CArchive ar(&own, CArchive::store); for (int i = 0; i < 100000; ++i) ar << BYTE(1); }
    EXPECT_EQ(own.writes, (std::vector<UINT>{65536, 34464}));  // its own buffer is 64 KiB

    CCountingFile unflushed;
    { CArchive ar(&unflushed, CArchive::store | CArchive::bNoFlushOnDelete); ar << 1; }
    EXPECT_TRUE(unflushed.writes.empty());

    CCountingFile failing;
    failing.fail = true;
    { CArchive ar(&failing, CArchive::store); ar << 1; }  // the destructor swallows the failure
    CArchive ar(&failing, CArchive::store);
    ar << 1;
    try {
        ar.Close();
        ADD_FAILURE() << "Close reported nothing";
    } catch (CFileException* e) {  // the file's own exception passes through
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        e->Delete();
    }
}

TEST_F(ArchiveTest, ClosingALoadingArchiveLeavesTheFileAtItsPosition) {
    CMemFile file;
    file.Write("abcdef", 6);
    file.SeekToBegin();
    BYTE tiny[16];  // too small to be used: the archive takes its own buffer
    CArchive ar(&file, CArchive::load, sizeof tiny, tiny);
    BYTE by;
    ar >> by >> by;
    ar.Close();
    EXPECT_EQ(file.GetPosition(), 2u);
}

TEST(MemFileTest, GrowsLinearlyAndAttachedBuffersStayTheCallers) {
    CMemFile file(16);
    for (int i = 0; i < 1 << 20; ++i) file.Write("x", 1);  // quadratic growth would take minutes
    EXPECT_EQ(file.GetLength(), 1u << 20);
    file.Seek(2, CFile::end);
    file.Write("y", 1);
    char gap[3];
    file.Seek(1 << 20, CFile::begin);
    EXPECT_EQ(file.Read(gap, sizeof gap), 3u);
    EXPECT_EQ(std::string(gap, 3), std::string("\0\0y", 3));  // the gap is zeros
    try {
        file.Seek(-1, CFile::begin);
        ADD_FAILURE() << "sought before the start";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }

    BYTE fixed[4] = {};
    CMemFile attached(fixed, sizeof fixed);
    attached.SetLength(0);
    attached.Write("abcd", 4);
    try {
        attached.Write("e", 1);
        ADD_FAILURE() << "wrote past a fixed buffer";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        e->Delete();
    }
    EXPECT_EQ(std::string(reinterpret_cast<char*>(fixed), 4), "abcd");

    BYTE growable[2] = {'a', 'b'};
    CMemFile moving(growable, sizeof growable, 8);
    moving.SeekToEnd();
    moving.Write("cd", 2);  // outgrows the caller's buffer: moves to its own
    BYTE* own = moving.Detach();
    EXPECT_NE(own, growable);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(own), 4), "abcd");
    std::free(own);
}
