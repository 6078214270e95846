// CUtils: text, number and date helpers.
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "files/CUtils.h"
#include "platform/crt/Crt.h"
#include "platform/mfc/Time.h"

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The value of a run of decimal digits, saturating at INT_MAX; "" is 0.
int DigitsValue(const std::string& digits) {
    long long value = 0;
    for (char ch : digits) {
        value = value * 10 + (ch - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

// The value ascii_to_float reads from the two-decimal text of hundredths
// (not negative).
float ReadBack(long long hundredths) {
    return static_cast<float>(static_cast<double>(hundredths % 100) * 0.01 + static_cast<double>(hundredths / 100));
}

// The whole number of hundredths of f: its exact value times 100 truncated
// toward zero, saturated at the 32-bit range (NaN is 0). One exception: when
// the text of the truncated number does not read back as f and that of the
// next one does, the next one, since that is the decimal f was rounded
// from (0.42f is 0.41999998..., which would otherwise be written ".41" and
// lose a hundredth on every write and read). Where both read back as f
// (f too large to hold every hundredth), truncation stays.
int Hundredths(float f) {
    if (std::isnan(f)) return 0;
    const bool negative = std::signbit(f);
    const float magnitude = std::fabs(f);
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    const double product = static_cast<double>(magnitude) * 100.0;  // exact: 24 bits times 7
    long long hundredths = limit;
    if (product < static_cast<double>(limit)) {
        hundredths = static_cast<long long>(product);
        if (ReadBack(hundredths) != magnitude && ReadBack(hundredths + 1) == magnitude)
            hundredths = std::min(hundredths + 1, limit);
    }
    return static_cast<int>(negative ? -hundredths : hundredths);
}

}  // namespace

CString CUtils::Timestamp() {
    time_t now = crt::time(nullptr);
    const char* text = crt::asctime(crt::localtime(&now));
    CString stamp;
    stamp.Format("%s", text ? text : "");
    return stamp;
}

// A time the system cannot break down is treated like one before the epoch.
int CUtils::SplitDate(CTime t, int& month, int& day, int& year) {
    struct tm local;
    if (t.GetTime() < 0 || !t.GetLocalTm(&local)) {
        month = day = year = 0;
        return !m_bSuccess;
    }
    month = local.tm_mon + 1;
    day = local.tm_mday;
    year = local.tm_year + 1900;
    return m_bSuccess;
}

bool CUtils::DateIsToday(CTime t) {
    int month, day, year, todayMonth, todayDay, todayYear;
    SplitDate(t, month, day, year);
    SplitDate(CTime::GetCurrentTime(), todayMonth, todayDay, todayYear);
    return month == todayMonth && day == todayDay && year == todayYear;
}

void CUtils::RemoveCarriageReturn(CString& str) {
    RemoveChar('\r', str);
    RemoveChar('\n', str);
}

// Every occurrence at once, so a space (left as it is) or a zero character
// (an embedded one, within the length) cannot loop.
void CUtils::RemoveChar(unsigned char ch, CString& str) {
    if (ch != ' ') str.Replace(static_cast<char>(ch), ' ');
}

void CUtils::TerminateAtSpace(CString& str) {
    int space = str.Find(' ');
    if (space >= 0) str.SetAt(space, '\0');
}

// Deleting the first occurrence at i can only make a new one that starts
// after i - sub's length, since none started before i; so the search goes on
// from there, with the same result as searching from the start every time.
void CUtils::ExtractAll(CString& str, CString sub) {
    const std::string& pattern = sub.str();
    if (pattern.empty()) return;
    std::string text = str.str();
    size_t at = text.find(pattern);
    if (at == std::string::npos) return;
    while (at != std::string::npos) {
        text.erase(at, pattern.size());
        at = text.find(pattern, at >= pattern.size() ? at - pattern.size() + 1 : 0);
    }
    str = CString(text);
}


void CUtils::float_to_ascii(float f, CString& str) {
    char digits[34];
    crt::_itoa(Hundredths(f), digits, 10);
    str = digits;
    // The point goes before the last two digits of the digit string, after
    // any sign: -0.05 is "-.5".
    int sign = str.GetAt(0) == '-' ? 1 : 0;
    str.Insert(std::max(sign, str.GetLength() - 2), '.');
}

int CUtils::ascii_to_float(CString& str, float& f) {
    std::string text = str.str();
    for (char& ch : text)
        if (!IsDigit(ch) && ch != '.') ch = ' ';
    size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
    str = CString(text);

    std::string whole, hundredths;
    bool pastPoint = false;
    for (char ch : text) {
        if (ch == '.')
            pastPoint = true;
        else if (IsDigit(ch))
            (pastPoint ? hundredths : whole) += ch;
    }
    f = static_cast<float>(DigitsValue(hundredths) * 0.01 + DigitsValue(whole));
    return 1;
}
