#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "module/CBasis1.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Modules.h"

namespace {

// The plugin's path in the library's backslash form.
CString PluginPath(const char* posix = CBASIS_TEST_PLUGIN) { return PlatformFromPosixPath(posix); }

CDynLinkLibrary* LibraryOf(HMODULE hModule) {
    AfxLockGlobals(CRIT_DYNLINKLIST);
    CDynLinkLibrary* pDLL = AfxGetModuleState()->m_pLibraryHead;
    while (pDLL && pDLL->m_hModule != hModule) pDLL = pDLL->m_pNextDLL;
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return pDLL;
}

bool InList(const CRuntimeClass* pHead, const CRuntimeClass* pClass) {
    for (; pHead; pHead = pHead->m_pNextClass)
        if (pHead == pClass) return true;
    return false;
}

std::string ModuleName(HMODULE hModule) {
    char buffer[MAX_PATH * 4];
    return std::string(buffer, GetModuleFileNameA(hModule, buffer, sizeof buffer));
}

int probeCalls = 0;
bool probeSawClass = true;
void RecordUnload(bool bClassFindable) {
    ++probeCalls;
    probeSawClass = bClassFindable;
}

}  // namespace

TEST(ModuleTest, PluginClassesAreFoundByNameWhileItIsLoaded) {
    ASSERT_EQ(CRuntimeClass::FromName("CPluginView"), nullptr);
    HINSTANCE hPlugin = AfxLoadLibrary(PluginPath());
    ASSERT_NE(hPlugin, nullptr);
    EXPECT_EQ(ModuleName(hPlugin), std::string(PluginPath()));

    CRuntimeClass* pClass = CRuntimeClass::FromName("CPluginView");
    ASSERT_NE(pClass, nullptr);
    auto pGetDllView = reinterpret_cast<CRuntimeClass* (*)()>(GetProcAddress(hPlugin, "GetDllView"));
    ASSERT_NE(pGetDllView, nullptr);
    EXPECT_EQ(pGetDllView(), pClass);
    {
        std::unique_ptr<CObject> view(pClass->CreateObject());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetRuntimeClass(), pClass);
        EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CObject)));
    }

    // The class went to the plugin's own list in the chain, not to the
    // application's: the entry's attach ran after the plugin's statics.
    CDynLinkLibrary* pDLL = LibraryOf(hPlugin);
    ASSERT_NE(pDLL, nullptr);
    EXPECT_TRUE(InList(pDLL->m_pFirstClass, pClass));
    EXPECT_FALSE(InList(AfxGetModuleState()->m_pClassHead, pClass));
    EXPECT_EQ(AfxGetModuleState()->m_pClassInit, nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));

    ASSERT_TRUE(AfxFreeLibrary(hPlugin));
    EXPECT_EQ(CRuntimeClass::FromName("CPluginView"), nullptr);
    EXPECT_EQ(LibraryOf(hPlugin), nullptr);
    EXPECT_FALSE(AfxFreeLibrary(hPlugin));
    EXPECT_EQ(GetProcAddress(hPlugin, "GetDllView"), nullptr);
}

TEST(ModuleTest, UnloadDetachesBeforeTheStaticDestructors) {
    HINSTANCE hPlugin = AfxLoadLibrary(PluginPath());
    ASSERT_NE(hPlugin, nullptr);
    auto pSetProbe = reinterpret_cast<void (*)(void (*)(bool))>(GetProcAddress(hPlugin, "SetUnloadProbe"));
    ASSERT_NE(pSetProbe, nullptr);
    pSetProbe(RecordUnload);
    ASSERT_TRUE(AfxFreeLibrary(hPlugin));
    EXPECT_EQ(probeCalls, 1);
    EXPECT_FALSE(probeSawClass);
}

TEST(ModuleTest, EveryLoadNeedsItsOwnRelease) {
    HINSTANCE hFirst = AfxLoadLibrary(PluginPath());
    HINSTANCE hSecond = AfxLoadLibrary(PluginPath());
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(hSecond, hFirst);
    ASSERT_TRUE(AfxFreeLibrary(hFirst));
    EXPECT_NE(CRuntimeClass::FromName("CPluginView"), nullptr);
    ASSERT_TRUE(AfxFreeLibrary(hSecond));
    EXPECT_EQ(CRuntimeClass::FromName("CPluginView"), nullptr);
}

TEST(ModuleTest, RefusedAttachFailsTheLoad) {
    EXPECT_EQ(AfxLoadLibrary(PluginPath(CBASIS_TEST_REFUSING_PLUGIN)), nullptr);
    EXPECT_EQ(dlopen(CBASIS_TEST_REFUSING_PLUGIN, RTLD_NOW | RTLD_NOLOAD), nullptr);  // unloaded again
    // The refusal does not stick to the next load.
    HINSTANCE hPlugin = AfxLoadLibrary(PluginPath());
    EXPECT_NE(hPlugin, nullptr);
    EXPECT_TRUE(AfxFreeLibrary(hPlugin));
}

TEST(ModuleTest, LibraryJoinedTheChainWhenTheProgramStarted) {
    CBasis1 module;  // the program uses the library, so it was loaded with it
    (void)module;
    CDynLinkLibrary* pDLL = nullptr;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary* p = AfxGetModuleState()->m_pLibraryHead; p; p = p->m_pNextDLL)
        if (ModuleName(p->m_hModule).find("\\libCBasis1.so") != std::string::npos) pDLL = p;
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    ASSERT_NE(pDLL, nullptr);
    HMODULE hLibrary = pDLL->m_hModule;
    EXPECT_EQ(AfxGetModuleState()->m_pClassInit, nullptr);

    // Each of its classes is in its own list, none in the application's.
    for (const CRuntimeClass* p = pDLL->m_pFirstClass; p; p = p->m_pNextClass)
        EXPECT_EQ(PlatformModuleFromAddress(p), hLibrary) << p->m_lpszClassName;
    for (const CRuntimeClass* p = AfxGetModuleState()->m_pClassHead; p; p = p->m_pNextClass)
        EXPECT_NE(PlatformModuleFromAddress(p), hLibrary) << p->m_lpszClassName;
}
