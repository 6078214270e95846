#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/Errors.h"
#include "platform/OleData.h"
#include "support/ClipboardSupport.h"

namespace {

HGLOBAL TextBlock(const char* text) { return BlockOf(text, std::strlen(text) + 1); }

void PutText(const char* text) { PutOnClipboard(text, std::strlen(text) + 1); }

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
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    HGLOBAL hRefused = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, hRefused), nullptr);
    EXPECT_EQ(GlobalFree(hRefused), nullptr);  // refused: the block stayed the caller's
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(hA));
    EXPECT_TRUE(OpenClipboard(hA));   // the holder again
    EXPECT_FALSE(OpenClipboard(hB));  // anyone else waits
    EXPECT_FALSE(OpenClipboard(nullptr));
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
    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x1)));
    DestroyWindow(hA);
}

TEST_F(ClipboardTest, TheClipboardOwnsItsBlocks) {
    HGLOBAL hFirst = TextBlock("first"), hSecond = TextBlock("second");
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_TEXT, hFirst), hFirst);
    EXPECT_EQ(GlobalFree(hFirst), hFirst);  // not the caller's any more
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(SetClipboardData(CF_OEMTEXT, hFirst), nullptr);  // one block, one format
    EXPECT_EQ(SetClipboardData(CF_TEXT, hSecond), hSecond);    // the first is freed
    EXPECT_EQ(GlobalSize(hFirst), 0u);
    EXPECT_EQ(GetClipboardData(CF_TEXT), hSecond);
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "second");

    HGLOBAL hStale = TextBlock("stale");
    GlobalFree(hStale);
    EXPECT_EQ(SetClipboardData(CF_TEXT, hStale), nullptr);
    HGLOBAL hNoFormat = TextBlock("no format");
    EXPECT_EQ(SetClipboardData(0, hNoFormat), nullptr);
    EXPECT_EQ(GlobalFree(hNoFormat), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);  // no delayed rendering
    EXPECT_EQ(GetClipboardData(CF_TEXT), hSecond);
    EXPECT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));  // no need to open it
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(hSecond), 0u);  // freed with the clipboard's contents
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(ClipboardTest, ADataObjectHandsOutCopiesOfASourcesBlocks) {
    auto* pSource = new COleDataSource;
    HGLOBAL hText = TextBlock("abc");
    pSource->CacheGlobalData(CF_TEXT, hText);
    COleDataObject data;
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));  // nothing attached yet
    data.Attach(pSource, FALSE);
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_OEMTEXT));
    FORMATETC icon = {CF_TEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT, &icon));
    FORMATETC onlyStreams = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT, &onlyStreams));

    STGMEDIUM medium;
    ASSERT_TRUE(data.GetData(CF_TEXT, &medium));
    EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_NE(medium.hGlobal, hText);
    EXPECT_EQ(BlockText(medium.hGlobal), "abc");
    EXPECT_EQ(GlobalSize(medium.hGlobal), 4u);
    HGLOBAL hCopy = medium.hGlobal;
    ReleaseStgMedium(&medium);
    EXPECT_EQ(GlobalSize(hCopy), 0u);
    ReleaseStgMedium(&medium);  // released media are empty
    EXPECT_EQ(BlockText(hText), "abc");  // the source keeps its own

    HGLOBAL hGlobal = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(BlockText(hGlobal), "abc");
    GlobalFree(hGlobal);
    EXPECT_FALSE(data.GetData(CF_OEMTEXT, &medium));
    EXPECT_EQ(data.GetGlobalData(CF_OEMTEXT), nullptr);

    pSource->CacheGlobalData(CF_TEXT, TextBlock("new"));  // replaces (and frees) the old block
    EXPECT_EQ(GlobalSize(hText), 0u);
    HGLOBAL hStale = TextBlock("x");
    GlobalFree(hStale);
    pSource->CacheGlobalData(CF_OEMTEXT, hStale);  // not a block: ignored
    EXPECT_FALSE(data.IsDataAvailable(CF_OEMTEXT));
    data.Release();
    delete pSource;
}

TEST_F(ClipboardTest, TheClipboardTakesASourceAndDeletesItWhenEmptied) {
    bool bDeleted = false;
    auto* pSource = new CWatchedSource(&bDeleted);
    pSource->CacheGlobalData(CF_TEXT, TextBlock("on the clipboard"));
    pSource->SetClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), pSource);
    pSource->SetClipboard();  // again: still held, not deleted on the way
    EXPECT_FALSE(bDeleted);

    ASSERT_TRUE(OpenClipboard(nullptr));  // plain readers see a copy
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "on the clipboard");
    CloseClipboard();
    COleDataObject data;
    EXPECT_TRUE(data.AttachClipboard());
    HGLOBAL hText = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(BlockText(hText), "on the clipboard");
    GlobalFree(hText);

    PutText("replaced");
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    hText = data.GetGlobalData(CF_TEXT);  // the clipboard as it is now
    EXPECT_EQ(BlockText(hText), "replaced");
    GlobalFree(hText);

    // While a window holds the clipboard open, the source stays the caller's.
    bDeleted = false;
    auto* pRefused = new CWatchedSource(&bDeleted);
    pRefused->CacheGlobalData(CF_TEXT, TextBlock("refused"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    pRefused->SetClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "replaced");
    CloseClipboard();

    // A source deleted by its caller leaves the clipboard its copies.
    pRefused->SetClipboard();
    delete pRefused;
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    hText = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(BlockText(hText), "refused");
    GlobalFree(hText);
}
