// Calendar time: CTime and CTimeSpan, and the C runtime's time functions.
//
// CTime holds a time_t (seconds since 1970-01-01 UTC, 64-bit here where the
// original's was 32-bit). Its broken-down parts are local time. The runtime
// functions live in namespace crt; like the original runtime, localtime,
// gmtime and asctime return pointers to storage of the calling thread that
// the next call on that thread overwrites.
#pragma once

#include <compare>
#include <ctime>

#include "platform/atl/Strings.h"
#include "platform/crt/CrtTime.h"

class PLATFORM_API CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(time_t time) : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    LONG GetDays() const { return static_cast<LONG>(m_timeSpan / 86400); }
    LONG GetTotalHours() const { return static_cast<LONG>(m_timeSpan / 3600); }
    int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
    LONG GetTotalMinutes() const { return static_cast<LONG>(m_timeSpan / 60); }
    int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
    time_t GetTotalSeconds() const { return m_timeSpan; }
    int GetSeconds() const { return static_cast<int>(m_timeSpan - GetTotalMinutes() * time_t{60}); }

    CTimeSpan operator+(CTimeSpan other) const { return m_timeSpan + other.m_timeSpan; }
    CTimeSpan operator-(CTimeSpan other) const { return m_timeSpan - other.m_timeSpan; }
    auto operator<=>(const CTimeSpan&) const = default;

private:
    time_t m_timeSpan = 0;
};

class PLATFORM_API CTime {
public:
    CTime() = default;
    CTime(time_t time) : m_time(time) {}
    // Local date and time; nDST -1 lets the system decide whether daylight
    // saving applies. Out-of-range fields are normalised as mktime does
    // (month 13 is January of the next year); a date the system cannot
    // represent gives the time value -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();

    time_t GetTime() const { return m_time; }

    // Broken-down local time (GMT for GetGmtTm). With ptm the result is stored
    // there and ptm is returned; without, the thread's shared buffer of
    // crt::localtime / crt::gmtime is used. Null when the time cannot be
    // converted.
    struct tm* GetLocalTm(struct tm* ptm = nullptr) const;
    struct tm* GetGmtTm(struct tm* ptm = nullptr) const;

    // Local-time parts; all give 0 for a time that cannot be converted.
    int GetYear() const;
    int GetMonth() const;      // 1..12
    int GetDay() const;        // 1..31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    // strftime of the local (or GMT) time, of any length.
    CString Format(LPCTSTR pszFormat) const;
    CString FormatGmt(LPCTSTR pszFormat) const;

    CTimeSpan operator-(CTime other) const { return m_time - other.m_time; }
    CTime operator+(CTimeSpan span) const { return m_time + span.GetTotalSeconds(); }
    CTime operator-(CTimeSpan span) const { return m_time - span.GetTotalSeconds(); }
    CTime& operator+=(CTimeSpan span) { m_time += span.GetTotalSeconds(); return *this; }
    CTime& operator-=(CTimeSpan span) { m_time -= span.GetTotalSeconds(); return *this; }
    auto operator<=>(const CTime&) const = default;

private:
    time_t m_time = 0;
};
