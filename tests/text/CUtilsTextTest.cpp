#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <cctype>
#include <string>

#include "files/CUtils.h"
#include "platform/Time.h"

namespace {

std::string FloatText(float f) {
    CString s("old");
    CUtils::float_to_ascii(f, s);
    return s.str();
}

// Removing the first occurrence and searching from the start again, as
// literally as it can be written.
std::string ExtractAllByRestarting(std::string text, const std::string& sub) {
    for (size_t at = text.find(sub); at != std::string::npos; at = text.find(sub)) text.erase(at, sub.size());
    return text;
}

}  // namespace

TEST(CUtilsTextTest, FloatToAsciiWritesHundredthsTruncated) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {
        {12.345f, "12.34"}, {0.5f, ".50"},   {0.05f, ".5"},     {0.0f, ".0"},     {-1.5f, "-1.50"},
        {12.3f, "12.30"},   {1.0f, "1.00"},  {-0.05f, "-.5"},   {-0.5f, "-.50"},  {-12.345f, "-12.34"},
        {0.009f, ".0"},     {0.29f, ".29"},  {0.42f, ".42"},    {19.99f, "19.99"}, {1e-30f, ".0"},     {1e12f, "21474836.47"}, {-1e12f, "-21474836.48"},
        {std::numeric_limits<float>::quiet_NaN(), ".0"},
        {std::numeric_limits<float>::infinity(), "21474836.47"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatText(c.value), c.text);
    }
}

TEST(CUtilsTextTest, AsciiToFloatReadsHundredthsAndCleansTheText) {
    struct Case {
        const char* in;
        const char* cleaned;
        float value;
    } cases[] = {
        {"12.34", "12.34", 12.34f}, {".5", ".5", 0.05f},        {"1.50", "1.50", 1.5f},
        {"1.5", "1.5", 1.05f},      {"1.234", "1.234", 3.34f},  {"abc12.5x", "12.5", 12.05f},
        {"-3.25", "3.25", 3.25f},   {"", "", 0.0f},             {"abc", "", 0.0f},
        {"1.2.3", "1.2.3", 1.23f},  {" 1 2 . 5 ", "1 2 . 5", 12.05f}, {"\xb1" "7\xff", "7", 7.0f},
        {"99999999999999.99999999999", "99999999999999.99999999999", 2147483647.0f + 21474836.47f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        CString s(c.in);
        float f = -1;
        EXPECT_EQ(CUtils::ascii_to_float(s, f), 1);
        EXPECT_EQ(s, c.cleaned);
        EXPECT_FLOAT_EQ(f, c.value);
    }
    CString withZero("4x2");
    withZero.SetAt(1, '\0');
    float f = 0;
    CUtils::ascii_to_float(withZero, f);
    EXPECT_EQ(withZero, "4 2");
    EXPECT_FLOAT_EQ(f, 42.0f);
}

TEST(CUtilsTextTest, HundredthsSurviveWritingAndReading) {
    // Every amount up to 20000.00 is written with its own digits and reads
    // back to the same text, however its float lies against the decimal.
    for (int hundredths = 0; hundredths <= 2000000; hundredths += 3) {
        std::string expected = std::to_string(hundredths);
        expected.insert(expected.size() >= 2 ? expected.size() - 2 : 0, ".");
        float value = static_cast<float>(hundredths / 100.0);
        CString text;
        CUtils::float_to_ascii(value, text);
        ASSERT_EQ(text.str(), expected);
        float back = -1;
        CUtils::ascii_to_float(text, back);
        ASSERT_EQ(back, value) << expected;
        CUtils::float_to_ascii(-value, text);
        ASSERT_EQ(text.str(), hundredths ? "-" + expected : expected);
    }
}

TEST(CUtilsTextTest, BlankingHelpersKeepTheLength) {
    CString s("line one\r\n");
    CUtils::RemoveCarriageReturn(s);
    EXPECT_EQ(s, "line one  ");

    CString t("a-b-c");
    CUtils::RemoveChar('-', t);
    EXPECT_EQ(t, "a b c");
    CUtils::RemoveChar(' ', t);  // a space: nothing to do, and it returns
    EXPECT_EQ(t, "a b c");
    CString z("ab");
    z.SetAt(1, '\0');
    CUtils::RemoveChar(0, z);  // an embedded zero becomes a space
    EXPECT_EQ(z.GetLength(), 2);
    EXPECT_EQ(z, "a ");
    CString high("x\xe9y");
    CUtils::RemoveChar(0xe9, high);
    EXPECT_EQ(high, "x y");

    CString words("first second");
    CUtils::TerminateAtSpace(words);
    EXPECT_EQ(words.GetLength(), 12);
    EXPECT_STREQ(static_cast<LPCTSTR>(words), "first");
    CString one("single");
    CUtils::TerminateAtSpace(one);
    EXPECT_EQ(one, "single");
}

TEST(CUtilsTextTest, ExtractAllRemovesOccurrencesUntilNoneIsLeft) {
    struct Case {
        const char* text;
        const char* sub;
        const char* result;
    } cases[] = {
        {"aabb", "ab", ""},   {"class CString", "class ", "CString"}, {"abc", "x", "abc"},
        {"abc", "", "abc"},   {"", "a", ""},   {"aaaa", "aa", ""},   {"aaa", "aa", "a"},
        {"xabababy", "aba", "xbaby"}, {"abcabc", "abc", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " - " + c.sub);
        CString s(c.text);
        CUtils::ExtractAll(s, c.sub);
        EXPECT_EQ(s, c.result);
    }

    std::mt19937 rng(11);
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 30, 'a'), sub(1 + rng() % 3, 'a');
        for (char& c : text) c = "abc"[rng() % 3];
        for (char& c : sub) c = "ab"[rng() % 2];
        CString s(text);
        CUtils::ExtractAll(s, CString(sub));
        ASSERT_EQ(s.str(), ExtractAllByRestarting(text, sub)) << text << " - " << sub;
    }
}

