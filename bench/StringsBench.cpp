// CString::Find and Replace on a 1 MB text against the same work on std::string.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/atl/Strings.h"

namespace {

// 1 MB of source-like text in which "Widget" occurs every 64 bytes.
const std::string& Text() {
    static const std::string text = [] {
        std::string s;
        while (s.size() < (1u << 20)) s += "class Widget : public Base { int m_nValue; void Run(); };\n  ";
        s.resize(1u << 20);
        return s;
    }();
    return text;
}

size_t StdReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    size_t n = 0;
    for (size_t pos = s.find(from); pos != std::string::npos; pos = s.find(from, pos + to.size())) {
        s.replace(pos, from.size(), to);
        ++n;
    }
    return n;
}

}  // namespace

static void BM_CStringFindAll(benchmark::State& state) {
    CString s(Text());
    for (auto _ : state) {
        int n = 0;
        for (int pos = s.Find("Widget"); pos >= 0; pos = s.Find("Widget", pos + 1)) ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_CStringFindAll);

static void BM_StdStringFindAll(benchmark::State& state) {
    const std::string& s = Text();
    for (auto _ : state) {
        int n = 0;
        for (size_t pos = s.find("Widget"); pos != std::string::npos; pos = s.find("Widget", pos + 1)) ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_StdStringFindAll);

static void BM_CStringReplace(benchmark::State& state) {
    for (auto _ : state) {
        CString s(Text());
        benchmark::DoNotOptimize(s.Replace("Widget", "Gadgetry"));
    }
}
BENCHMARK(BM_CStringReplace);

// The baseline is the same work done well with std::string: one pass into a
// new buffer (std::string::replace in place would be quadratic here).
static void BM_StdStringReplace(benchmark::State& state) {
    for (auto _ : state) {
        std::string s(Text());
        std::string out;
        out.reserve(s.size());
        size_t last = 0, n = 0;
        for (size_t pos = s.find("Widget"); pos != std::string::npos; pos = s.find("Widget", last)) {
            out.append(s, last, pos - last);
            out += "Gadgetry";
            last = pos + 6;
            ++n;
        }
        out.append(s, last, std::string::npos);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_StdStringReplace);

static void BM_StdStringReplaceInPlace(benchmark::State& state) {
    for (auto _ : state) {
        std::string s(Text());
        benchmark::DoNotOptimize(StdReplaceAll(s, "Widget", "Gadgetry"));
    }
}
BENCHMARK(BM_StdStringReplaceInPlace);
