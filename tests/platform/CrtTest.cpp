#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>

#include "platform/Crt.h"

namespace {

struct Split {
    std::string drive, dir, fname, ext;
};

Split SplitPath(const char* path) {
    char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    crt::_splitpath(path, drive, dir, fname, ext);
    return {drive, dir, fname, ext};
}

TEST(CrtTest, SplitPathTable) {
    struct Case { const char* path; Split parts; };
    const Case cases[] = {
        {"C:\\a\\b\\file.txt", {"C:", "\\a\\b\\", "file", ".txt"}},
        {"file", {"", "", "file", ""}},
        {".hidden", {"", "", "", ".hidden"}},
        {"a.b.c", {"", "", "a.b", ".c"}},
        {"\\\\server\\x", {"", "\\\\server\\", "x", ""}},
        {"file.", {"", "", "file", "."}},
        {"..", {"", "", ".", "."}},
        {"dir.d\\name", {"", "dir.d\\", "name", ""}},  // a dot in the directory is no extension
        {"a/b\\c.h", {"", "a/b\\", "c", ".h"}},
        {"C:file.c", {"C:", "", "file", ".c"}},
        {"dir\\", {"", "dir\\", "", ""}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Split got = SplitPath(c.path);
        EXPECT_EQ(got.drive, c.parts.drive);
        EXPECT_EQ(got.dir, c.parts.dir);
        EXPECT_EQ(got.fname, c.parts.fname);
        EXPECT_EQ(got.ext, c.parts.ext);
    }
}

TEST(CrtTest, SplitPathSkipsNullOutputsAndCutsLongParts) {
    char fname[_MAX_FNAME];
    crt::_splitpath("C:\\x\\name.ext", nullptr, nullptr, fname, nullptr);
    EXPECT_STREQ(fname, "name");

    // Each output is guarded on both sides; a cut part fills its buffer exactly.
    std::string longDir = "\\" + std::string(400, 'd') + "\\";
    std::string path = "C:" + longDir + std::string(300, 'f') + "." + std::string(300, 'e');
    struct Guarded { char before[8]; char buffer[_MAX_DIR]; char after[8]; } dir, name, ext;
    for (Guarded* g : {&dir, &name, &ext}) std::memset(g, '#', sizeof *g);
    crt::_splitpath(path.c_str(), nullptr, dir.buffer, name.buffer, ext.buffer);
    EXPECT_EQ(std::string(dir.buffer), longDir.substr(0, _MAX_DIR - 1));
    EXPECT_EQ(std::string(name.buffer), std::string(_MAX_FNAME - 1, 'f'));
    EXPECT_EQ(std::string(ext.buffer), "." + std::string(_MAX_EXT - 2, 'e'));
    for (Guarded* g : {&dir, &name, &ext}) EXPECT_EQ(std::string(g->after, 8), std::string(8, '#'));
}

TEST(CrtTest, BoundedSplitReportsWhatDoesNotFit) {
    char drive[3], dir[8], fname[8], ext[8];
    EXPECT_EQ(crt::_splitpath_s("C:\\ab\\cd.e", drive, 3, dir, 8, fname, 8, ext, 8), 0);
    EXPECT_STREQ(dir, "\\ab\\");
    EXPECT_EQ(crt::_splitpath_s("C:\\ab\\toolongname.e", drive, 3, dir, 8, fname, 8, ext, 8), ERANGE);
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(fname, "");
    EXPECT_EQ(crt::_splitpath_s("a.b", nullptr, 0, nullptr, 0, fname, 8, nullptr, 0), 0);
    EXPECT_STREQ(fname, "a");
    EXPECT_EQ(crt::_splitpath_s("a.b", nullptr, 0, nullptr, 0, fname, 0, nullptr, 0), EINVAL);
    EXPECT_EQ(crt::_splitpath_s(nullptr, drive, 3, dir, 8, fname, 8, ext, 8), EINVAL);
}

TEST(CrtTest, MakePathJoinsAsTheRuntimeDoes) {
    struct Case { const char *drive, *dir, *fname, *ext, *path; };
    const Case cases[] = {
        {"C:", "\\a\\b\\", "file", ".txt", "C:\\a\\b\\file.txt"},
        {"D", "\\a", "file", "txt", "D:\\a\\file.txt"},
        {nullptr, "a/", "f", nullptr, "a/f"},
        {"", "", "f", "", "f"},
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        char path[_MAX_PATH];
        crt::_makepath(path, c.drive, c.dir, c.fname, c.ext);
        EXPECT_STREQ(path, c.path);
        // Splitting and joining again is the identity.
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT], again[_MAX_PATH];
        crt::_splitpath(path, drive, dir, fname, ext);
        crt::_makepath(again, drive, dir, fname, ext);
        EXPECT_STREQ(again, path);
    }
    std::string longName(400, 'n');
    char path[_MAX_PATH];
    crt::_makepath(path, "C:", "\\", longName.c_str(), "x");
    EXPECT_EQ(std::strlen(path), size_t(_MAX_PATH - 1));
    char small[8];
    EXPECT_EQ(crt::_makepath_s(small, sizeof small, "C:", "\\dir", "f", "c"), ERANGE);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(crt::_makepath_s(small, sizeof small, nullptr, "\\d", "f", "c"), 0);
    EXPECT_STREQ(small, "\\d\\f.c");
}

TEST(CrtTest, RandIsTheOriginalChainPerThread) {
    crt::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) EXPECT_EQ(crt::rand(), value);

