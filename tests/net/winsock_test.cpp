#include "net/winsock.h"

#include <gtest/gtest.h>

#include <cstring>

#include "net/winsock_testing.h"
#include "tests/support/Peers.h"

namespace ws = winsock;

namespace {

// Windows Sockets serves a program once it has started the service.
class ServiceStarted : public ::testing::Environment {
public:
    void SetUp() override {
        ws::WSADATA data{};
        ASSERT_EQ(ws::WSAStartup(MAKEWORD(1, 1), &data), 0);
    }
};
[[maybe_unused]] const ::testing::Environment* const kServiceStarted =
    ::testing::AddGlobalTestEnvironment(new ServiceStarted);

ws::sockaddr_in Address(const char* text, std::uint16_t port) {
    ws::sockaddr_in in{};
    in.sin_family = ws::AF_INET;
    in.sin_port = ws::htons(port);
    in.sin_addr.s_addr = ws::inet_addr(text);
    return in;
}

const ws::sockaddr* Generic(const ws::sockaddr_in& in) { return reinterpret_cast<const ws::sockaddr*>(&in); }

int BindTo(ws::SOCKET s, const char* text, std::uint16_t port) {
    const ws::sockaddr_in in = Address(text, port);
    return ws::bind(s, Generic(in), sizeof in);
}

TEST(Containment, NoSocketOfTheTestsCanReachBeyondLoopback) {
    // The tests run in a network namespace with loopback alone (under Wine, the prefix's server
    // too, since it makes the sockets). A datagram socket's connect sends nothing: to the broadcast
    // address it finds no route there, where a network would have one (and refuse it for want of
    // the broadcast option).
    const ws::SOCKET s = ws::socket(ws::AF_INET, ws::SOCK_DGRAM, 0);
    ASSERT_NE(s, ws::INVALID_SOCKET);
    const ws::sockaddr_in everywhere = Address("255.255.255.255", 9);
    EXPECT_EQ(ws::connect(s, Generic(everywhere), sizeof everywhere), ws::SOCKET_ERROR);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAENETUNREACH) << "a network is reachable from here";
    ws::closesocket(s);
}

TEST(AddressText, ConvertsDottedDecimalAndRejectsEverythingElse) {
    EXPECT_EQ(ws::ntohl(ws::inet_addr("127.0.0.1")), 0x7F000001u);
    EXPECT_EQ(ws::ntohl(ws::inet_addr("10.0.0.5")), 0x0A000005u);
    EXPECT_EQ(ws::inet_addr(""), ws::INADDR_NONE);
    EXPECT_EQ(ws::inet_addr("1.2.3.256"), ws::INADDR_NONE);
    EXPECT_EQ(ws::inet_addr("not-an-address"), ws::INADDR_NONE);
    EXPECT_EQ(ws::inet_addr("255.255.255.255"), ws::INADDR_NONE);

    ws::in_addr in{};
    in.s_addr = ws::htonl(0xC0A80007u);
    EXPECT_STREQ(ws::inet_ntoa(in), "192.168.0.7");
    in.s_addr = ws::htonl(0xFFFFFFFFu);
    EXPECT_STREQ(ws::inet_ntoa(in), "255.255.255.255");
}

TEST(HostLookup, OwnNameGivesInterfaceAddressesWithoutLoopbackUnlessAlone) {
    char name[128] = {};
    ASSERT_EQ(ws::gethostname(name, sizeof name), 0);
    ws::hostent* host = ws::gethostbyname(name);
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->h_length, 4);
    std::vector<std::uint32_t> found;
    for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
        std::uint32_t address = 0;
        std::memcpy(&address, *entry, sizeof address);
        found.push_back(ws::ntohl(address));
    }
    ASSERT_FALSE(found.empty());
    if (found.size() > 1 || found[0] != 0x7F000001u) {
        for (std::uint32_t address : found) {
            EXPECT_NE(address >> 24, 127u) << "loopback listed beside interface addresses";
        }
    }
}

TEST(HostLookup, ListsEveryAddressInOrderAndFailsForUnknownNames) {
    ws::testing::SetHostLookup([](const std::string& name) -> std::optional<std::vector<std::uint32_t>> {
        if (name == "three") {
            return std::vector<std::uint32_t>{ws::inet_addr("10.0.0.1"), ws::inet_addr("10.0.0.2"),
                                              ws::inet_addr("10.0.0.3")};
        }
        return std::nullopt;
    });
    const ws::hostent* host = ws::gethostbyname("three");
    ASSERT_NE(host, nullptr);
    std::vector<std::string> texts;
    for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
        ws::in_addr in{};
        std::memcpy(&in.s_addr, *entry, 4);
        texts.emplace_back(ws::inet_ntoa(in));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(ws::gethostbyname("nobody"), nullptr);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAHOST_NOT_FOUND);
    ws::testing::SetHostLookup(nullptr);
}

TEST(SocketErrors, BindingTwiceIsAnInvalidArgumentAndKeepsTheFirstBinding) {
    const ws::SOCKET s = ws::socket(ws::AF_INET, ws::SOCK_STREAM, 0);
    ASSERT_NE(s, ws::INVALID_SOCKET);
    ASSERT_EQ(BindTo(s, "127.0.0.1", 0), 0);
    const std::uint16_t first = test::LocalPort(s);
    EXPECT_EQ(BindTo(s, "127.0.0.1", 0), ws::SOCKET_ERROR);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAEINVAL);
    EXPECT_EQ(test::LocalPort(s), first);
    ws::closesocket(s);
}

