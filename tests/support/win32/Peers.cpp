// Test peers on the system's own Windows Sockets, made and driven without the service under test.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/support/Peers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "framework/MessageLoop.h"

namespace test {
namespace {

SOCKET Os(Fd::Handle fd) { return static_cast<SOCKET>(fd); }

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t BoundPort(Fd::Handle fd) {
    sockaddr_in address{};
    int length = sizeof address;
    ::getsockname(Os(fd), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

Fd Open(int type) {
    // The test's sockets need Windows Sockets started whether or not the service has been.
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    EXPECT_TRUE(started);
    const SOCKET s = ::socket(AF_INET, type, 0);
    return Fd(s == INVALID_SOCKET ? Fd::kNone : static_cast<Fd::Handle>(s));
}

Fd Bound(int type, std::uint16_t* port) {
    Fd fd = Open(type);
    EXPECT_NE(fd.get(), Fd::kNone);
    const sockaddr_in address = Loopback(0);
    EXPECT_EQ(::bind(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    *port = BoundPort(fd.get());
    return fd;
}

// Waits for the socket to be readable (or to have an error or a close to report) while delivering
// messages, since the console's side runs on this thread's loop; the wait looks again every
// millisecond.
bool WaitReadable(Fd::Handle fd, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        WSAPOLLFD waiting{Os(fd), POLLRDNORM, 0};
        if (::WSAPoll(&waiting, 1, 0) > 0) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        AfxPumpMessagesUntil([] { return false; }, 1);
    }
}

void SetBlocking(Fd::Handle fd, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    ::ioctlsocket(Os(fd), FIONBIO, &nonBlocking);
}

}  // namespace

bool UnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

const int kConnectionRefused = WSAECONNREFUSED;
const int kConnectionReset = WSAECONNRESET;

void Fd::reset() {
    if (m_fd != kNone) {
        ::closesocket(Os(m_fd));
        m_fd = kNone;
    }
}

Fd TcpListener(std::uint16_t* port) {
    Fd fd = Bound(SOCK_STREAM, port);
    EXPECT_EQ(::listen(Os(fd.get()), 16), 0);
    return fd;
}

Fd TcpConnect(std::uint16_t port) {
    Fd fd = Open(SOCK_STREAM);
    const sockaddr_in address = Loopback(port);
    EXPECT_EQ(::connect(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
        << "connect to 127.0.0.1:" << port << " failed: " << ::WSAGetLastError();
    return fd;
}

Fd TcpConnectStarted(std::uint16_t port) {
    Fd fd = Open(SOCK_STREAM);
    SetBlocking(fd.get(), false);
    const sockaddr_in address = Loopback(port);
    const int result = ::connect(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    EXPECT_TRUE(result == 0 || ::WSAGetLastError() == WSAEWOULDBLOCK)
        << "connect to 127.0.0.1:" << port << " failed: " << ::WSAGetLastError();
    return fd;
}

int TcpFate(const Fd& fd, int timeoutMs) {
    if (!WaitReadable(fd.get(), timeoutMs)) {
        return 0;
    }
    int error = 0;
    int length = sizeof error;
    ::getsockopt(Os(fd.get()), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    if (error != 0) {
        return error;
    }
    SetBlocking(fd.get(), false);
    char byte = 0;
    const int n = ::recv(Os(fd.get()), &byte, 1, MSG_PEEK);
    const int lastError = ::WSAGetLastError();
    if (n == 0) {
        return -1;
    }
    return n < 0 && lastError != WSAEWOULDBLOCK ? lastError : 0;
}

bool TryTcpConnect(std::uint16_t port) {
    Fd fd = Open(SOCK_STREAM);
    const sockaddr_in address = Loopback(port);
    return ::connect(Os(fd.get()), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::uint16_t LocalPort(const Fd& fd) { return BoundPort(fd.get()); }

Fd TcpAccept(const Fd& listener, int timeoutMs) {
    WaitReadable(listener.get(), timeoutMs);
    const SOCKET s = ::accept(Os(listener.get()), nullptr, nullptr);
    return Fd(s == INVALID_SOCKET ? Fd::kNone : static_cast<Fd::Handle>(s));
}

Fd UdpSocket(std::uint16_t* port) { return Bound(SOCK_DGRAM, port); }

std::uint16_t FreePort(bool stream) {
    std::uint16_t port = 0;
    Bound(stream ? SOCK_STREAM : SOCK_DGRAM, &port);
    return port;
}

bool PlainBindSucceeds(std::uint16_t port) {
    Fd plain = Open(SOCK_STREAM);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(port);
    return ::bind(Os(plain.get()), reinterpret_cast<sockaddr*>(&any), sizeof any) == 0;
}

void SendAll(const Fd& fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const int n = ::send(Os(fd.get()), data.data() + sent, static_cast<int>(data.size() - sent), 0);
        ASSERT_GT(n, 0) << "send failed: " << ::WSAGetLastError();
        sent += static_cast<std::size_t>(n);
    }
}

void SendDatagram(const Fd& fd, std::uint16_t port, const std::string& data) {
    const sockaddr_in to = Loopback(port);
    ASSERT_EQ(::sendto(Os(fd.get()), data.data(), static_cast<int>(data.size()), 0,
                       reinterpret_cast<const sockaddr*>(&to), sizeof to),
              static_cast<int>(data.size()));
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
        const int n = ::recv(Os(fd.get()), buffer, static_cast<int>(std::min(sizeof buffer, length - data.size())), 0);
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
    static char buffer[65536];
    return ::recv(Os(fd.get()), buffer, sizeof buffer, 0);
}

void ShutdownWrite(const Fd& fd) { ::shutdown(Os(fd.get()), SD_SEND); }

void Reset(Fd& fd) {
    const linger abort{1, 0};
    ::setsockopt(Os(fd.get()), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    fd.reset();
}

int OpenDescriptors() {
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return static_cast<int>(count);
}

}  // namespace test
