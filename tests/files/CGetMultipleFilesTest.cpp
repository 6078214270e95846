#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/CGetMultipleFiles.h"
#include "support/TempDir.h"

namespace {

using CGetMultipleFilesTest = TempDirTest;

TEST_F(CGetMultipleFilesTest, HandsOutTextsAndRewritesEveryFileInTextMode) {
    WriteFile("src/Widget.h", "class Widget;\r\n");
    WriteFile("src/readme.txt", "read\r\nme\r\n");
    CString names[] = {".h", ".cpp", "readme.txt"};
    CString* texts[3] = {};
    CString** contents[] = {&texts[0], &texts[1], &texts[2]};
    {
        CGetMultipleFiles files(names, contents, 3, "C:\\src\\", "Widget");
        ASSERT_TRUE(texts[0] && texts[1] && texts[2]);
        EXPECT_EQ(*texts[0], "class Widget;\n");
        EXPECT_EQ(*texts[1], "");  // Widget.cpp is missing
        EXPECT_EQ(*texts[2], "read\nme\n");
        EXPECT_FALSE(Exists("src/Widget.cpp"));

        *texts[0] += "int x;\n";
        files.SaveAllFiles();
        EXPECT_EQ(ReadFile("src/Widget.h"), "class Widget;\r\nint x;\r\n");
        // Rewritten whether changed or not: an outside edit is overwritten at close.
        WriteFile("src/readme.txt", "changed outside");
    }
    EXPECT_EQ(ReadFile("src/Widget.cpp"), "");
    EXPECT_TRUE(Exists("src/Widget.cpp"));
    EXPECT_EQ(ReadFile("src/readme.txt"), "read\r\nme\r\n");
}

TEST_F(CGetMultipleFilesTest, CloseTwiceAndReopenAfterClosing) {
    WriteFile("a.txt", "a");
    CString names[] = {"a.txt"};
    CString* text = nullptr;
    CString** contents[] = {&text};
    CGetMultipleFiles files(names, contents, 1, "C:\\", "");
    *text = "first";
    files.CloseAllFiles();
    EXPECT_EQ(files.m_pFiles, nullptr);
    files.CloseAllFiles();
    EXPECT_EQ(ReadFile("a.txt"), "first");

    files.OpenAllFiles(names, contents, 1);  // a new set
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "first");
    *text = "second";
    files.SaveAllFiles();
    EXPECT_EQ(ReadFile("a.txt"), "second");

    // A file in a missing directory: an empty text, and nothing written anywhere.
    CString lost[] = {"no/such/dir.txt"};
    files.OpenAllFiles(lost, contents, 1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "");
    files.CloseAllFiles();
    EXPECT_FALSE(Exists("no"));
}

}  // namespace
