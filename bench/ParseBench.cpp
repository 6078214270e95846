// Reading every word of a 10 MB source text: CParse::GetNextWord against a
// hand-written loop over std::string with the same word rule. Both deliver
// each word as a string of its own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "text/CParse.h"

namespace {

// A deterministic C++-like text of about 10 MB: identifiers, keywords,
// numbers, paths, scoped names, punctuation, blanks and line ends.
const std::string& SourceText() {
    static const std::string text = [] {
        static const char* const pieces[] = {"int ", "return ", "  ", " = ", ";\r\n", "(", ")", ", ", "{\r\n", "}\r\n",
                                             "C:\\Dir\\file_", "CMyClass::Member", " + ", "->", "\t", "// note\r\n",
                                             "0x1F", "\"text\"", "m_nValue", "const ", "std::string "};
        std::string out;
        out.reserve(10 * 1024 * 1024 + 64);
        uint32_t state = 12345;
        auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 8; };
        while (out.size() < 10 * 1024 * 1024) {
            out += pieces[next() % (sizeof pieces / sizeof pieces[0])];
            if (next() % 3 == 0) {
                size_t length = 1 + next() % 16;
                for (size_t i = 0; i < length; ++i) out += "abcdefghijklmnopqrstuvwxyzABCXYZ_0123456789"[next() % 43];
            }
        }
        return out;
    }();
    return text;
}

inline bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\\' ||
           c == ':';
}

void BM_CParseGetNextWord(benchmark::State& state) {
    const CString text(SourceText());
    size_t words = 0;
    for (auto _ : state) {
        CParse parse(text);
        CString word;
        words = 0;
        while (parse.GetNextWord(word)) ++words;
        benchmark::DoNotOptimize(word);
    }
    state.counters["words"] = static_cast<double>(words);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SourceText().size()));
}
BENCHMARK(BM_CParseGetNextWord)->Unit(benchmark::kMillisecond);

void BM_StdStringWordLoop(benchmark::State& state) {
    const std::string& text = SourceText();
    size_t words = 0;
    for (auto _ : state) {
        std::string word;
        words = 0;
        size_t i = 0;
        const size_t n = text.size();
        while (true) {
            while (i < n && !IsWordChar(text[i])) ++i;
            if (i == n) break;
            size_t start = i;
            while (i < n && IsWordChar(text[i])) ++i;
            word.assign(text, start, i - start);
            ++words;
        }
        benchmark::DoNotOptimize(word);
    }
    state.counters["words"] = static_cast<double>(words);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_StdStringWordLoop)->Unit(benchmark::kMillisecond);

}  // namespace
