// Log commands: log (through CLogFile, or the memory-mapped log), prune.
//
// DIR is turned into the library's form like every path argument (an empty
// DIR means C:\, as for the library); the files named back are named in
// the form DIR was typed.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Command.h"
#include "LibraryPaths.h"
#include "Wording.h"
#include "files/CUtils.h"
#include "logging/CLogFile.h"
#include "logging/CMemoryMappedLog.h"
#include "platform/mfc/Files.h"

namespace cbasis {
namespace {

std::string Joined(const std::vector<std::string>& words, size_t from) {
    std::string text;
    for (size_t i = from; i < words.size(); ++i) text += (i > from ? " " : "") + words[i];
    return text;
}

// The log directory typed: its library form, and the form it is shown in.
struct LogDir {
    std::string typed;  // "C:\" for an empty DIR
    CString library;    // ends with a backslash
};

// kOk with dir set, or the failure said.
int ResolveLogDir(const Command& cmd, const std::string& typed, LogDir& dir) {
    dir.typed = typed.empty() ? "C:\\" : typed;
    std::string reason;
    if (!ToLibrary(dir.typed, true, dir.library, reason)) return Failure(cmd, dir.typed, reason);
    dir.library = WithoutTrailingSeparators(dir.library);
    CFileStatus status;
    CString itself = dir.library.GetLength() == 2 ? dir.library + "\\" : dir.library;
    if (!CFile::GetStatus(itself, status)) return Failure(cmd, dir.typed, MissingReason(itself));
    if (!(status.m_attribute & CFile::directory)) return Failure(cmd, dir.typed, "Not a directory");
    if (dir.library[dir.library.GetLength() - 1] != '\\') dir.library += "\\";
    return kOk;
}

// The library path of a file in dir, in the form dir was typed.
std::string Shown(const LogDir& dir, const CString& path) {
    return JoinTyped(dir.typed, path.Mid(path.ReverseFind('\\') + 1).str());
}

// ---- log --------------------------------------------------------------------

int RunLog(const Args& args);

const Command kLog("log", "log [--mapped] DIR NAME MESSAGE...", "append a line to a day log file",
                   "Appends MESSAGE (the words joined by spaces) to the log NAME's file of\n"
                   "the day in DIR, NAMEMM-DD.LOG, and prints that file's path. Each run\n"
                   "first stamps its start (\"NAME started job at <time>\"), then writes the\n"
                   "line; lines end with CR LF. NAME is a plain file name: no / \\ : * ? \" < > |.\n"
                   "  --mapped  write through the memory-mapped log: the same file, with\n"
                   "            each line stored as given and ended by CR LF",
                   {{"--mapped"}}, RunLog);

int RunLog(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() < 3) return UsageError(kLog, "DIR, NAME and a MESSAGE are needed");
    const std::string& name = operands[1];
    if (int refused = CheckPlainName(kLog, "NAME", name)) return refused;
    LogDir dir;
    if (int failed = ResolveLogDir(kLog, operands[0], dir)) return failed;
    CString message(Joined(operands, 2));

