// The namespace segment with damaged words: whatever words a stray write
// changed, the next calls repair the table or fail with a reason, and none
// crashes. The input is up to eight (word, value) pairs written into a
// segment in use, restored before each run. Lock words are left alone: a
// damaged one costs a second to be told (tests/sync/CorruptSegmentTest
// covers them).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../tests/sync/DamagedSegmentUse.h"
#include "FuzzInput.h"
#include "platform/kernel/SyncLayout.h"

namespace {

using namespace platform::sync::layout;

struct Segment {
    std::string path, pristine;
    std::vector<size_t> pages;  // pages holding anything
    std::vector<size_t> words;  // offsets of the words that may be damaged
};

bool InLock(size_t offset) {
    auto within = [&](size_t at) { return offset >= at && offset < at + sizeof(platform::sync::SharedLock); };
    if (within(offsetof(Header, lock))) return true;
    if (offset < kEntriesAt || offset >= kIndexAt) return false;
    return within(offset - (offset - kEntriesAt) % sizeof(Entry) + offsetof(Entry, body));
}

// A segment of its own in a private directory, with an event and a mutex
// this process keeps, and a mutex closed again. Nothing is left owned (nor
// does a run leave anything owned): an owned mutex is on its owner's robust
// list, which restoring the segment's bytes would pull out from under it.
const Segment& TheSegment() {
    static const Segment segment = [] {
        static char dir[] = "/tmp/cbasis-segment-fuzz-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        std::atexit([] { std::filesystem::remove_all(dir); });
        setenv("XDG_RUNTIME_DIR", dir, 1);
        PlatformUseNamespace("fuzz");
        CreateEventA(nullptr, FALSE, FALSE, "event");
        CreateMutexA(nullptr, FALSE, "mutex");
        CloseHandle(CreateMutexA(nullptr, FALSE, "closed"));
        Segment s;
        s.path = PlatformNamespacePath().str();
        std::ifstream in(s.path, std::ios::binary);
        s.pristine.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        FUZZ_CHECK(s.pristine.size() == kSegmentBytes);
        const std::string zero(4096, '\0');
        for (size_t at = 0; at < s.pristine.size(); at += 4096) {
            if (s.pristine.compare(at, 4096, zero) == 0) continue;
            s.pages.push_back(at);
            for (size_t w = at; w < at + 4096; w += 4)
                if (!InLock(w)) s.words.push_back(w);
        }
        return s;
    }();
    return segment;
}

void Write(const Segment& s, size_t offset, const char* bytes, size_t n) {
    std::fstream file(s.path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(bytes, static_cast<std::streamsize>(n));
    FUZZ_CHECK(file.good());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Segment& s = TheSegment();
    for (size_t at : s.pages) Write(s, at, s.pristine.data() + at, 4096);
    FuzzInput in(data, size);
    for (int i = 0; i < 8 && !in.Empty(); ++i) {
        size_t offset = s.words[in.Word() % s.words.size()];
        uint32_t value = in.Word();
        Write(s, offset, reinterpret_cast<const char*>(&value), 4);
    }

    FUZZ_CHECK(UseDamagedSegment(1) == 0);
    return 0;
}
