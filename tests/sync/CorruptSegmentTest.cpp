// A namespace segment with one damaged word: whatever the word, the next
// process repairs the table or refuses it with a reason, and never crashes
// or hangs.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/SyncLayout.h"
#include "sync/DamagedSegmentUse.h"
#include "sync/SyncTest.h"

namespace {

using namespace platform::sync::layout;
using CorruptSegmentTest = NamespaceTest;

struct Word {
    std::string what;
    size_t offset;
};

#define FIELD(type, at, record, field) \
    Word { #record " " #field, (at) + offsetof(type, field) }

// The words the table reads, in the records a small segment uses.
std::vector<Word> Words(const std::string& segment) {
    constexpr size_t lockWord = offsetof(pthread_mutex_t, __data.__lock);
    constexpr size_t lockType = offsetof(pthread_mutex_t, __data.__kind);
    std::vector<Word> words = {
        {"table lock word", offsetof(Header, lock) + lockWord},
        {"table lock type", offsetof(Header, lock) + lockType},
        FIELD(Header, 0, header, entryHigh),
        FIELD(Header, 0, header, holderHigh),
        FIELD(Header, 0, header, processHigh),
        FIELD(Header, 0, header, freeEntry),
        FIELD(Header, 0, header, freeHolder),
        FIELD(Header, 0, header, freeProcess),
        FIELD(Header, 0, header, namedEntries),
        FIELD(Header, 0, header, retiredEntries),
        FIELD(Header, 0, header, usedHolders),
        FIELD(Header, 0, header, usedProcesses),
    };
    for (size_t p = 0; p < 2; ++p) {
        size_t at = kProcessesAt + p * sizeof(Process);
        for (Word w : {FIELD(Process, at, process, state), FIELD(Process, at, process, holders),
                       FIELD(Process, at, process, next)})
            words.push_back({w.what + " " + std::to_string(p), w.offset});
    }
    for (size_t h = 0; h < 3; ++h) {
        size_t at = kHoldersAt + h * sizeof(Holder);
        for (Word w :
             {FIELD(Holder, at, holder, entry), FIELD(Holder, at, holder, process), FIELD(Holder, at, holder, handles),
              FIELD(Holder, at, holder, waiting), FIELD(Holder, at, holder, next)})
            words.push_back({w.what + " " + std::to_string(h), w.offset});
    }
    for (size_t e = 0; e < 2; ++e) {
        size_t at = kEntriesAt + e * sizeof(Entry);
        for (Word w : {FIELD(Entry, at, entry, state), FIELD(Entry, at, entry, serial), FIELD(Entry, at, entry, kind),
                       FIELD(Entry, at, entry, hash), FIELD(Entry, at, entry, length), FIELD(Entry, at, entry, handles),
                       FIELD(Entry, at, entry, holders), FIELD(Entry, at, entry, next), FIELD(Entry, at, entry, name)})
            words.push_back({w.what + " " + std::to_string(e), w.offset});
        // Every word of the object itself (its lock, its kind, its state).
        for (size_t b = 0; b < sizeof(platform::sync::BodyStorage); b += 4)
            words.push_back(
                {"entry " + std::to_string(e) + " body word " + std::to_string(b / 4), at + offsetof(Entry, body) + b});
    }
    // The name index's slots in use.
    for (size_t slot = 0; slot < kIndexSlots; ++slot) {
        uint32_t v;
        std::memcpy(&v, segment.data() + kIndexAt + 4 * slot, 4);
        if (v) words.push_back({"index slot of entry " + std::to_string(v - 1), kIndexAt + 4 * slot});
    }
    return words;
}

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    int fd = ::open(path.c_str(), O_RDONLY);
    char buffer[65536];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

// The pages of a segment that hold anything; the rest are zero.
std::vector<size_t> PagesInUse(const std::string& segment) {
    std::vector<size_t> pages;
    const std::string zero(4096, '\0');
    for (size_t at = 0; at < segment.size(); at += 4096)
        if (segment.compare(at, 4096, zero) != 0) pages.push_back(at);
    return pages;
}

// Writes the segment with the word at offset replaced by value.
bool WriteWith(const std::string& path, const std::string& segment, const std::vector<size_t>& pages, size_t offset,
               uint32_t value) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    bool ok = fd >= 0 && ::ftruncate(fd, segment.size()) == 0;
    for (size_t at : pages) ok = ok && ::pwrite(fd, segment.data() + at, 4096, at) == 4096;
    ok = ok && ::pwrite(fd, &value, 4, offset) == 4;
    ::close(fd);
    return ok;
}

TEST_F(CorruptSegmentTest, ADamagedWordIsRepairedOrRefusedNeverACrash) {
    // A segment in use: this process holds an event (entry 0) and owns a
    // mutex (entry 1); a process that ended without closing its handles
    // held both, and a mutex of its own.
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "event");
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "mutex");
    Child ended([] {
        CreateEventA(nullptr, FALSE, FALSE, "event");
        CreateMutexA(nullptr, FALSE, "mutex");
        CreateMutexA(nullptr, TRUE, "left");
        return 0;
    });
    ASSERT_EQ(ended.Wait(), 0);
    const std::string pristine = ReadWhole(SegmentFile(m_namespace));
    ASSERT_EQ(pristine.size(), kSegmentBytes);
    const std::vector<size_t> pages = PagesInUse(pristine);

    const std::string damaged = m_namespace + "-damaged";
    int cases = 0;
    for (const Word& word : Words(pristine)) {
        uint32_t original;
        std::memcpy(&original, pristine.data() + word.offset, 4);
        for (uint32_t value : {0u, original + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            if (value == original) continue;
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%x", value);
            SCOPED_TRACE(word.what + " = " + hex);
            ASSERT_TRUE(WriteWith(SegmentFile(damaged), pristine, pages, word.offset, value));
            Child user([&] {
                PlatformUseNamespace(damaged.c_str());
                return UseDamagedSegment(2);
            });
            EXPECT_EQ(user.Wait(30000), 0);
            ++cases;
        }
    }
    EXPECT_GT(cases, 300);
    PlatformRemoveNamespace(damaged.c_str());
    CloseHandle(mutex);
    CloseHandle(event);
}

}  // namespace
