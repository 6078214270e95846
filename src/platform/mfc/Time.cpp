// CTime and CTimeSpan over the reentrant libc calls.
#include "platform/mfc/Time.h"

#include <string>

namespace {


// strftime into a string of any length. A space is appended to the format
// so that a result of 0 can only mean "buffer too small".
CString FormatTm(const struct tm* ptm, LPCTSTR pszFormat) {
    if (!ptm || !pszFormat) return CString();
    std::string format = std::string(pszFormat) + ' ';
    std::string out(128, '\0');
    for (;;) {
        size_t n = ::strftime(out.data(), out.size(), format.c_str(), ptm);
        if (n > 0) return CString(out.data(), static_cast<int>(n - 1));
        if (out.size() >= (1u << 20)) return CString();
        out.resize(out.size() * 2);
    }
}

// One field of the local time plus an offset; 0 when t cannot be converted.
int LocalPart(time_t t, int tm::*field, int offset) {
    struct tm atm;
    return ::localtime_r(&t, &atm) ? atm.*field + offset : 0;
}

}  // namespace

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(((time_t{lDays} * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
    struct tm atm = {};
    atm.tm_year = nYear - 1900;
    atm.tm_mon = nMonth - 1;
    atm.tm_mday = nDay;
    atm.tm_hour = nHour;
    atm.tm_min = nMin;
    atm.tm_sec = nSec;
    atm.tm_isdst = nDST;
    m_time = ::mktime(&atm);
}

CTime CTime::GetCurrentTime() { return CTime(::time(nullptr)); }

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
    if (!ptm) return crt::localtime(&m_time);
    return ::localtime_r(&m_time, ptm);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
    if (!ptm) return crt::gmtime(&m_time);
    return ::gmtime_r(&m_time, ptm);
}

int CTime::GetYear() const { return LocalPart(m_time, &tm::tm_year, 1900); }
int CTime::GetMonth() const { return LocalPart(m_time, &tm::tm_mon, 1); }
int CTime::GetDay() const { return LocalPart(m_time, &tm::tm_mday, 0); }
int CTime::GetHour() const { return LocalPart(m_time, &tm::tm_hour, 0); }
int CTime::GetMinute() const { return LocalPart(m_time, &tm::tm_min, 0); }
int CTime::GetSecond() const { return LocalPart(m_time, &tm::tm_sec, 0); }
int CTime::GetDayOfWeek() const { return LocalPart(m_time, &tm::tm_wday, 1); }

CString CTime::Format(LPCTSTR pszFormat) const {
    struct tm atm;
    return FormatTm(::localtime_r(&m_time, &atm), pszFormat);
}

CString CTime::FormatGmt(LPCTSTR pszFormat) const {
    struct tm atm;
    return FormatTm(::gmtime_r(&m_time, &atm), pszFormat);
}
