#include <gtest/gtest.h>

#include <string>

#include "platform/Strings.h"

TEST(CStringTest, FindFollowsThePlatformRules) {
    CString s("abcabc");
    EXPECT_EQ(s.Find('c'), 2);
    EXPECT_EQ(s.Find('c', 3), 5);
    EXPECT_EQ(s.Find("bc", 2), 4);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.Find("", 6), 6);   // an empty text is found at the start, even at the end
    EXPECT_EQ(s.Find("", 7), -1);  // but not beyond it
    EXPECT_EQ(s.Find('a', 6), -1);
    EXPECT_EQ(s.ReverseFind('b'), 4);
}

TEST(CStringTest, OutOfRangeCountsAndIndicesAreClamped) {
    CString s("hello");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Mid(3, 99), "lo");
    EXPECT_EQ(s.Mid(-2, 2), "he");
    EXPECT_EQ(s.Right(-2), "");
    s.Insert(100, '!');  // at the end
    s.Delete(50, 1);     // nothing
    EXPECT_EQ(s, "hello!");
    s.Delete(4, 50);  // to the end
    EXPECT_EQ(s, "hell");
}

TEST(CStringTest, ReplaceIsLeftToRightAndNonOverlapping) {
    struct Case { const char* text; const char* from; const char* to; const char* result; int count; };
    const Case cases[] = {
        {"aaaa", "aa", "b", "bb", 2}, {"aaa", "aa", "b", "ba", 1},  {"Widget.h", "Widget", "Gadget", "Gadget.h", 1},
        {"abc", "", "x", "abc", 0},   {"abab", "ab", "", "", 2},   {"xax", "a", "aa", "xaax", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count);
        EXPECT_EQ(s, c.result);
    }
}

TEST(CStringTest, SetAtZeroKeepsTheCountedLength) {
    CString s("abcd");
    s.SetAt(1, '\0');
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_STREQ(static_cast<LPCTSTR>(s), "a");
    s.SetAt(9, 'x');  // out of range: nothing changes
    EXPECT_EQ(s.GetAt(2), 'c');
    EXPECT_EQ(s.GetAt(4), '\0');
}

TEST(CStringTest, FormatMatchesPrintfButPointersAreUpperHex) {
    CString s;
    s.Format("%5.2f|%-4s|%x|%lu|%lld|%c|%%|%*d", 3.14159, "ab", 255u, 42ul, -5ll, 'z', 3, 7);
    EXPECT_EQ(s, " 3.14|ab  |ff|42|-5|z|%|  7");
    s.Format("%p", reinterpret_cast<void*>(0xABCDEFu));
    EXPECT_EQ(s, CString(std::string(2 * sizeof(void*) - 6, '0').c_str()) + "ABCDEF");
    const char* volatile none = nullptr;
    s.Format("%s", none);
    EXPECT_EQ(s, "");
    std::string big(5000, 'q');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
}
