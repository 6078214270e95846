#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <string>
#include <thread>

#include "platform/mfc/Time.h"

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

TEST(CTimeTest, PartsAreLocalTimeAndOutOfRangeFieldsNormalise) {
    CTime t(2026, 12, 4, 21, 31, 31);
    struct tm oracle = MakeTm(2026, 12, 4, 21, 31, 31, 0);
    oracle.tm_isdst = -1;
    EXPECT_EQ(t.GetTime(), std::mktime(&oracle));
    EXPECT_EQ(t.GetDayOfWeek(), 6);  // a Friday; Sunday is 1
    EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2026-12-04 21:31:31");
    std::string longFormat, longText;
    for (int i = 0; i < 100; ++i) longFormat += "%Y ", longText += "2026 ";
    EXPECT_EQ(t.Format(longFormat.c_str()), longText.c_str());

    EXPECT_EQ(CTime(2026, 13, 1, 12, 0, 0), CTime(2027, 1, 1, 12, 0, 0));
    EXPECT_EQ(CTime(2026, 3, 0, 12, 0, 0), CTime(2026, 2, 28, 12, 0, 0));
    CTimeSpan span = CTime(2020, 3, 1, 12, 3, 4) - CTime(2020, 2, 28, 10, 0, 0);  // across a leap day
    EXPECT_EQ(span.GetTotalSeconds(), 2 * 86400 + 7384);
    EXPECT_EQ(span.GetHours(), 2);
}

TEST(CrtTimeTest, AsctimeMatchesStrftimeAndRefusesFieldsOutOfRange) {
    // The same text strftime gives in the C locale, for times of every month.
    for (time_t when = 0; when < 400LL * 86400 * 365; when += 86400 * 37 + 3671) {
        struct tm local;
        ASSERT_NE(localtime_r(&when, &local), nullptr);
        char oracle[64];
        std::strftime(oracle, sizeof oracle, "%a %b %d %H:%M:%S %Y\n", &local);
        ASSERT_STREQ(crt::asctime(&local), oracle) << when;
        ASSERT_STREQ(crt::ctime(&when), oracle) << when;
    }
    // Month 12, weekday 7, hour 24, year 10000: no text would fit the fixed form.
    for (const struct tm& t : {MakeTm(2026, 13, 1, 0, 0, 0, 0), MakeTm(2026, 1, 1, 0, 0, 0, 7),
                               MakeTm(2026, 1, 1, 24, 0, 0, 0), MakeTm(10000, 1, 1, 0, 0, 0, 0)}) {
        SCOPED_TRACE(testing::Message() << t.tm_year << "/" << t.tm_mon << " " << t.tm_hour << "h day " << t.tm_wday);
        errno = 0;
        EXPECT_EQ(crt::asctime(&t), nullptr);
        EXPECT_EQ(errno, EINVAL);
    }
    EXPECT_EQ(crt::asctime(nullptr), nullptr);
}

TEST(CrtTimeTest, LocaltimeBufferBelongsToItsThread) {
    time_t first = 86400 * 100, second = first + 86400 * 365;
    struct tm* mine = crt::localtime(&first);
    struct tm* theirs = nullptr;
    std::thread([&] { theirs = crt::localtime(&second); }).join();
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(mine->tm_year, 70);  // the other thread left this one alone
}

}  // namespace
