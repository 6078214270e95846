// Writers sharing one day file, for the tests that run two of them at once
// (in two threads, or in this program and the helper program LogWriter):
// the logs they use, the entries they write, and the check of what the day
// files hold afterwards.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "logging/CMemoryMappedLog.h"
#include "logging/CRunningLog.h"

namespace writers {

// "plain", "running" or "mapped": a log of that class named "app" in C:\logs.
inline std::unique_ptr<CLogFile> MakeLog(const std::string& kind) {
    if (kind == "running") return std::make_unique<CRunningLog>("C:\\logs", "app", nullptr);
    if (kind == "mapped") return std::make_unique<CMemoryMappedLog>("C:\\logs", "app", nullptr);
    return std::make_unique<CLogFile>("C:\\logs", "app");
}

// Entry number index of the writer tag: its tag, number and a filler whose
// letter and length follow from the number. Every 997th one is longer than
// the runtime's text-mode write chunk, so that it takes several writes
// wherever a write is split.
inline std::string Entry(char tag, int index) {
    char head[16];
    std::snprintf(head, sizeof head, "%c %06d ", tag, index);
    size_t filler = static_cast<size_t>(index * 7919 % 97) + (index % 997 == 1 ? 20000 : 0);
    return head + std::string(filler, static_cast<char>('a' + index % 26));
}

// Writes count entries; the numbers of those that Log reported as not written.
inline std::vector<int> WriteEntries(CLogFile& log, char tag, int count) {
    std::vector<int> failed;
    for (int i = 0; i < count; ++i)
        if (log.Log(Entry(tag, i).c_str()) != 1) failed.push_back(i);
    return failed;
}

// What the log's day files in dir hold: the day file first, then its
// siblings "<title>-<n>.LOG" by number.
struct DayFiles {
    std::vector<std::string> names;
    // Per tag, the entry numbers in the order the files hold them.
    std::map<char, std::vector<int>> entries;
    // Lines that are neither an intact entry, an empty line nor a start
    // stamp, and files holding zero bytes.
    std::vector<std::string> damage;
};

inline DayFiles ReadDayFiles(const std::string& dir) {
    DayFiles result;
    std::vector<std::pair<long, std::string>> files;
    for (const auto& item : std::filesystem::directory_iterator(dir)) {
        std::string name = item.path().filename().string(), lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        if (lower.rfind("app", 0) != 0 || lower.size() < 7 || lower.substr(lower.size() - 4) != ".log") continue;
        size_t dash = name.find('-', 6);  // "appMM-DD" then perhaps "-<n>"
        files.emplace_back(dash == std::string::npos ? 0 : std::atol(name.c_str() + dash + 1), name);
    }
    std::sort(files.begin(), files.end());
    for (const auto& [number, name] : files) {
        result.names.push_back(name);
        std::ifstream in(dir + "/" + name, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.find('\0') != std::string::npos) result.damage.push_back(name + " holds zero bytes");
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find('\n', start);
            std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
            start = end == std::string::npos ? bytes.size() : end + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line.rfind("app started job at ", 0) == 0) continue;
            int index = line.size() >= 9 && line[1] == ' ' ? std::atoi(line.c_str() + 2) : -1;
            if (index >= 0 && line == Entry(line[0], index))
                result.entries[line[0]].push_back(index);
            else
                result.damage.push_back(name + ": " + line.substr(0, 60));
        }
    }
    return result;
}

}  // namespace writers
