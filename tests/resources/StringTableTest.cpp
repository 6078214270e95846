// String tables: LoadStringA's copies and cuts, CString::LoadString, and the
// framework's resource handles reaching a plugin's strings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Profile.h"
#include "platform/mfc/App.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/StandardIds.h"
#include "resource.h"

namespace {

std::string Load(UINT id, int size = 256, HINSTANCE hInstance = nullptr) {
    char buffer[256];
    std::memset(buffer, 'X', sizeof buffer);
    int n = LoadStringA(hInstance, id, buffer, size);
    EXPECT_EQ(buffer[n], '\0');
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer));
    return std::string(buffer, static_cast<size_t>(n));
}

TEST(StringTableTest, LoadsStringsAcrossBlocksInUtf8) {
    struct Case {
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {IDS_GREETING, "Hello, resources"},
        {IDS_BLOCK_END, "last of the first block"},
        {IDS_NEXT_BLOCK, "first of the second block"},
        {IDS_ACCENTED, "Caf\u00e9 cr\u00e8me \u263a"},
        {IDS_UTF8, "Gr\u00fc\u00dfe"},
        {IDS_HIGHEST, "the highest id"},
        {IDR_TESTTYPE, "\nTest\nTest document\nTest files (*.tst)\n.tst\nTest.Document\nTest Document"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(Load(c.id), c.text);
        CString s;
        EXPECT_TRUE(s.LoadString(c.id));
        EXPECT_EQ(s.str(), c.text);
    }
}

TEST(StringTableTest, MissingStringsLoadNothing) {
    // 2: an empty slot of a block that exists; 40: a block that does not;
    // 0x10000: beyond the 16-bit ids.
    for (UINT id : {2u, 40u, 0x10000u}) {
        SCOPED_TRACE(id);
        SetLastError(0);
        EXPECT_EQ(Load(id), "");
        EXPECT_NE(GetLastError(), 0u);
        CString s("kept");
        EXPECT_FALSE(s.LoadString(id));
        EXPECT_EQ(s.str(), "kept");
    }
}

TEST(StringTableTest, CutsToTheBufferAtCharacterBoundaries) {
    EXPECT_EQ(Load(IDS_LONG, 9), "A string");
    EXPECT_EQ(Load(IDS_LONG, 1), "");
    // "Caf\u00e9": the two bytes of the accent do not fit in 4 + 1.
    EXPECT_EQ(Load(IDS_ACCENTED, 5), "Caf");
    EXPECT_EQ(Load(IDS_ACCENTED, 6), "Caf\u00e9");

    char buffer[4] = {'X', 'X', 'X', 'X'};
    for (int size : {0, -1}) {
        SCOPED_TRACE(size);
        SetLastError(0);
        EXPECT_EQ(LoadStringA(nullptr, IDS_GREETING, buffer, size), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(buffer[0], 'X');
    }
    EXPECT_EQ(LoadStringA(nullptr, IDS_GREETING, nullptr, 10), 0);
}

// The resource handle decides where strings come from; a plugin's strings
// are found through the extension-module chain.
TEST(StringTableTest, ResourceHandleAndExtensionModulesDecideTheSource) {
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
    HMODULE hPlugin = LoadLibraryA(PlatformFromPosixPath(CBASIS_RESOURCES_PLUGIN));
    ASSERT_NE(hPlugin, nullptr) << PlatformLoadLibraryError().str();

    CString s;
    EXPECT_TRUE(s.LoadString(IDS_SHARED));
    EXPECT_EQ(s.str(), "from the program");
    EXPECT_TRUE(s.LoadString(IDS_PLUGIN_ONLY));
    EXPECT_EQ(s.str(), "only in the plugin");
    EXPECT_EQ(Load(IDS_PLUGIN_ONLY), "");
    EXPECT_EQ(Load(IDS_PLUGIN_ONLY, 256, hPlugin), "only in the plugin");
    EXPECT_EQ(AfxFindResourceHandle("SAMPLE", "BLOB"), GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDS_PLUGIN_ONLY / 16 + 1), RT_STRING), GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxFindResourceHandle("PluginData", "BLOB"), hPlugin);
    EXPECT_EQ(AfxFindResourceHandle("NOWHERE", "BLOB"), GetModuleHandleA(nullptr));

    AfxSetResourceHandle(hPlugin);
    EXPECT_TRUE(s.LoadString(IDS_SHARED));
    EXPECT_EQ(s.str(), "from the plugin");
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));

    ASSERT_TRUE(FreeLibrary(hPlugin));
    EXPECT_FALSE(s.LoadString(IDS_PLUGIN_ONLY));
}

}  // namespace

// The framework names an application no one named after its title string,
// and its default profile follows; a name given by its constructor stays.
TEST(StringTableTest, TheApplicationIsNamedAfterItsTitleString) {
    struct NoWindows : CWinApp {
        using CWinApp::CWinApp;
        BOOL InitInstance() override { return FALSE; }
    };
    {
        NoWindows app;
        AfxWinMain(nullptr, nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
        EXPECT_STREQ(app.m_pszAppName, "Resource Tests");
        EXPECT_STREQ(AfxGetAppName(), "Resource Tests");
        EXPECT_EQ(CString(app.m_pszProfileName), PlatformDefaultProfile("Resource Tests"));
    }
    AfxSetAppName(nullptr);
    NoWindows named("Ledger");
    AfxWinMain(nullptr, nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
    EXPECT_STREQ(named.m_pszAppName, "Ledger");
    AfxSetAppName(nullptr);
}
