// Synchronisation tests: a namespace segment of the test's own, and
// children that run in real processes.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Handles.h"
#include "platform/mfc/SyncObjects.h"

// Each test gets a fresh segment, also for the programs it starts (through
// CBASIS_NAMESPACE), and removes it afterwards.
class NamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int count = 0;
        m_namespace = "/cbasis1-test-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
        ::setenv("CBASIS_NAMESPACE", m_namespace.c_str(), 1);
        ASSERT_TRUE(PlatformUseNamespace(m_namespace.c_str()));
    }
    void TearDown() override { PlatformRemoveNamespace(m_namespace.c_str()); }

    // The file of a segment name ("/x" or "x") in the namespace directory.
    static std::string SegmentFile(const std::string& name) {
        std::string path = PlatformNamespacePath().str();
        return path.substr(0, path.rfind('/') + 1) + (name[0] == '/' ? name.substr(1) : name);
    }

    PLATFORM_NAMESPACE_INFO Info() {
        PLATFORM_NAMESPACE_INFO info{};
        EXPECT_TRUE(PlatformGetNamespaceInfo(&info));
        return info;
    }

    // Waits until exactly n threads of all processes wait on events.
    bool AwaitWaiters(DWORD n, int ms = 10000) {
        for (int waited = 0; waited <= ms; ++waited, ::usleep(1000))
            if (Info().dwWaitingThreads == n) return true;
        return false;
    }

    std::string m_namespace;
};

// A child's body: waits on the named event and exits 0 when it was signalled.
inline int WaitOn(const char* name) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, name);
    int code = WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0 ? 0 : 1;
    CloseHandle(event);
    return code;
}

// A forked child whose exit code is fn's result; killed if still running
// when the object goes.
class Child {
public:
    template <class Fn>
    explicit Child(Fn fn) {
        std::fflush(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) ::_exit(fn());
    }
    ~Child() { Kill(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The exit code, or -1 when the child did not end within ms (or died by
    // a signal).
    int Wait(int ms = 10000) {
        for (int waited = 0; m_status < 0 && waited <= ms; ++waited) {
            int status;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000;
            else
                ::usleep(1000);
        }
        return m_status == 1000 ? -1 : m_status;
    }
    bool Running(int ms) { return Wait(ms) < 0 && m_status < 0; }
    void Kill() {
        if (m_pid <= 0 || m_status >= 0) return;
        ::kill(m_pid, SIGKILL);
        int status;
        ::waitpid(m_pid, &status, 0);
        m_status = 1000;
    }
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_status = -1;
};

// Of two children, the first to end (null when neither does within ms).
inline Child* FirstToEnd(Child& a, Child& b, int ms = 10000) {
    for (int waited = 0; waited <= ms; ++waited, ::usleep(1000)) {
        if (a.Wait(0) >= 0) return &a;
        if (b.Wait(0) >= 0) return &b;
    }
    return nullptr;
}

// A one-way channel for "I am there" from children.
class Pipe {
public:
    Pipe() { EXPECT_EQ(::pipe(m_fds), 0); }
    ~Pipe() {
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }
    void Signal() const { (void)!::write(m_fds[1], "x", 1); }
    bool Await(int ms = 10000) const {
        pollfd p{m_fds[0], POLLIN, 0};
        char c;
        return ::poll(&p, 1, ms) == 1 && ::read(m_fds[0], &c, 1) == 1;
    }
    int WriteEnd() const { return m_fds[1]; }

private:
    int m_fds[2];
};
