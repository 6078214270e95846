// Reading a whole number from a control's text as the dialog manager reads
// it: blanks, an optional sign ('-' only for signed types), decimal digits
// and blanks, nothing else, within the type's range.
#pragma once

#include <limits>

namespace user {

template <typename T>
bool ParseDecimal(const char* p, T* pValue) {
    if (!p) return false;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (negative && !std::numeric_limits<T>::is_signed) return false;
    if (*p < '0' || *p > '9') return false;
    const unsigned long long limit =
        static_cast<unsigned long long>(std::numeric_limits<T>::max()) + (negative ? 1 : 0);
    unsigned long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
        if (magnitude > limit) return false;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p) return false;
    // -(m - 1) - 1 reaches the type's minimum without overflowing.
    *pValue = negative ? static_cast<T>(-static_cast<long long>(magnitude - 1) - 1) : static_cast<T>(magnitude);
    return true;
}

}  // namespace user
