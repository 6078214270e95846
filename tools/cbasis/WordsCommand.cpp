// words: the words of a text, as the library's parser reads them.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "Command.h"
#include "LibraryPaths.h"
#include "Wording.h"
#include "platform/kernel/Errors.h"
#include "platform/mfc/Files.h"
#include "text/CParse.h"

namespace cbasis {
namespace {

int RunWords(const Args& args);

const Command kWords("words", "words FILE", "print the words of a text, one per line",
                     "Reads FILE and prints its words in order, one per line, as the library's\n"
                     "text parser reads them: runs of ASCII letters, digits, '_', '\\' and ':'.\n"
                     "So C:\\Dir\\my_file and CMyClass::Member are single words; every other\n"
                     "byte (blanks, punctuation, bytes 128-255) separates words.",
                     {}, RunWords);

int RunWords(const Args& args) {
    const auto& operands = args.operands;
    if (operands.empty()) return UsageError(kWords, "missing FILE");
    if (operands.size() > 1) return UsageError(kWords, "unexpected argument '" + operands[1] + "'");
    const std::string& path = operands[0];
    CString file;
    std::string reason;
    if (!ToLibrary(path, true, file, reason)) return Failure(kWords, path, reason);
    // Through the platform, which opens only regular files and never waits
    // on a FIFO or a device.
    CFile in;
    CFileException cause;
    if (!in.Open(file, CFile::modeRead | CFile::shareDenyNone, &cause))
        return Failure(kWords, path, OpenReason(file, static_cast<DWORD>(cause.m_lOsError)));
    std::string text;
    try {
        // Read to the end, whatever the size says: the files of /proc read
        // as 0 bytes long and hold text.
        const size_t most = static_cast<size_t>(std::numeric_limits<int>::max());
        text.reserve(std::min<size_t>(in.GetLength(), most));
        std::string block(64 * 1024, '\0');
        for (UINT got; (got = in.Read(block.data(), static_cast<UINT>(block.size()))) > 0;) {
            if (text.size() + got >= most) return Failure(kWords, path, "too large (2 GiB at most)");
            text.append(block.data(), got);
        }
    } catch (CFileException* e) {
        reason = Reason(static_cast<DWORD>(e->m_lOsError));
        e->Delete();
        return Failure(kWords, path, reason);
    }

    CParse parse{CString(std::move(text))};
    CString word;
    while (parse.GetNextWord(word)) {
        std::fwrite(static_cast<LPCTSTR>(word), 1, static_cast<size_t>(word.GetLength()), stdout);
        std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0) return Failure(kWords, "standard output", std::strerror(errno));
    return kOk;
}

}  // namespace
}  // namespace cbasis
