// "files done of total" on stderr while a tree is being made, when stderr is
// a terminal; it counts the files that have arrived in the target.
#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace cbasis {

class Progress {
public:
    Progress(const char* command, std::filesystem::path target, int total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

private:
    void Run();

    const char* m_command;
    std::filesystem::path m_target;
    int m_total;
    int m_width = 0;
    bool m_done = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};

}  // namespace cbasis
