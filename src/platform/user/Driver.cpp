// Choosing the display driver (UserDriver.h says how) and loading the
// module of a driver that shows windows.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "platform/gdi/TextMetrics.h"
#include "platform/kernel/Library.h"
#include "platform/shared/NoDestructor.h"
#include "platform/user/UserDriver.h"

namespace {

constexpr const char* kGtk3Module = "libCBasis1Display-gtk3.so";

struct Choice {
    const UserDriverFuncs* driver = nullptr;
    std::thread::id displayThread;  // of a driver that shows windows
};

// The module's file: CBASIS_DISPLAY_MODULE, or the one beside this library.
std::string modulePath() {
    if (const char* named = std::getenv("CBASIS_DISPLAY_MODULE"); named && *named) return named;
    std::string self = platform::ModulePathOf(reinterpret_cast<const void*>(&PlatformUserDriver));
    return (std::filesystem::path(self).parent_path() / kGtk3Module).string();
}

// The GTK 3 driver, or null after saying in one line why not.
const UserDriverFuncs* loadGtk3() {
    std::string path = modulePath();
    std::string why;
    HMODULE hModule = platform::LoadModuleFile(path, &why);
    const UserDriverFuncs* driver = nullptr;
    if (hModule) {
        auto entry = reinterpret_cast<CBASIS_DISPLAY_ENTRY>(GetProcAddress(hModule, "CBasisDisplayDriver"));
        const char* reason = "the module has no CBasisDisplayDriver entry";
        if (entry) driver = entry(CBASIS_DISPLAY_DRIVER_VERSION, &reason);
        if (!driver) {
            why = reason ? reason : "the display could not be opened";
            FreeLibrary(hModule);
        }
    }
    if (!driver) std::fprintf(stderr, "display: %s; running headless (%s)\n", why.c_str(), path.c_str());
    return driver;
}

Choice choose() {
    Choice choice;
    const char* forced = std::getenv("CBASIS_DISPLAY");
    bool wanted = forced ? std::strcmp(forced, "gtk3") == 0
                         : (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) ||
                               (std::getenv("WAYLAND_DISPLAY") && *std::getenv("WAYLAND_DISPLAY"));
    if (forced && !wanted && std::strcmp(forced, "headless") != 0)
        std::fprintf(stderr, "display: CBASIS_DISPLAY=%s is neither headless nor gtk3; running headless\n", forced);
    if (wanted) choice.driver = loadGtk3();
    if (choice.driver) {
        choice.displayThread = std::this_thread::get_id();
    } else {
        choice.driver = &PlatformHeadlessDriver();
    }
    return choice;
}

const Choice& chosen() {
    static NoDestructor<Choice> choice(choose());  // windows outlive static destructors
    return *choice;
}

}  // namespace

const UserDriverFuncs& PlatformUserDriver() { return *chosen().driver; }

bool PlatformIsDisplayThread() {
    const Choice& choice = chosen();
    return choice.driver != &PlatformHeadlessDriver() && choice.displayThread == std::this_thread::get_id();
}

bool PlatformShowsNewTopLevel() {
    if (PlatformIsDisplayThread()) return true;
    if (chosen().driver == &PlatformHeadlessDriver()) return false;
    static std::once_flag told;
    std::call_once(told, [] {
        std::fprintf(stderr, "display: windows of threads other than the display's stay off screen\n");
    });
    return false;
}
