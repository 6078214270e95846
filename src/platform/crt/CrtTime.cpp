// The runtime's time functions over the reentrant libc calls.
#include "platform/crt/CrtTime.h"

#include <cerrno>
#include <cstdio>

namespace {

thread_local struct tm t_tm;
thread_local char t_asctime[64];  // the form needs 26; the rest keeps snprintf quiet

}  // namespace

namespace crt {

time_t time(time_t* pTime) { return ::time(pTime); }

struct tm* localtime(const time_t* pTime) {
    return pTime ? ::localtime_r(pTime, &t_tm) : nullptr;
}

struct tm* gmtime(const time_t* pTime) {
    return pTime ? ::gmtime_r(pTime, &t_tm) : nullptr;
}

char* asctime(const struct tm* pTm) {
    static const char kDays[] = "SunMonTueWedThuFriSat";
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (!pTm || pTm->tm_wday < 0 || pTm->tm_wday > 6 || pTm->tm_mon < 0 || pTm->tm_mon > 11 ||
        pTm->tm_mday < 1 || pTm->tm_mday > 31 || pTm->tm_hour < 0 || pTm->tm_hour > 23 ||
        pTm->tm_min < 0 || pTm->tm_min > 59 || pTm->tm_sec < 0 || pTm->tm_sec > 61 ||
        pTm->tm_year < -1900 || pTm->tm_year > 9999 - 1900) {
        errno = EINVAL;
        return nullptr;
    }
    std::snprintf(t_asctime, sizeof t_asctime, "%.3s %.3s %02d %02d:%02d:%02d %04d\n", kDays + pTm->tm_wday * 3,
                  kMonths + pTm->tm_mon * 3, pTm->tm_mday, pTm->tm_hour, pTm->tm_min, pTm->tm_sec,
                  pTm->tm_year + 1900);
    return t_asctime;
}

char* ctime(const time_t* pTime) { return crt::asctime(crt::localtime(pTime)); }

}  // namespace crt
