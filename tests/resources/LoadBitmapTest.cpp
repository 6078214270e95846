// Bitmap resources from the test program's script, decoded at run time.
#include <gtest/gtest.h>

#include "platform/kernel/Errors.h"
#include "platform/mfc/GdiObjects.h"
#include "resources/resource.h"

TEST(LoadBitmapTest, TheScriptsBitmapLoadsWithItsPixels) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_COLOURS));
    BITMAP bm{};
    ASSERT_TRUE(bitmap.GetBitmap(&bm));
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&bitmap);
    const COLORREF top[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    const COLORREF bottom[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128)};
    for (int x = 0; x < 3; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(dc.GetPixel(x, 0), top[x]) << "the file's rows are bottom-up";
        EXPECT_EQ(dc.GetPixel(x, 1), bottom[x]);
    }
    dc.SelectObject(old);

    SetLastError(0);
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCE(9999)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCE(IDR_DATA)), nullptr) << "raw data is no bitmap";
}