    if (args.Has("--mapped")) {
        CMemoryMappedLog log(dir.library, name.c_str(), nullptr);
        if (!log.Log(message)) return Failure(kLog, Shown(dir, log.m_strLogFileName), LastReason());
        // What the log did beyond the entry (a day file set aside) is said in its words.
        if (!log.m_strError.IsEmpty()) std::fprintf(stderr, "cbasis log: %s\n", static_cast<LPCTSTR>(log.m_strError));
        std::printf("%s\n", Shown(dir, log.m_strLogFileName).c_str());
        return kOk;
    }
    CLogFile log(dir.library, name.c_str());
    if (!log.Log(message)) return Failure(kLog, Shown(dir, log.m_strLogFileName), LastReason());
    std::printf("%s\n", Shown(dir, log.m_strLogFileName).c_str());
    return kOk;
}

// ---- prune ------------------------------------------------------------------

int RunPrune(const Args& args);

const Command kPrune("prune", "prune DIR NAME KEEP [--pattern PATTERN]", "delete a log's old day files",
                     "When at least KEEP of the log NAME's day files lie in DIR, deletes every\n"
                     "one of them that was not written today, and names each file it deleted\n"
                     "and each it kept. A day file is NAME followed by the day, NAMEMM-DD.LOG,\n"
                     "or by the day and a number, NAMEMM-DD-N.LOG (the pattern NAME?\?-?\?*.LOG,\n"
                     "case-insensitive), so the files of other programs' logs whose names\n"
                     "begin with NAME stay.\n"
                     "  --pattern PATTERN  prune the files matching PATTERN instead, with the\n"
                     "                     original platform's wildcards (the library's own\n"
                     "                     choice is NAME*.log)",
                     {{"--pattern", nullptr, true}}, RunPrune);

// The names of the files in dir that match pattern, in the finder's order.
std::vector<CString> Matching(const CString& dir, const CString& pattern) {
    std::vector<CString> names;
    CFileFind finder;
    BOOL more = finder.FindFile(dir + pattern);
    while (more) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory()) names.push_back(finder.GetFileName());
    }
    return names;
}

int RunPrune(const Args& args) {
    const auto& operands = args.operands;
    if (operands.size() != 3) return UsageError(kPrune, "DIR, NAME and KEEP are needed");
    const std::string& name = operands[1];
    if (int refused = CheckPlainName(kPrune, "NAME", name)) return refused;
    char* end = nullptr;
    errno = 0;
    long keep = std::strtol(operands[2].c_str(), &end, 10);
    if (operands[2].empty() || *end || keep < 0 || keep > 1000000 || errno)
        return UsageError(kPrune, "KEEP must be a number from 0 on");
    bool ownPattern = args.Has("--pattern");
    CString pattern = ownPattern ? CString(args.Value("--pattern").c_str()) : CString(name.c_str()) + "?\?-?\?*.LOG";
    if (pattern.IsEmpty() || pattern.FindOneOf("/\\") >= 0)
        return UsageError(kPrune, "PATTERN must match names in DIR: not empty, no '/' or '\\'");
    LogDir dir;
    if (int failed = ResolveLogDir(kPrune, operands[0], dir)) return failed;

    // "4 day files of app", "every file matching x*.log"
    const char* one = ownPattern ? "file" : "day file";
    const char* many = ownPattern ? "files" : "day files";
    std::string whose = ownPattern ? " matching " + pattern.str() : " of " + name;
    std::vector<CString> before = Matching(dir.library, pattern);
    if (before.empty()) {
        std::printf("prune: nothing to delete: no %s%s in %s\n", many, whose.c_str(), dir.typed.c_str());
        return kOk;
    }
    if (static_cast<long>(before.size()) < keep) {
        std::printf("prune: nothing to delete: %s%s in %s, fewer than %ld\n",
                    Counted(static_cast<long long>(before.size()), one, many).c_str(), whose.c_str(), dir.typed.c_str(),
                    keep);
        return kOk;
    }
    CLogFile log;
    log.DeleteExcessLogFiles(dir.library, pattern, static_cast<int>(keep));

    CUtils utils;
    int deleted = 0, failed = kOk;
    for (const CString& file : before) {
        CFileStatus status;
        std::string shown = Shown(dir, file);
        if (!CFile::GetStatus(dir.library + file, status)) {
            std::printf("deleted %s\n", shown.c_str());
            ++deleted;
        } else if (utils.DateIsToday(status.m_mtime)) {
            std::printf("kept %s (written today)\n", shown.c_str());
        } else {
            failed = Failure(kPrune, shown, "not deleted");
        }
    }
    if (deleted == 0 && failed == kOk)
        std::printf("prune: nothing to delete: every %s%s in %s was written today\n", one, whose.c_str(),
                    dir.typed.c_str());
    return failed;
}

}  // namespace
}  // namespace cbasis
