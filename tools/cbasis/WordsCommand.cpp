#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "Command.h"
#include "text/CParse.h"

namespace cbasis {
namespace {

int RunWords(const Args& args);

const Command kWords("words", "words FILE", "print the words of a text, one per line",
                     "Reads FILE and prints its words in order, one per line, as the library's\n"
                     "text parser reads them: runs of ASCII letters, digits, '_', '\\' and ':'.\n"
                     "So C:\\Dir\\my_file and CMyClass::Member are single words; every other\n"
                     "byte (blanks, punctuation, bytes 128-255) separates words.",
                     RunWords);

int RunWords(const Args& args) {
    if (args.empty()) return UsageError(kWords, "missing FILE");
    if (args.size() > 1) return UsageError(kWords, "unexpected argument '" + args[1] + "'");
    const std::string& path = args[0];
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return Failure(kWords, "'" + path + "' is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure(kWords, "cannot read '" + path + "': " + std::strerror(errno));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Failure(kWords, "cannot read '" + path + "': " + std::strerror(errno));
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        return Failure(kWords, "'" + path + "' is too large (2 GiB at most)");

    CParse parse{CString(std::move(text))};
    CString word;
    while (parse.GetNextWord(word)) {
        std::fwrite(static_cast<LPCTSTR>(word), 1, static_cast<size_t>(word.GetLength()), stdout);
        std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0) return Failure(kWords, std::string("cannot write: ") + std::strerror(errno));
    return kOk;
}

}  // namespace
}  // namespace cbasis
