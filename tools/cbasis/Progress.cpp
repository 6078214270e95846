#include "Progress.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "TreeCount.h"

namespace cbasis {

Progress::Progress(const char* command, std::filesystem::path target, int total)
    : m_command(command), m_target(std::move(target)), m_total(total) {
    if (::isatty(STDERR_FILENO)) m_thread = std::thread([this] { Run(); });
}

Progress::~Progress() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_wake.notify_one();
    m_thread.join();
    std::fprintf(stderr, "\r%*s\r", m_width, "");
}

void Progress::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; })) {
        int done = CountTree(m_target).files;
        m_width = std::fprintf(stderr, "\rcbasis %s: %d of %d files", m_command, done, m_total);
        std::fflush(stderr);
    }
}

}  // namespace cbasis
