#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/GetFileContents.h"
#include "support/TempDir.h"

namespace {

using GetFileContentsTest = TempDirTest;

std::vector<std::string> Lines(GetFileContents& reader) {
    std::vector<std::string> lines;
    CString line;
    reader.InitReadLine();
    while (reader.ReadNextLine(line)) lines.push_back(line.str());
    return lines;
}

TEST_F(GetFileContentsTest, MissingEmptyAndCreatedFiles) {
    GetFileContents missing("C:\\none.txt");
    EXPECT_EQ(missing.m_pBuffer, nullptr);
    EXPECT_EQ(missing.m_nSize, 0);
    EXPECT_EQ(missing.m_strFileName, "C:\\none.txt");
    EXPECT_FALSE(Exists("none.txt"));
    EXPECT_EQ(GetFileContents("C:\\").m_pBuffer, nullptr);  // a directory reads as missing

    WriteFile("empty.txt", "");
    GetFileContents empty("C:\\empty.txt");
    ASSERT_NE(empty.m_pBuffer, nullptr);
    EXPECT_EQ(empty.m_nSize, 1);
    EXPECT_EQ(empty.m_pBuffer[0], '\0');
    empty.DeleteContents();
    empty.DeleteContents();  // on an empty object: nothing to free
    EXPECT_EQ(empty.m_nSize, 0);

    EXPECT_EQ(GetFileContents("C:\\made.txt", true).m_nSize, 1);
    EXPECT_EQ(GetTextFileContents("C:\\made2.txt", true).m_nSize, 1);
    EXPECT_TRUE(Exists("made.txt") && Exists("made2.txt"));
    EXPECT_EQ(GetFileContents("C:\\no\\such\\file", true).m_pBuffer, nullptr);
}

TEST_F(GetFileContentsTest, FilesWhoseSizeReadsZeroAreReadToTheirEnd) {
    // /proc gives a size of 0 for files that hold text.
    for (bool text : {false, true}) {
        SCOPED_TRACE(text ? "text mode" : "binary mode");
        GetFileContents binary;
        GetTextFileContents textual;
        GetFileContents& reader = text ? textual : binary;
        reader.GetFile("\\proc\\self\\status");
        ASSERT_NE(reader.m_pBuffer, nullptr);
        std::string contents(reader.m_pBuffer);
        EXPECT_EQ(contents.rfind("Name:", 0), 0u) << contents;
        EXPECT_EQ(reader.m_nSize, static_cast<int>(contents.size()) + 1);
    }
}

TEST_F(GetFileContentsTest, LinesEndOnlyAtCrLf) {
    struct Case {
        const char* bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"one\r\ntwo\r\nthree", {"one", "two"}},
        {"\r\n\r\n", {"", ""}},
        {"a\nb\rc\r\n", {"a\nb\rc"}},
        {"no end", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        WriteFile("lines.txt", c.bytes);
        GetFileContents reader("C:\\lines.txt");
        EXPECT_EQ(Lines(reader), c.lines);
        CString untouched("kept");
        EXPECT_EQ(reader.ReadNextLine(untouched), 0);
        EXPECT_EQ(untouched, "kept");
        EXPECT_EQ(reader.m_nLineEnd, -1);
    }
}

TEST_F(GetFileContentsTest, BinaryKeepsCrLfAndTextModeTranslates) {
    WriteFile("x.txt", "x\r\ny\r\n");
    GetFileContents binary("C:\\x.txt");
    EXPECT_STREQ(binary.m_pBuffer, "x\r\ny\r\n");
    EXPECT_EQ(Lines(binary).size(), 2u);

    GetTextFileContents text("C:\\x.txt");
    EXPECT_STREQ(text.m_pBuffer, "x\ny\n");
    EXPECT_EQ(text.m_nSize, 7);  // the file's size plus 1, zero past what arrived
    EXPECT_TRUE(Lines(text).empty());
    CString lf("a\nb\n");
    text.SaveFileContents(lf);
    EXPECT_EQ(ReadFile("x.txt"), "a\r\nb\r\n");
}

TEST_F(GetFileContentsTest, SaveWritesExactlyTheTextAndCopiesAreDeep) {
    std::string bytes("bin\0ary\r\n\xff", 10);
    WriteFile("b.bin", "old contents");
    GetFileContents reader("C:\\b.bin");
    CString text(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(reader.SaveFileContents(text), 1);
    EXPECT_EQ(ReadFile("b.bin"), bytes);
    EXPECT_STREQ(reader.m_pBuffer, "old contents");  // saving leaves the buffer

    GetFileContents copy(reader), assigned;
    assigned = copy;
    EXPECT_NE(copy.m_pBuffer, reader.m_pBuffer);
    copy.DeleteContents();
    EXPECT_STREQ(assigned.m_pBuffer, "old contents");
    EXPECT_EQ(assigned.m_nSize, reader.m_nSize);

    GetFileContents nowhere("C:\\missing\\dir\\f");
    EXPECT_EQ(nowhere.SaveFileContents(text), 1);  // cannot be written: still 1
    EXPECT_FALSE(Exists("missing"));
}

}  // namespace
