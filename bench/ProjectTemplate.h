// The template tree the project benchmarks make projects from:
// root/Foo/FooModNN/FooUnitNN.cpp of about 8 KiB each (every tenth a header,
// FooUnitNN.h, with an include guard) in 40 directories of 50, and
// root/Foo/bin/FooDataNN.bin, 20 binaries of 100 KiB holding zero bytes;
// names and texts carry the keyword Foo. That is 2,020 files, 18 MB; scale
// multiplies the directories and the binaries.
#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace bench {

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// Makes the template below root and returns the number of files in it.
inline int MakeProjectTemplate(const std::filesystem::path& root, int scale) {
    namespace fs = std::filesystem;
    constexpr int kDirectories = 40, kFilesPerDirectory = 50, kBinaryFiles = 20;
    std::mt19937 random(7);
    int files = 0;
    for (int d = 0; d < kDirectories * scale; ++d) {
        fs::path dir = root / "Foo" / ("FooMod" + std::to_string(d));
        fs::create_directories(dir);
        for (int f = 0; f < kFilesPerDirectory; ++f, ++files) {
            std::string unit = "FooUnit" + std::to_string(f), text;
            for (int line = 0; text.size() < 8192; ++line)
                text += "// line " + std::to_string(line) + " of " + unit +
                        ": class CFooThing { int m_nFoo; }; plain words without the keyword here\n";
            if (f % 10 != 0) {
                WriteBytes(dir / (unit + ".cpp"), text);
                continue;
            }
            std::string guard = "AFX_FOOUNIT" + std::to_string(f) + "_H__0A1B2C3D_1111_2222_3333_444455556666__INCLUDED_";
            WriteBytes(dir / (unit + ".h"), "#if !defined(" + guard + ")\n#define " + guard + "\n" + text +
                                                "#endif // !defined(" + guard + ")\n");
        }
    }
    fs::create_directories(root / "Foo" / "bin");
    for (int b = 0; b < kBinaryFiles * scale; ++b, ++files) {
        std::string bytes(100 * 1024, '\0');
        for (size_t i = 0; i < bytes.size(); i += 3) bytes[i] = static_cast<char>(random());
        bytes.replace(5000, 3, "Foo");
        WriteBytes(root / "Foo" / "bin" / ("FooData" + std::to_string(b) + ".bin"), bytes);
    }
    return files;
}

}  // namespace bench
