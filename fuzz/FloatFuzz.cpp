// The two-decimal conversions: any text reads as a non-negative value and
// leaves only digits, points and inner blanks; any float writes a
// two-decimal text that reads back as its hundredths.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "files/CUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    uint32_t bits = in.Word();
    float value;
    std::memcpy(&value, &bits, sizeof value);

    CString written;
    CUtils::float_to_ascii(value, written);
    const std::string& w = written.str();
    size_t point = w.find('.');
    FUZZ_CHECK(point != std::string::npos && point + 1 < w.size());
    FUZZ_CHECK(w.find_first_not_of("-0123456789.") == std::string::npos);
    FUZZ_CHECK(w.find('-', 1) == std::string::npos);
    float back = -1;
    CString reread = written;
    FUZZ_CHECK(CUtils::ascii_to_float(reread, back) == 1);
    FUZZ_CHECK(back >= 0 && std::isfinite(back));
    if (std::isfinite(value) && std::fabs(value) < 1e7f) {
        // Truncated hundredths, read back: within a hundredth of |value|.
        FUZZ_CHECK(std::fabs(back - std::fabs(value)) <= 0.01f + std::fabs(value) * 1e-6f);
    }
    if (std::isfinite(value) && std::fabs(value) < 1e5f) {
        // Where a float holds every hundredth, what is read back writes the
        // same text again: no hundredth is lost on the way.
        CString rewritten;
        CUtils::float_to_ascii(back, rewritten);
        FUZZ_CHECK(rewritten.str() == (w[0] == '-' ? w.substr(1) : w));
    }

    CString text(in.Rest());
    float f = -1;
    FUZZ_CHECK(CUtils::ascii_to_float(text, f) == 1);
    FUZZ_CHECK(f >= 0 && std::isfinite(f));
    const std::string& t = text.str();
    FUZZ_CHECK(t.find_first_not_of("0123456789. ") == std::string::npos);
    FUZZ_CHECK(t.empty() || (t.front() != ' ' && t.back() != ' '));
    float again = -1;
    CString cleaned = text;
    CUtils::ascii_to_float(cleaned, again);
    FUZZ_CHECK(cleaned.str() == t && again == f);  // cleaning twice changes nothing
    return 0;
}
