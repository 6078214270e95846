#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "files/CUtils.h"
#include "platform/mfc/Time.h"

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
        {12.3f, "12.30"},   {-0.05f, "-.5"},   {-12.345f, "-12.34"}, {0.29f, ".29"}, {0.42f, ".42"},
        {1e12f, "21474836.47"}, {-1e12f, "-21474836.48"},
        {std::numeric_limits<float>::quiet_NaN(), ".0"},
        {std::numeric_limits<float>::infinity(), "21474836.47"},
        // Truncation of the exact value times 100, as the text form has it,
        // except where the next hundredth is the decimal the float stands
        // for and the truncated one is not: 0.42f is 0.41999998...
        {-0.42f, "-.42"}, {1000000.125f, "1000000.12"}, {-1000000.125f, "-1000000.12"},
        {std::nextafter(0.42f, 0.0f), ".41"},  // just below 0.42f: no hundredth reads back as it
        {std::nextafter(12.34f, 13.0f), "12.34"}, {std::nextafter(12.35f, 0.0f), "12.34"},
        {16777216.0f, "16777216.00"}, {21474836.0f, "21474836.00"}, {21474838.0f, "21474836.47"},
        {-21474836.0f, "-21474836.00"}, {-21474838.0f, "-21474836.48"},
        {std::numeric_limits<float>::max(), "21474836.47"}, {-std::numeric_limits<float>::max(), "-21474836.48"},
        {std::numeric_limits<float>::denorm_min(), ".0"},
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
        {"-3.25", "3.25", 3.25f},   {"abc", "", 0.0f},
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

TEST(CUtilsTextTest, LargeAmountsReadAndWrittenBackKeepTheirText) {
    // Beyond 2^17 a float cannot hold every hundredth; these are amounts
    // whose float the truncated text reads back as.
    for (const char* amount : {"1000000.12", "131072.01", "4194304.50", "21474836.00"}) {
        SCOPED_TRACE(amount);
        CString text(amount);
        float value = -1;
        CUtils::ascii_to_float(text, value);
        CUtils::float_to_ascii(value, text);
        EXPECT_EQ(text.str(), amount);
    }
}

TEST(CUtilsTextTest, BlankingHelpersKeepTheLength) {
    CString s("line one\r\n");
    CUtils::RemoveCarriageReturn(s);
    EXPECT_EQ(s, "line one  ");
    CString t("a-b\xe9");
    CUtils::RemoveChar('-', t);
    CUtils::RemoveChar(0xe9, t);
    CUtils::RemoveChar(' ', t);  // a space: nothing to do, and it returns
    EXPECT_EQ(t, "a b ");
    t.SetAt(1, '\0');
    CUtils::RemoveChar(0, t);  // an embedded zero becomes a space
    EXPECT_EQ(t, "a b ");

    CString words("first second");
    CUtils::TerminateAtSpace(words);
    EXPECT_EQ(words.GetLength(), 12);
    EXPECT_STREQ(static_cast<LPCTSTR>(words), "first");
}

TEST(CUtilsTextTest, ExtractAllRemovesOccurrencesUntilNoneIsLeft) {
    const char* cases[][3] = {{"aabb", "ab", ""}, {"class CString", "class ", "CString"}, {"abc", "x", "abc"},
                              {"abc", "", "abc"}, {"aaa", "aa", "a"}, {"xabababy", "aba", "xbaby"}};
    for (auto& c : cases) {
        CString s(c[0]);
        CUtils::ExtractAll(s, c[1]);
        EXPECT_EQ(s, c[2]) << c[0] << " - " << c[1];
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

TEST(CUtilsTextTest, TimestampAndDates) {
    for (int attempt = 0; attempt < 3; ++attempt) {  // again if a second ticks over meanwhile
        time_t before = crt::time(nullptr);
        CString stamp = CUtils::Timestamp();
        if (crt::time(nullptr) != before) continue;
        EXPECT_EQ(stamp, crt::asctime(crt::localtime(&before)));
        EXPECT_EQ(stamp.Right(1), "\n");
        break;
    }

    CUtils utils;
    int month = -1, day = -1, year = -1;
    EXPECT_EQ(utils.SplitDate(CTime(2000, 2, 29, 12, 0, 0), month, day, year), 1);
    EXPECT_EQ(month * 10000 + day * 100 + year % 100, 22900);
    EXPECT_EQ(year, 2000);
    EXPECT_EQ(utils.SplitDate(CTime(-1), month, day, year), 0);
    EXPECT_EQ(month + day + year, 0);

    CTime now = CTime::GetCurrentTime();
    EXPECT_TRUE(utils.DateIsToday(now));
    CTime startOfDay(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 30);
    EXPECT_TRUE(utils.DateIsToday(startOfDay));
    EXPECT_FALSE(utils.DateIsToday(CTime(startOfDay.GetTime() - 60)));  // yesterday 23:59
    EXPECT_FALSE(utils.DateIsToday(CTime(-5)));
}
