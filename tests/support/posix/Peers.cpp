#include "tests/support/Peers.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "framework/MessageLoop.h"

namespace test {
namespace {

int Os(Fd::Handle fd) { return static_cast<int>(fd); }

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t BoundPort(Fd::Handle handle) {
    const int fd = Os(handle);
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

Fd Bound(int type, std::uint16_t* port) {
    Fd fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0));
    EXPECT_GE(fd.get(), 0);
    const sockaddr_in address = Loopback(0);
    EXPECT_EQ(::bind(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    *port = BoundPort(fd.get());
    return fd;
}

// Waits for `fd` to be readable (or to have an error or hang-up to report) while delivering
// messages, since the console's side runs on this thread's loop. A descriptor of the test's own
// wakes no message loop, so the wait looks again every millisecond.
bool WaitReadable(Fd::Handle fd, int timeoutMs) {
    pollfd waiting{Os(fd), POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (::poll(&waiting, 1, 0) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        AfxPumpMessagesUntil([] { return false; }, 1);
    }
    return true;
}

}  // namespace

void Fd::reset() {
    if (m_fd >= 0) {
        ::close(static_cast<int>(m_fd));
        m_fd = kNone;
    }
}

Fd TcpListener(std::uint16_t* port) {
    Fd fd = Bound(SOCK_STREAM, port);
    EXPECT_EQ(::listen(Os(fd.get()), 16), 0);
    return fd;
}

Fd TcpConnect(std::uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(port);
    EXPECT_EQ(::connect(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
        << "connect to 127.0.0.1:" << port << " failed: " << errno;
    return fd;
}

Fd TcpConnectStarted(std::uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(port);
    const int result = ::connect(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    EXPECT_TRUE(result == 0 || errno == EINPROGRESS) << "connect to 127.0.0.1:" << port << " failed: " << errno;
    return fd;
}

int TcpFate(const Fd& fd, int timeoutMs) {
    // Waiting for readability also reports errors and hang-ups; waiting for writability would
    // report a live connection at once.
    if (!WaitReadable(fd.get(), timeoutMs)) {
        return 0;
    }
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(Os(fd.get()), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) {
        return error;
    }
    char byte = 0;
    const ssize_t n = ::recv(Os(fd.get()), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n == 0) {
        return -1;
    }
    return n < 0 ? errno : 0;
}

bool TryTcpConnect(std::uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(port);
    return ::connect(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::uint16_t LocalPort(const Fd& fd) { return BoundPort(fd.get()); }

bool UnderWine() { return false; }

const int kConnectionRefused = ECONNREFUSED;
const int kConnectionReset = ECONNRESET;

Fd TcpAccept(const Fd& listener, int timeoutMs) {
    WaitReadable(listener.get(), timeoutMs);
    return Fd(::accept4(Os(listener.get()), nullptr, nullptr, SOCK_CLOEXEC));
}

Fd UdpSocket(std::uint16_t* port) { return Bound(SOCK_DGRAM, port); }

std::uint16_t FreePort(bool stream) {
    std::uint16_t port = 0;
    Bound(stream ? SOCK_STREAM : SOCK_DGRAM, &port);
    return port;
}

bool PlainBindSucceeds(std::uint16_t port) {
    Fd plain(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(port);
    return ::bind(Os(plain.get()), reinterpret_cast<sockaddr*>(&any), sizeof any) == 0;
}

void SendAll(const Fd& fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(Os(fd.get()), data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        ASSERT_GT(n, 0) << "send failed: " << errno;
        sent += static_cast<std::size_t>(n);
    }
}

void SendDatagram(const Fd& fd, std::uint16_t port, const std::string& data) {
    const sockaddr_in to = Loopback(port);
    ASSERT_EQ(::sendto(Os(fd.get()), data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to),
              static_cast<ssize_t>(data.size()));
}

std::string ReceiveExactly(const Fd& fd, std::size_t length, int timeoutMs) {
    std::string data;
    char buffer[4096];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (data.size() < length) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(fd.get(), static_cast<int>(left.count()))) {
            break;
        }
        const ssize_t n = ::recv(Os(fd.get()), buffer, std::min(sizeof buffer, length - data.size()), 0);
        if (n <= 0) {
            break;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

int ReceiveDatagramSize(const Fd& fd, int timeoutMs) {
    if (!WaitReadable(fd.get(), timeoutMs)) {
        return -1;
    }
    char buffer[65536];
    return static_cast<int>(::recv(Os(fd.get()), buffer, sizeof buffer, 0));
}

void ShutdownWrite(const Fd& fd) { ::shutdown(Os(fd.get()), SHUT_WR); }

void Reset(Fd& fd) {
    const linger abort{1, 0};
    ::setsockopt(Os(fd.get()), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    fd.reset();
}

int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        ::closedir(dir);
    }
    return count - 1;  // the directory listing's own descriptor
}

}  // namespace test
