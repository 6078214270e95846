#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/CodePage.h"

TEST(CodePageTest, ValidUtf8PassesAndOtherBytesAreWindows1252) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"plain ASCII\r\n", "plain ASCII\r\n"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},  // 2, 3 and 4 bytes
        {"caf\xE9", "caf\xC3\xA9"},
        {"\x80\x9F\xA0\xFF", "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF"},          // € Ÿ no-break space ÿ
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined: the C1 controls
        {"\xC0\x80", "\xC3\x80\xE2\x82\xAC"},                                  // an overlong zero
        {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},                      // an overlong '/'
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                      // a surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},      // beyond U+10FFFF
        {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},                                  // cut short at the end
        {"\xC3(", "\xC3\x83("},                                                // a lead byte without its follower
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.in));
        EXPECT_EQ(PlatformToUtf8(c.in), c.out);
        EXPECT_EQ(PlatformToUtf8(c.out), c.out) << "converted text is valid and passes unchanged";
    }
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
}
