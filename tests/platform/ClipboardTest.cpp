#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/kernel/Errors.h"
#include "platform/mfc/OleDataSource.h"
#include "support/ClipboardSupport.h"

namespace {

HGLOBAL TextBlock(const char* text) { return BlockOf(text, std::strlen(text) + 1); }

HWND NewWindow() {
    return PlatformCreateWindowEx(DefWindowProcA, 0, "Plain", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr);
}

// A source that tells when it is deleted.
class CWatchedSource : public COleDataSource {
public:
    explicit CWatchedSource(bool* pDeleted) : m_pDeleted(pDeleted) {}
    ~CWatchedSource() override { *m_pDeleted = true; }
    bool* m_pDeleted;
};

class ClipboardTest : public ::testing::Test {
protected:
    void TearDown() override { ClearClipboard(); }
};

}  // namespace

TEST_F(ClipboardTest, OneHolderAtATimeAndTheCallsNeedItOpen) {
    HWND hA = NewWindow(), hB = NewWindow();
    HGLOBAL hRefused = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, hRefused), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_EQ(GlobalFree(hRefused), nullptr);  // refused: it stayed the caller's
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(hA));
    EXPECT_TRUE(OpenClipboard(hA));  // the holder again
    EXPECT_FALSE(OpenClipboard(hB));
    bool otherThreadOpened = true;
    std::thread([&] { otherThreadOpened = OpenClipboard(nullptr); }).join();
    EXPECT_FALSE(otherThreadOpened);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), hA);
    EXPECT_TRUE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(hB));
    DestroyWindow(hB);  // a destroyed holder leaves it closed
    EXPECT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(CloseClipboard());
    DestroyWindow(hA);
}

TEST_F(ClipboardTest, TheClipboardOwnsItsBlocksUntilItLetsThemGo) {
    HGLOBAL hFirst = TextBlock("first"), hSecond = TextBlock("second"), hStale = TextBlock("stale");
    GlobalFree(hStale);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(CF_TEXT, hFirst), hFirst);
    EXPECT_EQ(GlobalFree(hFirst), hFirst);                      // not the caller's any more
    EXPECT_EQ(SetClipboardData(CF_OEMTEXT, hFirst), nullptr);  // one block, one format
    EXPECT_EQ(SetClipboardData(CF_TEXT, hStale), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);    // no delayed rendering
    EXPECT_EQ(SetClipboardData(CF_TEXT, hSecond), hSecond);    // the first is freed
    EXPECT_EQ(GlobalSize(hFirst), 0u);
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "second");
    EXPECT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));  // without opening it
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(hSecond), 0u);
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(ClipboardTest, ADataObjectHandsOutCopiesOfASourcesBlocks) {
    COleDataSource source;
    HGLOBAL hText = TextBlock("abc");
    source.CacheGlobalData(CF_TEXT, hText);
    COleDataObject data;
    data.Attach(&source, FALSE);
    FORMATETC icon = {CF_TEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
    FORMATETC streams = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_FALSE(data.IsDataAvailable(CF_OEMTEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT, &icon));
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT, &streams));

    STGMEDIUM medium;
    ASSERT_TRUE(data.GetData(CF_TEXT, &medium));
    EXPECT_NE(medium.hGlobal, hText);
    EXPECT_EQ(BlockText(medium.hGlobal), "abc");
    HGLOBAL hCopy = medium.hGlobal;
    ReleaseStgMedium(&medium);
    ReleaseStgMedium(&medium);  // released media are empty
    EXPECT_EQ(GlobalSize(hCopy), 0u);
    EXPECT_EQ(BlockText(hText), "abc");  // the source keeps its own
}

TEST_F(ClipboardTest, TheClipboardTakesASourceAndDeletesItWhenEmptied) {
    bool bDeleted = false;
    auto* pSource = new CWatchedSource(&bDeleted);
    pSource->CacheGlobalData(CF_TEXT, TextBlock("on the clipboard"));
    pSource->SetClipboard();
    pSource->SetClipboard();  // again: not deleted on the way
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), pSource);
    EXPECT_EQ(ClipboardText(), "on the clipboard");  // a copy, for plain readers too

    PutOnClipboard("replaced", 9);
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);

    // While someone holds the clipboard open, the source stays the caller's.
    COleDataSource refused;
    refused.CacheGlobalData(CF_TEXT, TextBlock("refused"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    refused.SetClipboard();
    CloseClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    EXPECT_EQ(ClipboardText(), "replaced");
}
