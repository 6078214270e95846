// Log commands: log (through CLogFile, or the memory-mapped log), prune.
//
// DIR is given to the library as typed: a POSIX path is also a library path
// (the platform turns each backslash into a slash), and a library path with
// a drive (C:\logs) goes through the drive table. An empty DIR means C:\, as
// for the library.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "Command.h"
#include "logging/CLogFile.h"
#include "logging/CMemoryMappedLog.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Files.h"

namespace cbasis {
namespace {

std::string Shown(const CString& path) {
    std::string posix;
    return PlatformToPosixPath(path, posix) ? posix : path.str();
}

std::string Joined(const Args& args, size_t from) {
    std::string text;
    for (size_t i = from; i < args.size(); ++i) text += (i > from ? " " : "") + args[i];
    return text;
}

// The log's failure text on one line, with its file named as the user gave it.
std::string Reported(const CLogFile& log) {
    CString text = log.m_strError;
    text.Replace(log.m_strLogFileName, Shown(log.m_strLogFileName).c_str());
    text.Replace("\n", " ");
    text.TrimRight();
    return text.str();
}

bool IsValidName(const std::string& name) { return name.find_first_of("\\/") == std::string::npos; }

// ---------------------------------------------------------------------------
// log

int RunLog(const Args& args);

const Command kLog("log", "log [--mapped] DIR NAME MESSAGE...", "append a line to a day log file",
                   "Appends MESSAGE (the words joined by spaces) to the log NAME's file of\n"
                   "the day in DIR, NAMEMM-DD.LOG, and prints that file's path. Each run\n"
                   "first stamps its start (\"NAME started job at <time>\"), then writes the\n"
                   "line; lines end with CR LF.\n"
                   "  --mapped  write through the memory-mapped log: the same file, with\n"
                   "            each line stored as given and ended by CR LF",
                   RunLog);

int RunLog(const Args& args) {
    bool mapped = !args.empty() && args[0] == "--mapped";
    size_t first = mapped ? 1 : 0;
    if (args.size() > first && args[first].size() > 1 && args[first][0] == '-')
        return UsageError(kLog, "unknown option '" + args[first] + "'");
    if (args.size() < first + 3) return UsageError(kLog, "DIR, NAME and a MESSAGE are needed");
    const std::string& dir = args[first];
    const std::string& name = args[first + 1];
    if (name.empty()) return Failure(kLog, "No filename!");
    if (!IsValidName(name)) return UsageError(kLog, "NAME must not hold a path separator");
    CString message(Joined(args, first + 2));

    if (mapped) {
        CMemoryMappedLog log(dir.c_str(), name.c_str(), nullptr);
        if (!log.Log(message)) return Failure(kLog, Reported(log));
        if (!log.m_strError.IsEmpty()) std::fprintf(stderr, "cbasis log: %s\n", Reported(log).c_str());
        std::printf("%s\n", Shown(log.m_strLogFileName).c_str());
        return kOk;
    }
    CLogFile log(dir.c_str(), name.c_str());
    if (!log.Log(message)) return Failure(kLog, Reported(log));
    std::printf("%s\n", Shown(log.m_strLogFileName).c_str());
    return kOk;
}

// ---------------------------------------------------------------------------
// prune

int RunPrune(const Args& args);

const Command kPrune("prune", "prune DIR NAME KEEP", "delete a log's old day files",
                     "When at least KEEP files in DIR match NAME*.log (case-insensitively),\n"
                     "deletes every one of them that was not modified today, and prints the\n"
                     "names it deleted.",
                     RunPrune);

// The names in dir that match pattern.
std::set<std::string> Matching(const CString& dir, const CString& pattern) {
    std::set<std::string> names;
    CFileFind finder;
    BOOL more = finder.FindFile(dir + pattern);
    while (more) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory()) names.insert(finder.GetFileName().str());
    }
    return names;
}

int RunPrune(const Args& args) {
    if (args.size() != 3) return UsageError(kPrune, "DIR, NAME and KEEP are needed");
    const std::string& name = args[1];
    if (name.empty() || !IsValidName(name)) return UsageError(kPrune, "NAME must be a log name");
    char* end = nullptr;
    errno = 0;
    long keep = std::strtol(args[2].c_str(), &end, 10);
    if (args[2].empty() || *end || keep < 0 || keep > 1000000 || errno)
        return UsageError(kPrune, "KEEP must be a number from 0 on");
    CString dir = args[0].c_str();
    if (dir.IsEmpty()) dir = "C:\\";
    if (dir[dir.GetLength() - 1] != '\\' && dir[dir.GetLength() - 1] != '/') dir += "\\";
    CFileStatus status;
    if (!CFile::GetStatus(dir + ".", status) || !(status.m_attribute & CFile::directory))
        return Failure(kPrune, "no such directory: " + Shown(dir));

    CString pattern = CString(name.c_str()) + "*.log";
    std::set<std::string> before = Matching(dir, pattern);
    CLogFile log;
    log.DeleteExcessLogFiles(dir, pattern, static_cast<int>(keep));
    std::set<std::string> after = Matching(dir, pattern);
    for (const std::string& file : before)
        if (!after.count(file)) std::printf("%s\n", file.c_str());
    return kOk;
}

}  // namespace
}  // namespace cbasis
