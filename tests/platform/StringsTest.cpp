#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/atl/Strings.h"

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

// Format's result, through a call the compiler does not check, as host
// code written for the original runtime is not checked.
static CString Formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}

TEST(CStringTest, FormatTakesTheOriginalRuntimesSizePrefixesAndStopsAtAConversionItDoesNotKnow) {
    const struct {
        std::function<CString()> format;
        const char* expected;
    } cases[] = {
        {[] { return Formatted("[%Id|%s]", INT_PTR{5}, "x"); }, "[5|x]"},  // I: pointer-sized
        {[] { return Formatted("%Id|%Iu|%Ix|%Ii", INT_PTR{-5}, size_t{1} << 40, size_t{0xABC}, INT_PTR{-1}); },
         "-5|1099511627776|abc|-1"},
        {[] { return Formatted("%I32d|%I32u|%I32X|%I32o|%I32i", -7, 4000000000u, 0xBEEFu, 8u, -1); },
         "-7|4000000000|BEEF|10|-1"},
        {[] {
             return Formatted("%I64d|%I64u|%08I64X|%-4I64o|%+I64i|%*I64x", INT64_MIN, UINT64_MAX, 0xABCull, 8ull, 1ll,
                              3, 0xFull);
         },
         "-9223372036854775808|18446744073709551615|00000ABC|10  |+1|  f"},
        {[] { return Formatted("%hd|%hu|%hx|%ld|%lu|%lld|%llX", 70000, 65537, 0x12345, -3l, 3ul, -4ll, 255ull); },
         "4464|1|2345|-3|3|-4|FF"},
        // An unknown conversion ends interpretation; nothing after it reads
        // an argument.
        {[] { return Formatted("%d %y %s %d", 1, "never read", 2); }, "1 %y %s %d"},
        {[] { return Formatted("a%I64s %d", "never read", 2); }, "a%I64s %d"},
        {[] { return Formatted("%s:%S %s", "w", L"wide", "x"); }, "w:%S %s"},
        {[] { return Formatted("%I128d %d", 1, 2); }, "%I128d %d"},
        {[] { return Formatted("%hld%d", 1, 2); }, "%hld%d"},
        {[] { return Formatted("%1$d %d", 1, 2); }, "%1$d %d"},
        {[] { return Formatted("100%"); }, "100%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.format(), c.expected);
    }
}

TEST(CStringTest, FormatMatchesPrintfButPointersAreUpperHex) {
    CString s;
    s.Format("%5.2f|%-4s|%x|%lu|%lld|%c|%%|%*d", 3.14159, "ab", 255u, 42ul, -5ll, 'z', 3, 7);
    EXPECT_EQ(s, " 3.14|ab  |ff|42|-5|z|%|  7");
    s.Format("%p", reinterpret_cast<void*>(0xABCDEFu));
    EXPECT_EQ(s, CString(std::string(2 * sizeof(void*) - 6, '0').c_str()) + "ABCDEF");
    const char* volatile none = nullptr;
    s.Format("%s|%8s|%-7s|", none, none, none);
    EXPECT_EQ(s, "(null)|  (null)|(null) |");
    std::string big(5000, 'q');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
}
