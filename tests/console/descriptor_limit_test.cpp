// A listener that runs out of descriptors: POSIX's descriptor limit lets the test take every one.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "console/ConsoleDlg.h"
#include "tests/console/ConsoleFixture.h"

namespace {

using test::Click;
using test::Status;

class DescriptorLimitTest : public test::ConsoleFixture {};

// A console that counts the accept events it is given.
class CountingConsole : public CConsoleDlg {
public:
    int accepts = 0;
    void OnLinkAccept(CLinkSocket* socket, int errorCode) override {
        ++accepts;
        CConsoleDlg::OnLinkAccept(socket, errorCode);
    }
};

// With every descriptor in use, a waiting connection does not make the listener retry accept in a
// busy loop; once a descriptor is free again the connection is taken.
TEST_F(DescriptorLimitTest, AListenerOutOfDescriptorsRestsAndAcceptsOnceOneIsFree) {
    // A server that accepts while descriptors are plenty first: every kind of event the next one
    // sees has then been seen once. (The undefined-behaviour sanitizer checks the type of an object
    // it meets for the first time through a pipe, which it cannot open with no descriptor left.)
    CountingConsole warmUp;
    Run(warmUp, [&] {
        const std::uint16_t port = test::Listen(warmUp);
        test::Fd client = test::TcpConnect(port);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(warmUp) == "CONNECT SUCCESS."; }));
        Click(warmUp, IDC_BUTTON_CLOSE);
    });

    CountingConsole dialog;
    Run(dialog, [&] {
        const std::uint16_t port = test::Listen(dialog);

        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        rlimit lowered = saved;
        lowered.rlim_cur = static_cast<rlim_t>(test::OpenDescriptors()) + 16;
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
        test::Fd client = test::TcpConnectStarted(port);
        std::vector<test::Fd> filler;
        for (int fd = ::dup(static_cast<int>(client.get())); fd >= 0; fd = ::dup(static_cast<int>(client.get()))) {
            filler.emplace_back(fd);
        }
        ASSERT_EQ(errno, EMFILE);

        test::PumpFor(1000);
        EXPECT_GE(dialog.accepts, 1);
        EXPECT_LE(dialog.accepts, 10) << "the listener retried accept without rest";
        EXPECT_EQ(Status(dialog), "CONNECT FAIL.");
        test::ExpectWaiting(dialog);

        filler.pop_back();  // one descriptor free: taken within the longest rest
        EXPECT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CONNECT SUCCESS."; }, 3000));
        filler.clear();
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
        test::ExpectLinked(dialog);
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

}  // namespace
