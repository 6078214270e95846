#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Modules.h"

namespace {

std::string ModuleName(HMODULE hModule) {
    char buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(hModule, buffer, sizeof buffer);
    return std::string(buffer, n);
}

// A class record registered by hand, standing in for one an extension
// module's static constructor registers.
CRuntimeClass classCHandMade = {"CHandMade", 0, 0xFFFF, nullptr, RUNTIME_CLASS(CObject), nullptr};

// Parks the lists and registers the record, as a loading module does.
void ParkAndRegister() {
    AfxLockGlobals(CRIT_RUNTIMECLASSLIST);
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    pState->m_pClassInit = pState->m_pClassHead;
    pState->m_pClassHead = nullptr;
    AfxUnlockGlobals(CRIT_RUNTIMECLASSLIST);
    AfxClassInit(&classCHandMade);
}

}  // namespace

TEST(ModulesTest, ProgramFileNameAndAppName) {
    std::string expected = PlatformFromPosixPath(std::filesystem::read_symlink("/proc/self/exe").string()).str();
    EXPECT_EQ(ModuleName(nullptr), expected);
    char small[5] = "????";
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);  // cut, still terminated
    EXPECT_EQ(std::string(small), expected.substr(0, 4));
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x1234), small, sizeof small), 0u);

    EXPECT_STREQ(AfxGetAppName(), "platform_tests");  // the program's title by default
    AfxSetAppName("Ledger");
    EXPECT_STREQ(AfxGetAppName(), "Ledger");
    AfxSetAppName(nullptr);
    EXPECT_STREQ(AfxGetAppName(), "platform_tests");
}

TEST(ModulesTest, LoadingFindsOnlyTheModulesOwnSymbols) {
    HMODULE hLib = LoadLibraryA("libm.so.6");
    ASSERT_NE(hLib, nullptr);
    EXPECT_TRUE(ModuleName(hLib).ends_with("\\libm.so.6"));
    auto pCos = reinterpret_cast<double (*)(double)>(GetProcAddress(hLib, "cos"));
    ASSERT_NE(pCos, nullptr);
    EXPECT_EQ(pCos(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(hLib, "malloc"), nullptr);  // libm's dependency libc has it, libm has not
    EXPECT_TRUE(FreeLibrary(hLib));
    EXPECT_FALSE(FreeLibrary(hLib));  // no load left to release
    EXPECT_EQ(GetProcAddress(hLib, "cos"), nullptr);

    EXPECT_EQ(AfxLoadLibrary("no-such-module.so"), nullptr);
    EXPECT_EQ(AfxLoadLibrary("Q:\\unmapped\\drive.so"), nullptr);
}

// The last error says why a module did not load or has no such export, and
// the loader's own words stay at hand.
TEST(ModulesTest, FailuresLeaveTheirReason) {
    std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string missing = program + "-missing.so";
    EXPECT_EQ(LoadLibraryA(missing.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA("/proc/self/status"), nullptr);  // a file, but no shared object
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    EXPECT_NE(PlatformLoadLibraryError().Find("/proc/self/status"), -1) << PlatformLoadLibraryError().str();

    HMODULE hLib = LoadLibraryA("libm.so.6");
    ASSERT_NE(hLib, nullptr);
    EXPECT_EQ(GetProcAddress(hLib, "GetDllView"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(hLib));
}

TEST(ModulesTest, ChainOwnsTheClassesOfAnAttachedModule) {
    HMODULE hLib = LoadLibraryA("libm.so.6");  // any loaded module can carry the record
    ASSERT_NE(hLib, nullptr);
    AFX_EXTENSION_MODULE record = {};
    ParkAndRegister();
    ASSERT_TRUE(AfxInitExtensionModule(record, hLib));
    EXPECT_EQ(record.pFirstSharedClass, &classCHandMade);
    EXPECT_EQ(CRuntimeClass::FromName("CHandMade"), nullptr);  // not in the chain yet
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));  // lists restored

    new CDynLinkLibrary(record);
    EXPECT_EQ(CRuntimeClass::FromName("CHandMade"), &classCHandMade);
    EXPECT_TRUE(AfxInitExtensionModule(record, hLib));  // again: nothing changes

    AfxTermExtensionModule(record);
    EXPECT_EQ(CRuntimeClass::FromName("CHandMade"), nullptr);
    for (CDynLinkLibrary* pDLL = AfxGetModuleState()->m_pLibraryHead; pDLL; pDLL = pDLL->m_pNextDLL)
        EXPECT_NE(pDLL->m_hModule, hLib);
    EXPECT_TRUE(FreeLibrary(hLib));
}

TEST(ModulesTest, RefusedInitRestoresTheLists) {
    AFX_EXTENSION_MODULE record = {};
    CRuntimeClass* pHeadBefore = AfxGetModuleState()->m_pClassHead;
    ParkAndRegister();
    EXPECT_FALSE(AfxInitExtensionModule(record, nullptr));
    EXPECT_FALSE(record.bInitialized);
    EXPECT_EQ(AfxGetModuleState()->m_pClassHead, pHeadBefore);
    EXPECT_EQ(AfxGetModuleState()->m_pClassInit, nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CHandMade"), nullptr);
    AfxTermExtensionModule(record);  // never initialised: nothing to do
}
