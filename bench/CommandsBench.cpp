// The cbasis tool's main jobs as whole commands against the system's own
// tools doing the same work, in one run, wall-clock time:
//   - cbasis new-project (guards renewed) vs cp -a of the template
//     (ProjectTemplate.h) at 2,020 files (/1) and 20,200 files (/10);
//   - the system calls a file each makes (strace -f -c, once, outside the
//     timings; skipped where strace is missing);
//   - cbasis ls --tree vs find on 100 directories of 1,000 files (100,100
//     entries), with the peak memory of each and the size of the names.
// With CBASIS_BEFORE_TOOL naming another build of the tool, its new-project
// and ls --tree run too (the "Before" benchmarks), for before and after in
// one run.
// The data goes below $TMPDIR (default /tmp; TMPDIR=/dev/shm measures on a
// tmpfs). Peak memory comes from /usr/bin/time. Old output is renamed aside
// between rounds and deleted only at exit: on a journal-less ext4, creating
// files runs several times slower for minutes after many files were deleted.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ProjectTemplate.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kListedDirs = 100, kListedFiles = 1000;

struct Data {
    Data() {
        std::string pattern = (fs::temp_directory_path() / "cbasis-commands-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern;
        files[0] = bench::MakeProjectTemplate(root / "T1", 1);
        files[1] = bench::MakeProjectTemplate(root / "T10", 10);
        for (int d = 0; d < kListedDirs; ++d) {
            std::string dir = "dir" + std::to_string(d);
            fs::create_directories(root / "tree" / dir);
            nameBytes += dir.size() + 1;
            for (int f = 0; f < kListedFiles; ++f) {
                std::string name = "file_" + std::to_string(f) + "_with_a_longer_name.txt";
                std::ofstream(root / "tree" / dir / name);
                nameBytes += name.size() + 1;
            }
        }
        fs::create_directories(root / "out");
        fs::create_directories(root / "aside");
    }
    ~Data() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path Template(int scale) const { return root / (scale == 1 ? "T1" : "T10"); }
    int Files(int scale) const { return files[scale == 1 ? 0 : 1]; }
    // Moves the output of the last round aside.
    void SetAside() {
        std::error_code ec;
        if (fs::exists(root / "out" / "Bar", ec)) fs::rename(root / "out" / "Bar", root / "aside" / std::to_string(++round), ec);
    }

    fs::path root;
    int files[2] = {};
    size_t nameBytes = 0;  // every listed name and its line end
    int round = 0;
};

Data& Shared() {
    static Data data;
    return data;
}

// Runs the command with its output thrown away; false when it fails.
bool Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The command's peak memory in KiB, by /usr/bin/time (-1 without it). A
// child of this program would count this program's own pages, which it
// holds until it runs the command; a child of time does not.
double PeakMemory(const std::vector<std::string>& command) {
    std::string report = (Shared().root / "time.txt").string();
    std::vector<std::string> timed = {"/usr/bin/time", "-f", "%M", "-o", report};
    timed.insert(timed.end(), command.begin(), command.end());
    if (!Run(timed)) return -1;
    std::ifstream in(report);
    double kib = -1;
    in >> kib;
    return kib;
}

std::vector<std::string> NewProject(int scale, const char* tool = CBASIS_TOOL_PATH) {
    Data& d = Shared();
    return {tool, "new-project", "Bar", "--template-root", d.Template(scale).string(), "--keyword", "Foo",
            "--location", (d.root / "out").string()};
}

std::vector<std::string> CopyAll(int scale) {
    Data& d = Shared();
    return {"cp", "-a", (d.Template(scale) / "Foo").string(), (d.root / "out" / "Bar").string()};
}

// Times a command that makes root/out/Bar, setting the last one aside first.
void MakeTree(benchmark::State& state, const std::vector<std::string>& command, int files) {
    for (auto _ : state) {
        state.PauseTiming();
        Shared().SetAside();
        state.ResumeTiming();
        if (!Run(command)) state.SkipWithError("the command failed");
    }
    state.counters["files/s"] = benchmark::Counter(files, benchmark::Counter::kIsIterationInvariantRate);
    Shared().SetAside();
    state.counters["maxrss_KiB"] = PeakMemory(command);
}

void BM_NewProject(benchmark::State& state) {
    int scale = static_cast<int>(state.range(0));
    MakeTree(state, NewProject(scale), Shared().Files(scale));
}
void BM_CopyAll(benchmark::State& state) {
    int scale = static_cast<int>(state.range(0));
    MakeTree(state, CopyAll(scale), Shared().Files(scale));
}
// In pairs, each command beside its baseline.
BENCHMARK(BM_NewProject)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CopyAll)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_NewProject)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CopyAll)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The system calls strace counts for the command (its children included).
long SystemCalls(const std::vector<std::string>& command) {
    std::string report = (Shared().root / "strace.txt").string();
    std::vector<std::string> traced = {"strace", "-f", "-c", "-o", report};
    traced.insert(traced.end(), command.begin(), command.end());
    Shared().SetAside();
    if (!Run(traced)) return -1;
    std::ifstream in(report);
    long total = -1;
    for (std::string line; std::getline(in, line);) {
        if (line.find(" total") == std::string::npos) continue;
        std::sscanf(line.c_str(), "%*f %*f %*d %ld", &total);
    }
    return total;
}

