// "files done of total" on stderr while a tree is being made, when stderr is
// a terminal: the total is counted in the source tree, on the progress
// thread, and the files done are those the command has been told of.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace cbasis {

class Progress {
public:
    Progress(const char* command, std::filesystem::path source, const std::atomic<int>& done);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

private:
    void Run();

    const char* m_command;
    std::filesystem::path m_source;
    const std::atomic<int>& m_done;
    int m_width = 0;
    bool m_finished = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};

}  // namespace cbasis
