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
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 0);
    winsock::testing::ResetStartupOutcome();
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"Windows 通信端口初始化失败。"}));
    EXPECT_EQ(boxes.shown[0].caption, "quenzo");
    EXPECT_EQ(boxes.shown[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(test::VisibleTopLevelWindows(), 0);
}

}  // namespace
