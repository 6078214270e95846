#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "platform/crt/Crt.h"

namespace {

using Split = std::array<std::string, 4>;  // drive, directory, name, extension

Split SplitPath(const char* path) {
    char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    crt::_splitpath(path, drive, dir, fname, ext);
    return {drive, dir, fname, ext};
}

TEST(CrtTest, SplitPathTable) {
    struct Case { const char* path; Split parts; };
    const Case cases[] = {
        {"C:\\a\\b\\file.txt", {"C:", "\\a\\b\\", "file", ".txt"}}, {"file", {"", "", "file", ""}},
        {".hidden", {"", "", "", ".hidden"}},    {"a.b.c", {"", "", "a.b", ".c"}},  {"..", {"", "", ".", "."}},
        {"\\\\server\\x", {"", "\\\\server\\", "x", ""}}, {"C:file.c", {"C:", "", "file", ".c"}},
        {"dir.d\\name", {"", "dir.d\\", "name", ""}},  // a dot in the directory is no extension
        {"a/b\\c.h", {"", "a/b\\", "c", ".h"}},      {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SplitPath(c.path), c.parts);
    }
}

TEST(CrtTest, SplitPathCutsLongPartsWithinTheirBuffers) {
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

    char drive[3], small[8], fname[8];
    EXPECT_EQ(crt::_splitpath_s("C:\\ab\\toolongname.e", drive, 3, small, 8, fname, 8, nullptr, 0), ERANGE);
    EXPECT_STREQ(fname, "");
}

TEST(CrtTest, MakePathAddsSeparatorsAndStaysInItsBuffer) {
    char path[_MAX_PATH];
    crt::_makepath(path, "D", "\\a", std::string(400, 'n').c_str(), "x");
    EXPECT_EQ(std::string(path, 6), "D:\\a\\n");
    EXPECT_EQ(std::strlen(path), size_t(_MAX_PATH - 1));
    char small[8];
    EXPECT_EQ(crt::_makepath_s(small, sizeof small, "C:", "\\dir", "f", "c"), ERANGE);
    EXPECT_STREQ(small, "");
}

TEST(CrtTest, RandIsTheOriginalChainPerThread) {
    crt::srand(1);
    for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) EXPECT_EQ(crt::rand(), value);
    // A fresh thread starts from seed 1, whatever this thread did.
    int first = 0;
    std::thread([&] { first = crt::rand(); }).join();
    EXPECT_EQ(first, 41);
}

std::string Oracle(int value, int radix) {
    bool negative = radix == 10 && value < 0;  // only base 10 has a sign
    uint32_t bits = static_cast<uint32_t>(value);
    char buffer[40];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, negative ? 0u - bits : bits, radix).ptr;
    return (negative ? "-" : "") + std::string(buffer, end);
}

TEST(CrtTest, IntegerToTextMatchesAnOracleInEveryRadix) {
    std::mt19937 random(3);
    const int fixed[] = {0, 1, -1, 35, 36, INT_MAX, INT_MIN};
    for (int radix = 2; radix <= 36; ++radix) {
        for (int i = 0; i < 50; ++i) {
            int value = i < 7 ? fixed[i] : static_cast<int>(random());
            SCOPED_TRACE(std::to_string(value) + " radix " + std::to_string(radix));
            char buffer[33];
            EXPECT_EQ(crt::_itoa(value, buffer, radix), Oracle(value, radix));
        }
    }
    char buffer[33];
    EXPECT_STREQ(crt::_itoa(5, buffer, 37), "");
    EXPECT_EQ(crt::_itoa_s(-123, buffer, 4, 10), ERANGE);
    EXPECT_STREQ(buffer, "");
}

}  // namespace

TEST(CrtTest, StrtodReadsTheDecimalFormsOnly) {
    struct Case {
        const char* text;
        double value;
        size_t used;  // characters read
    } cases[] = {
        {"12.5", 12.5, 4},        {"  \t-0.25e2xyz", -25.0, 10}, {"+.5", 0.5, 3},     {"7.", 7.0, 2},
        {"1.5d2", 150.0, 5},      {"2D-1", 0.2, 4},              {"3E+02", 300.0, 5}, {"1e", 1.0, 1},
        {"4e+", 4.0, 1},          {"0x10", 0.0, 1},              {"inf", 0.0, 0},     {"-nan", 0.0, 0},
        {"infinity", 0.0, 0},     {".", 0.0, 0},                 {"-", 0.0, 0},       {"", 0.0, 0},
        {"1,5", 1.0, 1},          {"00012", 12.0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char* end = nullptr;
        EXPECT_DOUBLE_EQ(crt::strtod(c.text, &end), c.value);
        EXPECT_EQ(static_cast<size_t>(end - c.text), c.used);
        EXPECT_DOUBLE_EQ(crt::atof(c.text), c.value);
    }
    errno = 0;
    EXPECT_EQ(crt::strtod("-1e999", nullptr), -HUGE_VAL);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(crt::strtod("1e-999", nullptr), 0.0);
    EXPECT_EQ(errno, ERANGE);
    std::string digits(100000, '9');  // long texts are read whole
    EXPECT_EQ(crt::strtod(digits.c_str(), nullptr), HUGE_VAL);
}
