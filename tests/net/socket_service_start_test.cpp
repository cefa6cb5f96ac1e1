#include "net/AsyncSocket.h"

#include <gtest/gtest.h>

#include "net/winsock_testing.h"

namespace {

// One test: the service starts once per process, so the refusals must come before the success.
TEST(SocketServiceStart, IsRefusedWhenThePlatformFailsOrGrantsAnotherVersionThenStarts) {
    winsock::testing::SetStartupOutcome(winsock::WSASYSNOTREADY, 0);
    EXPECT_FALSE(StartSocketService());

    winsock::testing::SetStartupOutcome(0, MAKEWORD(2, 2));
    winsock::WSADATA data{};
    EXPECT_FALSE(StartSocketService(&data));
    EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    // The refused start was stopped again: nothing is left started.
    EXPECT_EQ(winsock::WSACleanup(), winsock::SOCKET_ERROR);
    EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSANOTINITIALISED);

    winsock::testing::ResetStartupOutcome();
    EXPECT_TRUE(StartSocketService(&data));
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
    EXPECT_TRUE(StartSocketService());
}

}  // namespace
