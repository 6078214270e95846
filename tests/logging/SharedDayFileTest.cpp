// Two writers on one day file, in one process or two: every entry a Log
// call reported as written is, once both logs are gone, intact in a day file
// of the log's pattern, in its writer's order.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <barrier>
#include <cstdio>
#include <string>
#include <thread>

#include "LogTest.h"
#include "Writers.h"

extern char** environ;

namespace {

constexpr int kEntries = 20000;

// The helper program writing as the second writer; its input and output are
// pipes, so the test decides when it starts writing and when it closes.
class OtherProcess {
public:
    OtherProcess(const std::string& kind, const std::string& root, char tag) {
        int toChild[2], fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
        std::string count = std::to_string(kEntries), tagText(1, tag);
        const char* argv[] = {CBASIS_TEST_LOG_WRITER, kind.c_str(), root.c_str(), tagText.c_str(), count.c_str(),
                              nullptr};
        if (posix_spawn(&m_pid, CBASIS_TEST_LOG_WRITER, &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_in = ::fdopen(toChild[1], "w");
        m_out = ::fdopen(fromChild[0], "r");
    }
    ~OtherProcess() {
        if (m_in) std::fclose(m_in);
        if (m_out) std::fclose(m_out);
        if (m_pid > 0) ::waitpid(m_pid, nullptr, 0);
    }
    // The next line the helper says.
    std::string Said() {
        char line[64] = {};
        if (!m_out || !std::fgets(line, sizeof line, m_out)) return "<nothing>";
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    void Go() {
        std::fputs("go\n", m_in);
        std::fflush(m_in);
    }
    // The helper's exit status once it ended.
    int Finish() {
        Go();
        int status = -1;
        if (m_pid > 0 && ::waitpid(m_pid, &status, 0) == m_pid) m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    FILE* m_in = nullptr;
    FILE* m_out = nullptr;
};

// The kinds of the two writers, and whether the first runs in a process of
// its own (otherwise both run in threads of this one).
struct Pair {
    const char* first;
    const char* second;
    bool twoProcesses;
};

void PrintTo(const Pair& pair, std::ostream* out) {
    *out << pair.first << " + " << pair.second << (pair.twoProcesses ? " in two processes" : " in two threads");
}

class SharedDayFileTest : public LogTest, public ::testing::WithParamInterface<Pair> {
protected:
    void ExpectEveryEntryIntactAndInOrder(int count) {
        writers::DayFiles files = writers::ReadDayFiles(Posix("logs"));
        std::string names;
        for (const std::string& name : files.names) names += name + " ";
        SCOPED_TRACE("day files: " + names);
        // A mapped log holds the day file while the other one writes, which
        // goes on in a sibling.
        const Pair& pair = GetParam();
        bool mapped = std::string(pair.first) == "mapped" || std::string(pair.second) == "mapped";
        EXPECT_EQ(files.names.size(), mapped ? 2u : 1u);
        EXPECT_TRUE(files.damage.empty()) << files.damage.size() << " damaged, first: " << (files.damage.empty() ? "" : files.damage.front());
        for (char tag : {'A', 'B'}) {
            const std::vector<int>& got = files.entries[tag];
            size_t inOrder = 0;
            while (inOrder < got.size() && got[inOrder] == static_cast<int>(inOrder)) ++inOrder;
            EXPECT_EQ(got.size(), static_cast<size_t>(count)) << "writer " << tag;
            EXPECT_EQ(inOrder, got.size()) << "writer " << tag << " out of order after entry " << inOrder;
        }
    }
};

TEST_P(SharedDayFileTest, KeepsEveryEntryOfBothWriters) {
    const Pair& pair = GetParam();
    if (pair.twoProcesses) {
        OtherProcess other(pair.first, m_root, 'A');
        ASSERT_EQ(other.Said(), "ready");
        std::vector<int> failed;
        {
            std::unique_ptr<CLogFile> log = writers::MakeLog(pair.second);
            other.Go();
            failed = writers::WriteEntries(*log, 'B', kEntries);
            EXPECT_EQ(other.Said(), "done 0");
            EXPECT_EQ(other.Finish(), 0);  // the other log is gone first
        }
        EXPECT_TRUE(failed.empty()) << failed.size() << " entries not written";
    } else {
        std::unique_ptr<CLogFile> first = writers::MakeLog(pair.first), second = writers::MakeLog(pair.second);
        std::barrier start(2);
        std::vector<int> failedA, failedB;
        std::thread a([&] {
            start.arrive_and_wait();
            failedA = writers::WriteEntries(*first, 'A', kEntries / 4);
        });
        start.arrive_and_wait();
        failedB = writers::WriteEntries(*second, 'B', kEntries / 4);
        a.join();
        EXPECT_TRUE(failedA.empty() && failedB.empty()) << failedA.size() << " and " << failedB.size();
    }
    ExpectEveryEntryIntactAndInOrder(pair.twoProcesses ? kEntries : kEntries / 4);
}

std::string PairName(const ::testing::TestParamInfo<Pair>& info) {
    return std::string(info.param.first) + "_" + info.param.second + (info.param.twoProcesses ? "_processes" : "_threads");
}

INSTANTIATE_TEST_SUITE_P(Writers, SharedDayFileTest,
                         ::testing::Values(Pair{"plain", "plain", true}, Pair{"running", "plain", true},
                                           Pair{"mapped", "plain", true}, Pair{"plain", "mapped", true},
                                           Pair{"mapped", "mapped", true}, Pair{"plain", "running", false},
                                           Pair{"mapped", "plain", false}, Pair{"mapped", "mapped", false}),
                         PairName);

}  // namespace