void BM_SystemCallsAFile(benchmark::State& state) {
    int scale = static_cast<int>(state.range(0));
    long ours = 0, theirs = 0;
    for (auto _ : state) {
        ours = SystemCalls(NewProject(scale));
        theirs = SystemCalls(CopyAll(scale));
    }
    if (ours < 0 || theirs < 0) {
        state.SkipWithError("strace is missing or failed");
        return;
    }
    double files = Shared().Files(scale);
    state.counters["new-project"] = static_cast<double>(ours) / files;
    state.counters["cp-a"] = static_cast<double>(theirs) / files;
}
BENCHMARK(BM_SystemCallsAFile)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

void List(benchmark::State& state, const std::vector<std::string>& command) {
    for (auto _ : state)
        if (!Run(command)) state.SkipWithError("the command failed");
    state.counters["maxrss_KiB"] = PeakMemory(command);
    state.counters["names_KiB"] = static_cast<double>(Shared().nameBytes) / 1024;
}
std::vector<std::string> LsTree(const char* tool = CBASIS_TOOL_PATH) {
    return {tool, "ls", (Shared().root / "tree").string(), "--tree"};
}
void BM_LsTree(benchmark::State& state) { List(state, LsTree()); }
void BM_Find(benchmark::State& state) { List(state, {"find", (Shared().root / "tree").string()}); }
BENCHMARK(BM_LsTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same commands of the build CBASIS_BEFORE_TOOL names.
const bool kBeforeRegistered = [] {
    static const char* before = std::getenv("CBASIS_BEFORE_TOOL");
    if (!before || !*before) return false;
    for (int scale : {1, 10}) {
        benchmark::RegisterBenchmark(("BM_NewProjectBefore/" + std::to_string(scale)).c_str(),
                                     [scale](benchmark::State& state) {
                                         MakeTree(state, NewProject(scale, before), Shared().Files(scale));
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(scale == 1 ? 5 : 3);
        benchmark::RegisterBenchmark(("BM_SystemCallsAFileBefore/" + std::to_string(scale)).c_str(),
                                     [scale](benchmark::State& state) {
                                         long calls = 0;
                                         for (auto _ : state) calls = SystemCalls(NewProject(scale, before));
                                         if (calls < 0) state.SkipWithError("strace is missing or failed");
                                         state.counters["new-project"] = static_cast<double>(calls) / Shared().Files(scale);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::RegisterBenchmark("BM_LsTreeBefore", [](benchmark::State& state) { List(state, LsTree(before)); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    return true;
}();

}  // namespace
