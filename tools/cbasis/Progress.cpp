#include "Progress.h"

#include <chrono>
#include <cstdio>

#include "TreeCount.h"
#include "platform/crt/Stdio.h"

namespace cbasis {

Progress::Progress(const char* command, std::filesystem::path source, const std::atomic<int>& done)
    : m_command(command), m_source(std::move(source)), m_done(done) {
    if (crt::_isatty(crt::_fileno(stderr))) m_thread = std::thread([this] { Run(); });
}

Progress::~Progress() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    m_wake.notify_one();
    m_thread.join();
    std::fprintf(stderr, "\r%*s\r", m_width, "");
}

void Progress::Run() {
    int total = CountTree(m_source).files;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_finished; })) {
        m_width = std::fprintf(stderr, "\rcbasis %s: %d of %d files", m_command, m_done.load(), total);
        std::fflush(stderr);
    }
}

}  // namespace cbasis