    crt::srand(12345);
    uint32_t state = 12345;
    for (int i = 0; i < 1000; ++i) {
        state = state * 214013u + 2531011u;
        ASSERT_EQ(crt::rand(), int((state >> 16) & CRT_RAND_MAX));
    }
    // A fresh thread starts from seed 1, whatever this thread did.
    int first = 0;
    std::thread([&] { first = crt::rand(); }).join();
    EXPECT_EQ(first, 41);
}

std::string Oracle(uint32_t magnitude, bool negative, int radix) {
    char buffer[40];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, radix).ptr;
    return (negative ? "-" : "") + std::string(buffer, end);
}

TEST(CrtTest, IntegerToTextMatchesAnOracleInEveryRadix) {
    std::mt19937 random(3);
    const int fixed[] = {0, 1, -1, 9, 10, 35, 36, -36, INT_MAX, INT_MIN, 1000000, -1000000};
    for (int radix = 2; radix <= 36; ++radix) {
        for (int i = 0; i < 200; ++i) {
            int value = i < 12 ? fixed[i] : static_cast<int>(random());
            SCOPED_TRACE(std::to_string(value) + " radix " + std::to_string(radix));
            bool negative = radix == 10 && value < 0;
            uint32_t bits = static_cast<uint32_t>(value);
            char buffer[33];
            EXPECT_EQ(crt::_itoa(value, buffer, radix), buffer);
            EXPECT_EQ(buffer, Oracle(negative ? 0u - bits : bits, negative, radix));
            EXPECT_EQ(crt::_ltoa(value, buffer, radix), Oracle(negative ? 0u - bits : bits, negative, radix));
            EXPECT_EQ(crt::_ultoa(bits, buffer, radix), Oracle(bits, false, radix));
        }
    }
    char buffer[33] = "untouched";
    EXPECT_STREQ(crt::_itoa(5, buffer, 1), "");
    EXPECT_STREQ(crt::_itoa(5, buffer, 37), "");
    EXPECT_STREQ(crt::_itoa(INT_MIN, buffer, 2), ("1" + std::string(31, '0')).c_str());
    EXPECT_EQ(crt::_itoa_s(-123, buffer, 5, 10), 0);
    EXPECT_STREQ(buffer, "-123");
    EXPECT_EQ(crt::_itoa_s(-123, buffer, 4, 10), ERANGE);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(crt::_itoa_s(1, buffer, 4, 40), EINVAL);
}

TEST(CrtTest, FloatToLongTruncatesAndSaturates) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { double value; LONG result; };
    const Case cases[] = {
        {2.9, 2}, {-2.9, -2}, {0.5, 0}, {-0.5, 0}, {2147483647.9, INT32_MAX}, {-2147483648.9, INT32_MIN},
        {3e9, INT32_MAX}, {-3e9, INT32_MIN}, {inf, INT32_MAX}, {-inf, INT32_MIN}, {nan, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(crt::_ftol(c.value), c.result);
    }
}

TEST(CrtTest, CaseFunctionsFoldAsciiOnly) {
    char text[] = "Mixed_Case-42\xC4";
    EXPECT_STREQ(crt::_strupr(text), "MIXED_CASE-42\xC4");
    EXPECT_STREQ(crt::_strlwr(text), "mixed_case-42\xC4");
    EXPECT_EQ(crt::_strupr(nullptr), nullptr);
    EXPECT_EQ(crt::_stricmp("Hello", "hELLO"), 0);
    EXPECT_LT(crt::_stricmp("_", "A"), 0);  // folded to lower case, '_' sorts before 'a'
    EXPECT_LT(crt::_stricmp("abc", "ABCD"), 0);
    EXPECT_GT(crt::_stricmp("\xC4", "a"), 0);
    EXPECT_EQ(crt::_strnicmp("abcX", "ABCy", 3), 0);
    EXPECT_NE(crt::_strnicmp("abcX", "ABCy", 4), 0);
    EXPECT_EQ(crt::_stricmp(nullptr, "a"), _NLSCMPERROR);
}

}  // namespace