TEST(CUtilsTextTest, TimestampIsTheAsctimeText) {
    CString stamp = CUtils::Timestamp();
    ASSERT_EQ(stamp.GetLength(), 25);
    const std::string form = "AAA AAA 00 00:00:00 0000\n";  // A letter, 0 digit, else itself
    for (size_t i = 0; i < form.size(); ++i) {
        char c = stamp.str()[i];
        bool fits = form[i] == 'A' ? std::isalpha(static_cast<unsigned char>(c)) != 0
                    : form[i] == '0' ? std::isdigit(static_cast<unsigned char>(c)) != 0
                                     : c == form[i];
        EXPECT_TRUE(fits) << stamp.str() << " at " << i;
    }
    CTime now = CTime::GetCurrentTime();
    CString year;
    year.Format("%d\n", now.GetYear());
    EXPECT_EQ(stamp.Right(5), year);
}

TEST(CUtilsTextTest, SplitDateAndToday) {
    CUtils utils;
    int month = -1, day = -1, year = -1;
    EXPECT_EQ(utils.SplitDate(CTime(2000, 2, 29, 12, 0, 0), month, day, year), 1);
    EXPECT_EQ(month, 2);
    EXPECT_EQ(day, 29);
    EXPECT_EQ(year, 2000);

    EXPECT_EQ(utils.SplitDate(CTime(-1), month, day, year), 0);
    EXPECT_EQ(month, 0);
    EXPECT_EQ(day, 0);
    EXPECT_EQ(year, 0);

    CTime now = CTime::GetCurrentTime();
    EXPECT_TRUE(utils.DateIsToday(now));
    CTime startOfDay(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 30);
    EXPECT_TRUE(utils.DateIsToday(startOfDay));
    EXPECT_FALSE(utils.DateIsToday(CTime(startOfDay.GetTime() - 60)));  // yesterday 23:59
    EXPECT_FALSE(utils.DateIsToday(CTime(-5)));
}
