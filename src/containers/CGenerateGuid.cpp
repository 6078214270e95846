#include "containers/CGenerateGuid.h"

#include "platform/ole/Guid.h"

namespace {

// Writes value as that many upper-case hexadecimal digits, zero-padded;
// returns the end.
char* Hex(char* out, uint64_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = kDigits[value & 0xF];
    return out + digits;
}

}  // namespace

// The text the original makes with "%08lX-%04X-%04x-%02X%02X-%02X..." (the
// fields, then the last eight bytes in memory order), '-' replaced by '_'
// and made upper case, written digit by digit: every list and log makes one.
CGenerateGuid::CGenerateGuid(CString& result) {
    GUID guid{};
    CoCreateGuid(&guid);  // on failure the zero GUID stays, by contract
    char text[36];
    char* p = Hex(text, guid.Data1, 8);
    *p++ = '_';
    p = Hex(p, guid.Data2, 4);
    *p++ = '_';
    p = Hex(p, guid.Data3, 4);
    *p++ = '_';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) *p++ = '_';
        p = Hex(p, guid.Data4[i], 2);
    }
    result = CString(text, static_cast<int>(sizeof text));
}
