#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "platform/Time.h"

namespace {

struct tm MakeTm(int year, int mon, int mday, int hour, int min, int sec, int wday) {
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = mon - 1;
    t.tm_mday = mday;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    t.tm_wday = wday;
    return t;
}

TEST(CTimeTest, PartsAreLocalTime) {
    CTime t(2026, 12, 4, 21, 31, 31);
    struct tm oracle = MakeTm(2026, 12, 4, 21, 31, 31, 0);
    oracle.tm_isdst = -1;
    EXPECT_EQ(t.GetTime(), std::mktime(&oracle));
    EXPECT_EQ(t.GetYear(), 2026);
    EXPECT_EQ(t.GetMonth(), 12);
    EXPECT_EQ(t.GetDay(), 4);
    EXPECT_EQ(t.GetHour(), 21);
    EXPECT_EQ(t.GetMinute(), 31);
    EXPECT_EQ(t.GetSecond(), 31);
    EXPECT_EQ(t.GetDayOfWeek(), 6);  // a Friday; Sunday is 1
    EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2026-12-04 21:31:31");
    EXPECT_EQ(t.Format(""), "");

    std::string longFormat, longText;
    for (int i = 0; i < 100; ++i) longFormat += "%Y ", longText += "2026 ";
    EXPECT_EQ(t.Format(longFormat.c_str()), longText.c_str());

    struct tm parts;
    EXPECT_EQ(t.GetLocalTm(&parts), &parts);
    EXPECT_EQ(parts.tm_mday, 4);
}

TEST(CTimeTest, OutOfRangeFieldsAreNormalised) {
    EXPECT_EQ(CTime(2026, 13, 1, 12, 0, 0), CTime(2027, 1, 1, 12, 0, 0));
    EXPECT_EQ(CTime(2026, 3, 0, 12, 0, 0), CTime(2026, 2, 28, 12, 0, 0));
}

TEST(CTimeTest, SpansAndComparisons) {
    CTime start(2020, 2, 28, 10, 0, 0);
    CTime later = start + CTimeSpan(1, 2, 3, 4);
    CTimeSpan span = later - start;
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalHours(), 26);
    EXPECT_TRUE(start < later);
    EXPECT_TRUE(later - span == start);

    time_t before = std::time(nullptr);
    CTime now = CTime::GetCurrentTime();
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), std::time(nullptr));
}

TEST(CrtTimeTest, AsctimeHasTheFixedFormWithAZeroPaddedDay) {
    struct tm t = MakeTm(2026, 12, 4, 21, 31, 31, 3);
    EXPECT_STREQ(crt::asctime(&t), "Wed Dec 04 21:31:31 2026\n");
    t = MakeTm(1980, 1, 2, 2, 3, 55, 3);
    EXPECT_STREQ(crt::asctime(&t), "Wed Jan 02 02:03:55 1980\n");

    // The same text strftime gives in the C locale, for times of every month.
    for (time_t when = 0; when < 400LL * 86400 * 365; when += 86400 * 37 + 3671) {
        struct tm local;
        ASSERT_NE(localtime_r(&when, &local), nullptr);
        char oracle[64];
        std::strftime(oracle, sizeof oracle, "%a %b %d %H:%M:%S %Y\n", &local);
        ASSERT_STREQ(crt::asctime(&local), oracle) << when;
        ASSERT_STREQ(crt::ctime(&when), oracle) << when;
    }
}

TEST(CrtTimeTest, AsctimeRefusesFieldsOutOfRange) {
    struct Case { const char* what; struct tm t; };
    const Case cases[] = {
        {"month 12", MakeTm(2026, 13, 1, 0, 0, 0, 0)},   {"weekday 7", MakeTm(2026, 1, 1, 0, 0, 0, 7)},
        {"day 0", MakeTm(2026, 1, 0, 0, 0, 0, 0)},       {"hour 24", MakeTm(2026, 1, 1, 24, 0, 0, 0)},
        {"year 10000", MakeTm(10000, 1, 1, 0, 0, 0, 0)}, {"year -1", MakeTm(-1, 1, 1, 0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        errno = 0;
        EXPECT_EQ(crt::asctime(&c.t), nullptr);
        EXPECT_EQ(errno, EINVAL);
    }
    EXPECT_EQ(crt::asctime(nullptr), nullptr);
    EXPECT_EQ(crt::localtime(nullptr), nullptr);
}

TEST(CrtTimeTest, LocaltimeBufferBelongsToItsThread) {
    time_t first = 86400 * 100, second = first + 86400 * 365;
    struct tm* mine = crt::localtime(&first);
    int year = mine->tm_year;
    EXPECT_EQ(crt::localtime(&second), mine);  // the next call on a thread reuses the buffer
    struct tm* theirs = nullptr;
    int theirYear = 0;
    std::thread([&] {
        theirs = crt::localtime(&first);
        theirYear = theirs->tm_year;
    }).join();
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(theirYear, year);
    EXPECT_EQ(mine->tm_year, year + 1);  // the other thread left this one alone
}

}  // namespace
