// What hosts may call but this platform cannot do fails loudly: the
// original's failure result, and one message on stderr per member.
#include <gtest/gtest.h>

#include <functional>

#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Frames.h"
#include "platform/mfc/Unsupported.h"

TEST(UnsupportedTest, BarsAndMenusFailWithTheOriginalsResultAndSaySoOnce) {
    CToolBar toolBar;
    CStatusBar statusBar;
    CFrameWnd frame;
    const UINT indicators[] = {0};
    const struct {
        const char* member;
        std::function<BOOL()> call;
    } cases[] = {
        {"CToolBar::CreateEx", [&] { return toolBar.CreateEx(&frame); }},
        {"CToolBar::LoadToolBar", [&] { return toolBar.LoadToolBar(128u); }},
        {"CStatusBar::Create", [&] { return statusBar.Create(&frame); }},
        {"CStatusBar::SetIndicators", [&] { return statusBar.SetIndicators(indicators, 1); }},
        {"CFrameWnd::LoadAccelTable", [&] { return frame.LoadAccelTable("IDR_MAINFRAME"); }},
        {"CFrameWnd::GetControlBar", [&] { return static_cast<BOOL>(frame.GetControlBar(0xE800) != nullptr); }},
        {"CWnd::GetMenu", [&] { return static_cast<BOOL>(frame.GetMenu() != nullptr); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        int before = PlatformUnsupportedCalls(c.member);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(c.call());
        EXPECT_FALSE(c.call());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(PlatformUnsupportedCalls(c.member), before + 2);
        if (before == 0) {
            EXPECT_EQ(said.find(c.member), 0u) << said;
            EXPECT_EQ(said.find(c.member, 1), std::string::npos) << said;  // once only
        }
    }
}
