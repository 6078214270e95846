// Finding and loading resources of the test program's compiled script
// (Test.rc), of a plugin module with its own script, and of a module with
// none.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Resources.h"
#include "resource.h"

namespace {

std::string DataOf(HMODULE hModule, HRSRC hRes) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(hModule, hRes)));
    return data ? std::string(data, SizeofResource(hModule, hRes)) : std::string();
}

TEST(FindResourceTest, FindsByNumberHashNumberAndCaseInsensitiveName) {
    HMODULE hProgram = GetModuleHandleA(nullptr);
    ASSERT_NE(hProgram, nullptr);
    struct Case {
        const char* what;
        HMODULE hModule;
        LPCSTR name, type;
    };
    const Case cases[] = {
        {"numbers, program's handle", hProgram, MAKEINTRESOURCE(IDR_DATA), RT_RCDATA},
        {"numbers, null handle", nullptr, MAKEINTRESOURCE(IDR_DATA), RT_RCDATA},
        {"#number name and type", nullptr, "#130", "#10"},
        {"text name and type, as written", nullptr, "SAMPLE", "BLOB"},
        {"text name and type, other case", nullptr, "sample", "Blob"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HRSRC hRes = FindResourceA(c.hModule, c.name, c.type);
        ASSERT_NE(hRes, nullptr);
        EXPECT_EQ(hRes, FindResourceExA(c.hModule, c.type, c.name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    }
    EXPECT_EQ(DataOf(nullptr, FindResourceA(nullptr, "SAMPLE", "BLOB")), "named");
    // A narrow string in RCDATA keeps its explicit zero; a number is a WORD.
    EXPECT_EQ(DataOf(nullptr, FindResourceA(nullptr, MAKEINTRESOURCE(IDR_DATA), RT_RCDATA)),
              std::string("raw\0\x34\x12", 6));
    EXPECT_EQ(FreeResource(LoadResource(nullptr, FindResourceA(nullptr, "SAMPLE", "BLOB"))), FALSE);
}

TEST(FindResourceTest, MissingResourcesSayWhatIsMissing) {
    struct Case {
        const char* what;
        LPCSTR name, type;
        DWORD error;
    };
    const Case cases[] = {
        {"no such type", MAKEINTRESOURCE(IDR_DATA), RT_DIALOG, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"no such name", MAKEINTRESOURCE(999), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"no such text name", "OTHER", "BLOB", ERROR_RESOURCE_NAME_NOT_FOUND},
        {"number text that is not all digits", "#130x", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"number text out of range", "#65666", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"null name", nullptr, RT_RCDATA, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(FindResourceA(nullptr, c.name, c.type), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

// A module linked without a script has no resources: the platform library
// is one.
TEST(FindResourceTest, ModuleWithoutScriptHasNone) {
    HMODULE hPlatform = PlatformModuleFromAddress(reinterpret_cast<const void*>(&FindResourceA));
    ASSERT_NE(hPlatform, nullptr);
    ASSERT_NE(hPlatform, GetModuleHandleA(nullptr));
    SetLastError(0);
    EXPECT_EQ(FindResourceA(hPlatform, MAKEINTRESOURCE(IDR_DATA), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
}

// A handle is good only with the module it came from.
TEST(FindResourceTest, HandlesOfOtherModulesOrMadeUpAreRefused) {
    HRSRC hRes = FindResourceA(nullptr, "SAMPLE", "BLOB");
    ASSERT_NE(hRes, nullptr);
    HMODULE hPlatform = PlatformModuleFromAddress(reinterpret_cast<const void*>(&FindResourceA));
    char local[64] = {};
    for (auto [hModule, hBad] : {std::pair{hPlatform, hRes}, std::pair{HMODULE(), reinterpret_cast<HRSRC>(local)},
                                 std::pair{HMODULE(), HRSRC()}}) {
        SetLastError(0);
        EXPECT_EQ(LoadResource(hModule, hBad), nullptr);
        EXPECT_EQ(SizeofResource(hModule, hBad), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
}

TEST(FindResourceTest, PluginCarriesItsOwnResourcesWhileLoaded) {
    HMODULE hPlugin = LoadLibraryA(PlatformFromPosixPath(CBASIS_RESOURCES_PLUGIN));
    ASSERT_NE(hPlugin, nullptr) << PlatformLoadLibraryError().str();
    ASSERT_NE(hPlugin, GetModuleHandleA(nullptr));
    std::string file = CBASIS_RESOURCES_PLUGIN;
    EXPECT_EQ(GetModuleHandleA(file.substr(file.rfind('/') + 1).c_str()), hPlugin);

    LPCSTR pluginBlock = MAKEINTRESOURCE(IDS_PLUGIN_ONLY / 16 + 1);
    EXPECT_NE(FindResourceA(hPlugin, pluginBlock, RT_STRING), nullptr);
    EXPECT_EQ(FindResourceA(hPlugin, "SAMPLE", "BLOB"), nullptr);

    ASSERT_TRUE(FreeLibrary(hPlugin));
    SetLastError(0);
    EXPECT_EQ(FindResourceA(hPlugin, pluginBlock, RT_STRING), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
}

}  // namespace