TEST(SocketErrors, APortWithALiveListenerIsInUseForAnotherListener) {
    const ws::SOCKET first = ws::socket(ws::AF_INET, ws::SOCK_STREAM, 0);
    ASSERT_EQ(BindTo(first, "0.0.0.0", 0), 0);
    ASSERT_EQ(ws::listen(first, 1), 0);
    const ws::SOCKET second = ws::socket(ws::AF_INET, ws::SOCK_STREAM, 0);
    EXPECT_EQ(BindTo(second, "0.0.0.0", test::LocalPort(first)), ws::SOCKET_ERROR);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAEADDRINUSE);
    ws::closesocket(second);
    ws::closesocket(first);
}

TEST(SocketErrors, ADatagramPortAlreadyBoundIsRefused) {
    std::uint16_t port = 0;
    test::Fd holder = test::UdpSocket(&port);
    const ws::SOCKET s = ws::socket(ws::AF_INET, ws::SOCK_DGRAM, 0);
    EXPECT_EQ(BindTo(s, "127.0.0.1", port), ws::SOCKET_ERROR);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAEADDRINUSE);
    ws::closesocket(s);
}

TEST(SocketErrors, ReadingWithNothingWaitingWouldBlock) {
    std::uint16_t port = 0;
    test::Fd peer = test::UdpSocket(&port);
    const ws::SOCKET s = ws::socket(ws::AF_INET, ws::SOCK_DGRAM, 0);
    ASSERT_EQ(BindTo(s, "127.0.0.1", 0), 0);
    ws::u_long nonBlocking = 1;
    ASSERT_EQ(ws::ioctlsocket(s, ws::FIONBIO, &nonBlocking), 0);
    char buffer[16];
    EXPECT_EQ(ws::recv(s, buffer, sizeof buffer, 0), ws::SOCKET_ERROR);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAEWOULDBLOCK);
    ws::closesocket(s);
}

TEST(Datagrams, OneLongerThanTheBufferIsTooLongAndGoneAndTheNextIsReadWhole) {
    std::uint16_t peerPort = 0;
    test::Fd peer = test::UdpSocket(&peerPort);
    const ws::SOCKET s = ws::socket(ws::AF_INET, ws::SOCK_DGRAM, 0);
    ASSERT_EQ(BindTo(s, "127.0.0.1", 0), 0);
    const std::uint16_t port = test::LocalPort(s);
    test::SendDatagram(peer, port, std::string(2049, 'x'));
    test::SendDatagram(peer, port, "next");

    char buffer[2048];
    ws::sockaddr_in from{};
    int fromLength = sizeof from;
    ASSERT_TRUE(test::PumpUntil([&] {
        ws::u_long waiting = 0;
        return ws::ioctlsocket(s, ws::FIONREAD, &waiting) == 0 && waiting > 0;
    }));
    EXPECT_EQ(ws::recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<ws::sockaddr*>(&from), &fromLength),
              ws::SOCKET_ERROR);
    EXPECT_EQ(ws::WSAGetLastError(), ws::WSAEMSGSIZE);
    fromLength = sizeof from;
    ASSERT_EQ(ws::recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<ws::sockaddr*>(&from), &fromLength), 4);
    EXPECT_EQ(std::string(buffer, 4), "next");
    EXPECT_EQ(ws::ntohs(from.sin_port), peerPort);
    EXPECT_STREQ(ws::inet_ntoa(from.sin_addr), "127.0.0.1");
    ws::closesocket(s);
}

// The server's own side closes first, so its end of the connection waits out TIME_WAIT on the
// listening port; a new listener must still get that port.
TEST(Listening, APortWhoseOldConnectionWaitsOutTimeWaitCanBeListenedOnAgain) {
    const ws::SOCKET first = ws::socket(ws::AF_INET, ws::SOCK_STREAM, 0);
    ASSERT_EQ(BindTo(first, "0.0.0.0", 0), 0);
    const std::uint16_t port = test::LocalPort(first);
    ASSERT_EQ(ws::listen(first, 1), 0);
    test::Fd client = test::TcpConnect(port);
    ws::SOCKET served = ws::INVALID_SOCKET;
    ASSERT_TRUE(test::PumpUntil([&] { return (served = ws::accept(first, nullptr, nullptr)) != ws::INVALID_SOCKET; }));
    ws::closesocket(first);
    ws::closesocket(served);
    EXPECT_EQ(test::ReceiveExactly(client, 1), "");  // the server's close has reached the client
    client.reset();

    // A plain socket shows that the port really is held by the waiting connection. Windows lets
    // any socket take such a port; there, there is nothing to show.
    if (test::PlainBindSucceeds(port)) {
        GTEST_SKIP() << "the system lets any socket bind a port whose old connection waits out TIME_WAIT";
    }

    const ws::SOCKET again = ws::socket(ws::AF_INET, ws::SOCK_STREAM, 0);
    EXPECT_EQ(BindTo(again, "0.0.0.0", port), 0) << ws::WSAGetLastError();
    EXPECT_EQ(ws::listen(again, 1), 0) << ws::WSAGetLastError();
    ws::closesocket(again);
}

}  // namespace
