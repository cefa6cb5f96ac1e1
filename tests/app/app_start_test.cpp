#include "app/ConsoleApp.h"

#include <gtest/gtest.h>

#include "net/winsock.h"
#include "net/winsock_testing.h"
#include "tests/support/DialogDriver.h"

namespace {

// Its own executable: the socket service starts once per process, and here it must be refused.
TEST(Startup, ARefusedSocketServiceShowsItsMessageAloneAndEndsWithStatusZero) {
    CConsoleApp app;
    AfxDeriveAppNames(&app, "/usr/bin/quenzo");
    test::MessageBoxes boxes;
    winsock::testing::SetStartupOutcome(winsock::WSASYSNOTREADY, 0);
    // The error mode comes first, added to what the process had.
    constexpr UINT kNoFaultBox = 0x0002;
    ::SetErrorMode(kNoFaultBox);
    EXPECT_FALSE(app.InitInstance());
    const UINT mode = ::SetErrorMode(0);
    EXPECT_EQ(mode, kNoFaultBox | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    EXPECT_EQ(app.ExitInstance(), 0);
    winsock::testing::ResetStartupOutcome();
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"Windows 通信端口初始化失败。"}));
    EXPECT_EQ(boxes.shown[0].caption, "quenzo");
    EXPECT_EQ(boxes.shown[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(test::VisibleTopLevelWindows(), 0);
}

}  // namespace
