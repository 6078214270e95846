// Tool bar buttons show the images of the script's bitmap, with the
// standard button colours mapped to the system's; disabled buttons are
// greyed and checked ones sunk.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/mfc/App.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/Snapshot.h"
#include "platform/mfc/StandardIds.h"
#include "platform/mfc/ToolBarImages.h"
#include "platform/user/Input.h"
#include "resource.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace {

const CSize kImage{16, 15};
constexpr int kImages = 3;

// Where each image is drawn: the buttons that are not separators.
constexpr int kButtonOfImage[kImages] = {0, 2, 3};

// The bitmap's own pixels, as the script's file holds them.
class RawImages {
public:
    RawImages() {
        m_bitmap.Attach(LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)));
        m_dc.CreateCompatibleDC(nullptr);
        m_old = m_dc.SelectObject(&m_bitmap);
    }
    ~RawImages() { m_dc.SelectObject(m_old); }
    COLORREF At(int image, int x, int y) const { return m_dc.GetPixel(image * kImage.cx + x, y); }

private:
    CBitmap m_bitmap;
    CDC m_dc;
    CBitmap* m_old = nullptr;
};

// What a standard button colour becomes on screen.
COLORREF Mapped(COLORREF raw) {
    switch (raw) {
    case RGB(0, 0, 0): return GetSysColor(COLOR_BTNTEXT);
    case RGB(128, 128, 128): return GetSysColor(COLOR_BTNSHADOW);
    case RGB(192, 192, 192): return GetSysColor(COLOR_BTNFACE);
    case RGB(255, 255, 255): return GetSysColor(COLOR_BTNHIGHLIGHT);
    default: return raw;
    }
}

class ToolBarImagesTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Tool bar", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        ASSERT_TRUE(m_bar.CreateEx(m_pFrame));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_MAINFRAME));
        m_pFrame->ShowWindow(SW_SHOWNORMAL);
    }
    void TearDown() override {
        if (::IsWindow(m_pFrame->m_hWnd)) m_pFrame->DestroyWindow();
        TempDirTest::TearDown();
    }
    // The bar as drawn, and the top left corner of a button's image in it
    // (centred in the button, as on the original: 3 pixels in).
    Picture Snapshot() {
        PlatformPumpMessages();  // the bar paints
        EXPECT_TRUE(PlatformSnapshotWindow(m_bar.m_hWnd, "C:\\bar.png"));
        return LoadPicture(Posix("bar.png"));
    }
    CPoint ImageAt(int button) const {
        CRect rect;
        m_bar.GetItemRect(button, &rect);
        return CPoint(rect.left + (rect.Width() - kImage.cx) / 2, rect.top + (rect.Height() - kImage.cy) / 2);
    }

    CWinApp m_app;
    CFrameWnd* m_pFrame = nullptr;
    CToolBar m_bar;
};

}  // namespace

TEST_F(ToolBarImagesTest, EachButtonShowsItsImageWithTheButtonColoursMapped) {
    RawImages raw;
    Picture picture = Snapshot();
    int mapped = 0;
    for (int image = 0; image < kImages; ++image) {
        SCOPED_TRACE(image);
        CPoint at = ImageAt(kButtonOfImage[image]);
        for (int y = 0; y < kImage.cy; ++y)
            for (int x = 0; x < kImage.cx; ++x) {
                COLORREF expected = Mapped(raw.At(image, x, y));
                mapped += expected != raw.At(image, x, y);
                ASSERT_EQ(picture.At(at.x + x, at.y + y), expected) << "at " << x << ", " << y;
            }
    }
    EXPECT_GT(mapped, 0) << "the images' grey is drawn as the button face";
    EXPECT_EQ(picture.At(ImageAt(2).x + 7, ImageAt(2).y + 6), RGB(255, 255, 0)) << "the yellow centre of image 1";
}

