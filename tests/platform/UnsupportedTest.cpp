// What hosts may call but this platform cannot do fails loudly: the
// original's failure result, and one message on stderr per member.
#include <gtest/gtest.h>

#include <functional>

#include "platform/mfc/Frames.h"
#include "platform/mfc/Unsupported.h"

TEST(UnsupportedTest, WhatBarsAndFramesCannotDoFailsWithTheOriginalsResultAndSaysSoOnce) {
    CWnd wnd;
    const struct {
        const char* member;
        std::function<BOOL()> call;
    } cases[] = {
        {"CWnd::SetIcon", [&] { return static_cast<BOOL>(wnd.SetIcon(nullptr, TRUE) != nullptr); }},
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
