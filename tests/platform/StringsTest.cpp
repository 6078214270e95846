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
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.ReverseFind('b'), 4);
    EXPECT_EQ(s.ReverseFind('x'), -1);
}

TEST(CStringTest, LeftMidRightClampCounts) {
    CString s("hello");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(99), "hello");
    EXPECT_EQ(s.Mid(1, -3), "");
    EXPECT_EQ(s.Mid(3, 99), "lo");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.Mid(-2, 2), "he");
    EXPECT_EQ(s.Right(2), "lo");
    EXPECT_EQ(s.Right(-2), "");
}

TEST(CStringTest, ReplaceIsLeftToRightAndNonOverlapping) {
    struct Case { const char* text; const char* from; const char* to; const char* result; int count; };
    const Case cases[] = {
        {"aaaa", "aa", "b", "bb", 2},
        {"aaa", "aa", "b", "ba", 1},
        {"Widget.h", "Widget", "Gadget", "Gadget.h", 1},
        {"abc", "", "x", "abc", 0},
        {"abc", "B", "x", "abc", 0},  // case-sensitive
        {"abab", "ab", "", "", 2},
        {"xax", "a", "aa", "xaax", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count);
        EXPECT_EQ(s, c.result);
    }
    CString dashes("a-b-c");
    EXPECT_EQ(dashes.Replace('-', '_'), 2);
    EXPECT_EQ(dashes, "a_b_c");
}

TEST(CStringTest, SetAtZeroKeepsTheCountedLength) {
    CString s("abcd");
    s.SetAt(1, '\0');
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_STREQ(static_cast<LPCTSTR>(s), "a");
    s.SetAt(9, 'x');  // out of range: nothing changes
    s.SetAt(-1, 'x');
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_EQ(s.GetAt(2), 'c');
    EXPECT_EQ(s.GetAt(4), '\0');
}

TEST(CStringTest, EditingOperations) {
    CString s("  Mixed Case \t");
    s.TrimLeft();
    s.TrimRight();
    EXPECT_EQ(s, "Mixed Case");
    s.MakeUpper();
    EXPECT_EQ(s, "MIXED CASE");
    s.MakeReverse();
    EXPECT_EQ(s, "ESAC DEXIM");
    s.Insert(4, "--");
    EXPECT_EQ(s, "ESAC-- DEXIM");
    s.Insert(100, '!');
    EXPECT_EQ(s, "ESAC-- DEXIM!");
    s.Delete(4, 3);
    EXPECT_EQ(s, "ESACDEXIM!");
    s.Delete(8, 50);
    EXPECT_EQ(s, "ESACDEXI");
    s.Delete(50, 1);
    EXPECT_EQ(s, "ESACDEXI");
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    CString t("xxabcxx");
    t.TrimLeft('x');
    t.TrimRight("xc");
    EXPECT_EQ(t, "ab");
}

TEST(CStringTest, FormatMatchesPrintfButPointersAreUpperHex) {
    CString s;
    s.Format("%s%s%02d-%02d.LOG", "C:\\", "app", 3, 7);
    EXPECT_EQ(s, "C:\\app03-07.LOG");
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

TEST(CStringTest, BuffersAndComparisons) {
    CString s("abc");
    char* p = s.GetBuffer(10);
    std::snprintf(p, 11, "%s", "0123456");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "0123456");
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, "012");
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_EQ(CString("x") + "y" + 'z', "xyz");
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_EQ(CString("a.b,c").SpanExcluding(".,"), "a");
    EXPECT_EQ(CString("a.b,c").FindOneOf(",."), 1);
}
