// The frame tests' fixture on the display: a test skips, saying why, when
// there is no display, and otherwise runs on the GTK 3 driver.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "XServer.h"
#include "frame/FrameHost.h"
#include "platform/user/UserDriver.h"

class DisplayFrameTest : public FrameTest {
protected:
    void SetUp() override {
        std::string why;
        if (!display::Ready(&why)) GTEST_SKIP() << "no display for the display tests: " << why;
        FrameTest::SetUp();
        ASSERT_STREQ(PlatformUserDriver().name, "gtk3");
    }
};
