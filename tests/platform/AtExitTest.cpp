// A host's static object may close handles, unmap views and free blocks in
// its destructor, while the process exits, after the platform's tables were
// first used: every process-wide table must still be there then.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/crt/FindFirst.h"
#include "platform/gdi/Brushes.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/kernel/Handles.h"
#include "platform/kernel/Heaps.h"
#include "platform/kernel/Mapping.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Sync.h"
#include "platform/mfc/MessageBox.h"

namespace {

using Check = std::function<bool()>;

// In a child: a static object made before the table's first use, whose
// destructor runs the check after static destruction has begun; the exit
// code tells whether it passed.
void CheckAtExit(const std::function<Check()>& arrange) {
    struct AtExit {
        Check check;
        ~AtExit() { std::_Exit(check && check() ? 0 : 3); }
    };
    static AtExit atExit;
    atExit.check = arrange();
    std::exit(1);
}

struct Case {
    const char* table;
    std::function<Check()> arrange;
};

const Case kCases[] = {
    {"handles and events",
     [] {
         HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
         return [event] { return CloseHandle(event) == TRUE; };
     }},
    {"named objects",
     [] {
         HANDLE mutex = CreateMutexA(nullptr, FALSE, "AtExitTest-mutex");
         return [mutex] { return mutex && CloseHandle(mutex) == TRUE; };
     }},
    {"file mappings and views",
     [] {
         std::string path = std::string(::testing::TempDir()) + "atexit-map-" + std::to_string(::getpid());
         HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
         HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 4096, nullptr);
         void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
         std::remove(path.c_str());
         return [=] { return view && UnmapViewOfFile(view) && CloseHandle(mapping) && CloseHandle(file); };
     }},
    {"finder searches",
     [] {
         crt::_finddata_t data;
         intptr_t search = crt::_findfirst("/*", &data);
         return [search] { return search != -1 && crt::_findclose(search) == 0; };
     }},
    {"private heaps",
     [] {
         HANDLE heap = HeapCreate(0, 0, 0);
         void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, 100);
         return [=] { return HeapFree(heap, 0, block) && HeapDestroy(heap); };
     }},
    {"global memory",
     [] {
         HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 64);
         return [block] { return block && GlobalFree(block) == nullptr; };
     }},
    {"brushes",
     [] {
         HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
         return [brush] { return DeleteObject(brush) == TRUE; };
     }},
    {"processes",
     [] {
         STARTUPINFOA startup = {};
         startup.cb = sizeof startup;
         PROCESS_INFORMATION info = {};
         char command[] = "true";
         BOOL started = CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
         return [=] { return started && CloseHandle(info.hThread) && CloseHandle(info.hProcess); };
     }},
    {"message boxes",
     [] {
         AfxSetMessageBoxEcho(false);
         AfxSetMessageBoxHook([](const CString&, UINT) { return IDYES; });
         return [] { return AfxMessageBox("at exit", MB_YESNO) == IDYES; };
     }},
};

TEST(AtExitTest, EveryTableOutlivesStaticDestructors) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.table);
        EXPECT_EXIT(CheckAtExit(c.arrange), ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