TEST_F(ToolBarImagesTest, DisabledButtonsAreGreyedAndCheckedOnesSunk) {
    RawImages raw;
    const std::set<COLORREF> kGreys = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW),
                                       GetSysColor(COLOR_BTNHIGHLIGHT)};
    m_bar.SetButtonStyle(3, TBBS_DISABLED);
    m_bar.SetButtonStyle(2, TBBS_CHECKED);
    Picture picture = Snapshot();

    CPoint at = ImageAt(3);
    int differing = 0;
    for (int y = 0; y < kImage.cy; ++y)
        for (int x = 0; x < kImage.cx; ++x) {
            COLORREF shown = picture.At(at.x + x, at.y + y);
            EXPECT_TRUE(kGreys.count(shown)) << "a disabled image is drawn in greys only, at " << x << ", " << y;
            differing += shown != Mapped(raw.At(2, x, y));
        }
    EXPECT_GT(differing, kImage.cx * kImage.cy / 4);
    EXPECT_EQ(picture.At(at.x + 7, at.y + 2), GetSysColor(COLOR_BTNSHADOW)) << "the triangle's tip";
    EXPECT_EQ(picture.At(at.x + 9, at.y + 3), GetSysColor(COLOR_BTNHIGHLIGHT)) << "its highlight, one pixel down right";

    // Checked: the image one pixel down and to the right, the edge sunk.
    CPoint checked = ImageAt(2);
    checked.Offset(1, 1);
    CRect button;
    m_bar.GetItemRect(2, &button);
    EXPECT_EQ(picture.At(checked.x + 7, checked.y + 6), RGB(255, 255, 0));
    EXPECT_EQ(picture.At(button.left, button.top), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(picture.At(button.right - 1, button.bottom - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(ToolBarBitmapTest, ColourTablesAreMappedAndAMissingBitmapFailsTheLoad) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hInfo = FindResourceA(hInst, MAKEINTRESOURCE(IDR_MAINFRAME), RT_BITMAP);
    const struct {
        BOOL bMono;
        COLORREF grey, black, red;  // pixels (0,0), (2,1) and (5,4) of image 0
    } cases[] = {
        {FALSE, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), RGB(255, 0, 0)},
        {TRUE, RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bMono);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.Attach(AfxLoadSysColorBitmap(hInst, hInfo, c.bMono)));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&bitmap);
        EXPECT_EQ(dc.GetPixel(0, 0), c.grey);
        EXPECT_EQ(dc.GetPixel(2, 1), c.black);
        EXPECT_EQ(dc.GetPixel(5, 4), c.red);
        dc.SelectObject(old);
    }
    EXPECT_EQ(AfxLoadSysColorBitmap(hInst, nullptr), nullptr);

    CWinApp app;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Tool bar"));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(pFrame));
    EXPECT_FALSE(bar.LoadToolBar(IDR_NO_BITMAP));
    EXPECT_EQ(bar.GetCount(), 1) << "the buttons are there, without images";
    pFrame->DestroyWindow();
}

TEST(ToolBarBitmapTest, DisabledImagesAreEmbossedCellByCell) {
    // Two cells 2 pixels wide, 2 high; D dark, . background. The highlight
    // of a dark pixel in a cell's last column would fall in the next cell:
    // it is left out.
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                   light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const struct {
        const char* what;
        const char* image;  // rows of 4
        std::vector<COLORREF> expected;
    } cases[] = {
        {"first column", "D.D.....", {shadow, face, shadow, face, face, light, face, light}},
        {"last column", ".D......", {face, shadow, face, face, face, face, face, face}},
        {"dark on dark", "DD..DD..", {shadow, shadow, face, face, shadow, shadow, face, face}},
    };
    for (const auto& c : cases) {
        for (UINT bits : {32u, 1u}) {
            SCOPED_TRACE(std::string(c.what) + (bits == 1 ? ", 1 bit" : ", 32 bits"));
            std::vector<BYTE> data(bits == 1 ? 4 : 32, 0);
            for (int i = 0; i < 8; ++i) {
                bool dark = c.image[i] == 'D';
                if (bits == 1) {
                    if (!dark) data[(i / 4) * 2] |= static_cast<BYTE>(0x80 >> (i % 4));  // set: white
                } else {
                    COLORREF colour = dark ? RGB(0, 0, 0) : face;
                    data[4 * i] = GetBValue(colour), data[4 * i + 1] = GetGValue(colour);
                    data[4 * i + 2] = GetRValue(colour);
                }
            }
            CBitmap images, disabled;
            images.Attach(CreateBitmap(4, 2, 1, bits, data.data()));
            ASSERT_TRUE(disabled.Attach(PlatformDisabledImages(images, 2)));
            CDC dc;
            dc.CreateCompatibleDC(nullptr);
            CBitmap* old = dc.SelectObject(&disabled);
            std::vector<COLORREF> shown;
            for (int i = 0; i < 8; ++i) shown.push_back(dc.GetPixel(i % 4, i / 4));
            dc.SelectObject(old);
            EXPECT_EQ(shown, c.expected);
        }
    }
}
