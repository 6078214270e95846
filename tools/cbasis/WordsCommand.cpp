#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "Command.h"
#include "LibraryPaths.h"
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
                     RunWords);

int RunWords(const Args& args) {
    if (args.empty()) return UsageError(kWords, "missing FILE");
    if (args.size() > 1) return UsageError(kWords, "unexpected argument '" + args[1] + "'");
    const std::string& path = args[0];
    CString file;
    std::string error;
    if (!ToLibrary(path, true, file, error)) return Failure(kWords, error);
    // Through the platform, which opens only regular files and never waits
    // on a FIFO or a device.
    CFile in;
    CFileException cause;
    if (!in.Open(file, CFile::modeRead | CFile::shareDenyNone, &cause)) {
        std::string why = PlatformErrorText(static_cast<DWORD>(cause.m_lOsError)).str();
        DWORD attributes = GetFileAttributesA(file);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return Failure(kWords, "'" + path + "' is a directory");
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE))
            why = "not a regular file (a FIFO, socket or device)";
        return Failure(kWords, "cannot read '" + path + "': " + why);
    }
    std::string text;
    try {
        // Read to the end, whatever the size says: the files of /proc read
        // as 0 bytes long and hold text.
        const size_t most = static_cast<size_t>(std::numeric_limits<int>::max());
        text.reserve(std::min<size_t>(in.GetLength(), most));
        std::string block(64 * 1024, '\0');
        for (UINT got; (got = in.Read(block.data(), static_cast<UINT>(block.size()))) > 0;) {
            if (text.size() + got >= most) return Failure(kWords, "'" + path + "' is too large (2 GiB at most)");
            text.append(block.data(), got);
        }
    } catch (CFileException* e) {
        std::string why = PlatformErrorText(static_cast<DWORD>(e->m_lOsError)).str();
        e->Delete();
        return Failure(kWords, "cannot read '" + path + "': " + why);
    }

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
