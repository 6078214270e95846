// MakeProject against the shell doing the same job, in one run: the template
// of ProjectTemplate.h (2,000 text files of about 8 KiB in 40 directories,
// every tenth a guarded header, and 20 binary files of 100 KiB with zero
// bytes, names and texts carrying the keyword Foo).
// The shell baseline copies the tree (cp -a), replaces the keyword in every
// file (one sed -i over all of them) and renames every file whose title holds
// it (a loop of mv); a second baseline leaves out the renames. A third pair
// makes a project from a template holding one 500 MB text file, against cp
// and sed -i of that file.
//
// Old output is renamed aside between rounds and deleted only after all the
// timings: on this machine's journal-less ext4, creating files runs several
// times slower for minutes after many files were deleted.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ProjectTemplate.h"
#include "platform/kernel/Paths.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace {

constexpr int kAllFiles = 2020;

// The template (ProjectTemplate.h), made once below root/T.
class Template {
public:
    Template() {
        std::string pattern = (fs::temp_directory_path() / "cbasis-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        m_root = pattern;
        bench::MakeProjectTemplate(m_root / "T", 1);
    }
    ~Template() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    fs::path Target() const { return m_root / "Out" / "Bar"; }
    fs::path Source() const { return m_root / "T" / "Foo"; }
    CString Library(const fs::path& path) const { return PlatformFromPosixPath(path.string()); }

    fs::path m_root;
};

Template& Shared() {
    static Template t;
    return t;
}

// Moves the last round's output out of the way (into root/old, deleted with
// the template at exit), outside the timing.
void SetAside(benchmark::State& state, const fs::path& root, const fs::path& target) {
    state.PauseTiming();
    static int round = 0;
    std::error_code ec;
    fs::create_directories(root / "old", ec);
    if (fs::exists(target, ec)) fs::rename(target, root / "old" / std::to_string(++round), ec);
    state.ResumeTiming();
}

void RemoveTarget(benchmark::State& state) { SetAside(state, Shared().m_root, Shared().Target()); }

// The 500 MB template, made the first time it is asked for.
struct BigTemplate {
    BigTemplate() {
        fs::path dir = Shared().m_root / "B" / "Foo";
        fs::create_directories(dir);
        std::string block;
        while (block.size() < (1 << 20)) block += "a log line naming CFooDocument and FooView, and some other words\n";
        if (FILE* f = std::fopen((dir / "FooLog.txt").c_str(), "wb")) {
            for (int i = 0; i < 500; ++i) std::fwrite(block.data(), 1, block.size(), f);
            std::fclose(f);
        }
    }
    fs::path Target() const { return Shared().m_root / "BigOut" / "Bar"; }
};

BigTemplate& Big() {
    static BigTemplate t;
    return t;
}

void BM_MakeProject(benchmark::State& state) {
    Template& t = Shared();
    CProject project;
    fs::path home = fs::current_path();
    for (auto _ : state) {
        RemoveTarget(state);
        project.MakeProject("Foo", t.Library(t.m_root / "Out") + "\\", "Bar", t.Library(t.m_root / "T"));
        // Directory creation leaves the current directory in the target,
        // which the next round removes.
        state.PauseTiming();
        fs::current_path(home);
        state.ResumeTiming();
    }
    state.counters["files/s"] = benchmark::Counter(kAllFiles, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MakeProject)->Unit(benchmark::kMillisecond)->UseRealTime();

void RunShell(benchmark::State& state, bool bRename) {
    Template& t = Shared();
    std::string script = "set -e; cp -a '" + t.Source().string() + "' '" + t.Target().string() +
                         "'; find '" + t.Target().string() + "' -type f -exec sed -i 's/Foo/Bar/g' {} +";
    if (bRename)
        script += "; find '" + t.Target().string() +
                  "' -type f -name '*Foo*' | while IFS= read -r f; do n=${f##*/}; ti=${n%.*}; "
                  "mv -- \"$f\" \"${f%/*}/${ti//Foo/Bar}${n#\"$ti\"}\"; done";
    std::string quoted;
    for (char c : script) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    std::string command = "bash -c '" + quoted + "'";
    fs::create_directories(t.m_root / "Out");
    for (auto _ : state) {
        RemoveTarget(state);
        if (std::system(command.c_str()) != 0) state.SkipWithError("the shell baseline failed");
    }
    state.counters["files/s"] = benchmark::Counter(kAllFiles, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ShellCopySedRename(benchmark::State& state) { RunShell(state, true); }
BENCHMARK(BM_ShellCopySedRename)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ShellCopySed(benchmark::State& state) { RunShell(state, false); }
BENCHMARK(BM_ShellCopySed)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);


void BM_MakeProject500MB(benchmark::State& state) {
    Template& t = Shared();
    BigTemplate& big = Big();
    CProject project;
    fs::path home = fs::current_path();
    for (auto _ : state) {
        SetAside(state, t.m_root, big.Target());
        project.MakeProject("Foo", t.Library(t.m_root / "BigOut") + "\\", "Bar", t.Library(t.m_root / "B"));
        state.PauseTiming();
        fs::current_path(home);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 500 * (1 << 20));
}
BENCHMARK(BM_MakeProject500MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ShellCopySed500MB(benchmark::State& state) {
    Template& t = Shared();
    BigTemplate& big = Big();
    fs::create_directories(big.Target().parent_path());
    std::string command = "cp -a '" + (t.m_root / "B" / "Foo").string() + "' '" + big.Target().string() +
                          "' && sed -i 's/Foo/Bar/g' '" + (big.Target() / "FooLog.txt").string() + "'";
    for (auto _ : state) {
        SetAside(state, t.m_root, big.Target());
        if (std::system(command.c_str()) != 0) state.SkipWithError("the shell baseline failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 500 * (1 << 20));
}
BENCHMARK(BM_ShellCopySed500MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
