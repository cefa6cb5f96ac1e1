#include "net/AsyncSocket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "net/SocketService.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Peers.h"

namespace ws = winsock;

namespace {

// Records every event as "<event> <error>", and for a read the byte count it got.
class RecordingSocket : public CAsyncSocket {
public:
    std::vector<std::string> events;
    std::string received;
    std::function<void(RecordingSocket&)> onClose;
    std::function<void(RecordingSocket&)> onAccept;

    void OnReceive(int error) override {
        char buffer[2048];
        const int n = Receive(buffer, sizeof buffer);
        events.push_back("receive " + std::to_string(error) + " " + std::to_string(n));
        if (n > 0) {
            received.append(buffer, static_cast<std::size_t>(n));
        }
    }
    void OnSend(int error) override { events.push_back("send " + std::to_string(error)); }
    void OnAccept(int error) override {
        events.push_back("accept " + std::to_string(error));
        if (onAccept) {
            onAccept(*this);
        }
    }
    void OnConnect(int error) override { events.push_back("connect " + std::to_string(error)); }
    void OnClose(int error) override {
        events.push_back("close " + std::to_string(error));
        if (onClose) {
            onClose(*this);
        }
    }

    bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
};

using Events = std::vector<std::string>;

// The receive events a socket was given. (Windows Sockets tells a datagram socket once that it may
// send; these tests are about what reaches a socket besides.)
Events Receives(const RecordingSocket& socket) {
    Events receives;
    std::copy_if(socket.events.begin(), socket.events.end(), std::back_inserter(receives),
                 [](const std::string& event) { return event.rfind("receive", 0) == 0; });
    return receives;
}

HWND SinkWindow() { return net::ThreadState().window.m_hWnd; }

void PostNotice(ws::SOCKET handle, unsigned event, unsigned error) {
    ASSERT_TRUE(::PostMessage(SinkWindow(), WM_SOCKET_NOTIFY, handle, ws::WSAMAKESELECTREPLY(event, error)));
}

class AsyncSocketTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartSocketService()); }
    void TearDown() override { EXPECT_TRUE(net::ThreadState().live.empty()) << "a test left a socket open"; }

    // A client connected to a test listener: returns the peer's side.
    test::Fd Connected(RecordingSocket& client) {
        std::uint16_t port = 0;
        test::Fd listener = test::TcpListener(&port);
        EXPECT_TRUE(client.Create());
        EXPECT_FALSE(client.Connect("127.0.0.1", port));
        EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEWOULDBLOCK);
        test::Fd peer = test::TcpAccept(listener);
        EXPECT_TRUE(test::PumpUntil([&] { return client.Has("connect 0"); }));
        return peer;
    }
};

TEST_F(AsyncSocketTest, ClientConnectsReceivesAndSeesThePeerClose) {
    RecordingSocket client;
    test::Fd peer = Connected(client);
    ASSERT_TRUE(test::PumpUntil([&] { return client.Has("send 0"); }));
    test::SendAll(peer, "hello");
    ASSERT_TRUE(test::PumpUntil([&] { return client.received == "hello"; }));
    CString address;
    UINT port = 0;
    ASSERT_TRUE(client.GetPeerName(address, port));
    EXPECT_EQ(address, "127.0.0.1");
    EXPECT_NE(port, 0u);
    peer.reset();
    ASSERT_TRUE(test::PumpUntil([&] { return client.Has("close 0"); }));
    EXPECT_EQ(client.events, (Events{"connect 0", "send 0", "receive 0 5", "close 0"}));
    client.Close();
}

TEST_F(AsyncSocketTest, AConnectToAClosedPortFailsThroughTheConnectEventOnly) {
    RecordingSocket client;
    ASSERT_TRUE(client.Create());
    EXPECT_FALSE(client.Connect("127.0.0.1", test::FreePort(true)));
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEWOULDBLOCK);
    ASSERT_TRUE(test::PumpUntil([&] { return !client.events.empty(); }));
    test::PumpFor(50);
    EXPECT_EQ(client.events, (Events{"connect 10061"}));
    client.Close();
}

// A connect the system refuses from the call itself, without a packet: the address every system
// refuses so.
class RawConnectSocket : public RecordingSocket {
public:
    BOOL ConnectTo(std::uint32_t address, UINT port) {
        ws::sockaddr_in name{};
        name.sin_family = ws::AF_INET;
        name.sin_port = ws::htons(static_cast<ws::u_short>(port));
        name.sin_addr.s_addr = address;
        return ConnectHelper(reinterpret_cast<const ws::sockaddr*>(&name), sizeof name);
    }
};

TEST_F(AsyncSocketTest, AConnectTheNetworkRefusesAtOnceFailsThroughTheConnectEventToo) {
    RawConnectSocket client;
    ASSERT_TRUE(client.Create());
    EXPECT_FALSE(client.ConnectTo(0xFFFFFFFF, 7));
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEWOULDBLOCK);
    ASSERT_TRUE(test::PumpUntil([&] { return !client.events.empty(); }));
    test::PumpFor(50);
    ASSERT_EQ(client.events.size(), 1u);
    EXPECT_EQ(client.events[0].rfind("connect ", 0), 0u) << client.events[0];
    EXPECT_NE(client.events[0], "connect 0");
    client.Close();
}

TEST_F(AsyncSocketTest, AUdpEndpointThatSentToAClosedPortStillReceivesTheNextDatagram) {
    RecordingSocket endpoint;
    ASSERT_TRUE(endpoint.Create(0, ws::SOCK_DGRAM));
    ASSERT_EQ(endpoint.SendTo("x", 1, test::FreePort(false), "127.0.0.1"), 1);
    test::PumpFor(50);
    std::uint16_t peerPort = 0;
    test::Fd peer = test::UdpSocket(&peerPort);
    test::SendDatagram(peer, test::LocalPort(endpoint.m_hSocket), "hello");
    ASSERT_TRUE(test::PumpUntil([&] { return endpoint.received == "hello"; }));
    EXPECT_EQ(Receives(endpoint), (Events{"receive 0 5"}));
    endpoint.Close();
}

TEST_F(AsyncSocketTest, ListenerAnnouncesEachWaitingConnectionOnlyAfterTheLastWasAccepted) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0));
    ASSERT_EQ(ws::listen(listener.m_hSocket, 5), 0);
    const std::uint16_t port = test::LocalPort(listener.m_hSocket);
    test::Fd first = test::TcpConnect(port);
    test::Fd second = test::TcpConnect(port);
    ASSERT_TRUE(test::PumpUntil([&] { return listener.Has("accept 0"); }));
    test::PumpFor(50);
    EXPECT_EQ(listener.events, (Events{"accept 0"}));

    RecordingSocket served;
    ASSERT_TRUE(listener.Accept(served));
    ASSERT_NE(served.m_hSocket, ws::INVALID_SOCKET);
    EXPECT_EQ(CAsyncSocket::LookupHandle(served.m_hSocket), &served);
    EXPECT_EQ(CAsyncSocket::LookupHandle(ws::INVALID_SOCKET), nullptr);
    ASSERT_TRUE(test::PumpUntil([&] { return listener.events.size() == 2; }));
    EXPECT_EQ(listener.events[1], "accept 0");

    // The accepted connection inherits the listener's events.
    test::SendAll(first, "ping");
    ASSERT_TRUE(test::PumpUntil([&] { return served.received == "ping"; }));

    RecordingSocket other;
    ASSERT_TRUE(listener.Accept(other));
    test::PumpFor(50);
    EXPECT_EQ(listener.events.size(), 2u);
    other.Close();
    served.Close();
    listener.Close();
}

TEST_F(AsyncSocketTest, AFailedAcceptLeavesTheTargetWithoutASocketOrPlaceholder) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0));
    ASSERT_EQ(ws::listen(listener.m_hSocket, 1), 0);
    RecordingSocket target;
    EXPECT_FALSE(listener.Accept(target));
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEWOULDBLOCK);
    EXPECT_EQ(target.m_hSocket, ws::INVALID_SOCKET);
    EXPECT_EQ(CAsyncSocket::LookupHandle(ws::INVALID_SOCKET), nullptr);
    listener.Close();
}

TEST_F(AsyncSocketTest, ABurstIsReadOneBufferPerReadEvent) {
    RecordingSocket client;
    test::Fd peer = Connected(client);
    test::SendAll(peer, std::string(5000, 'b'));
    ASSERT_TRUE(test::PumpUntil([&] { return client.received.size() == 5000; }));
    EXPECT_EQ(client.events, (Events{"connect 0", "send 0", "receive 0 2048", "receive 0 2048", "receive 0 904"}));
    client.Close();
}

TEST_F(AsyncSocketTest, ALongFloodIsReadWholeOneReceivePerEventWhileTheLoopServesItsTimers) {
    // Handlers take a full buffer or a few bytes, in turn: every event finds bytes waiting, none is
    // lost or doubled, and the loop keeps delivering its timers' ticks between the events.
    class Alternating : public RecordingSocket {
    public:
        int events = 0;
        int empty = 0;
        std::string got;
        void OnReceive(int /*error*/) override {
            char buffer[2048];
            const int n = Receive(buffer, ++events % 2 == 0 ? 100 : static_cast<int>(sizeof buffer));
            empty += n <= 0 ? 1 : 0;
            if (n > 0) {
                got.append(buffer, static_cast<std::size_t>(n));
            }
        }
    } client;
    test::Fd peer = Connected(client);
    std::string flood;
    for (std::size_t i = 0; i < std::size_t{8} * 1024 * 1024; ++i) {
        flood += static_cast<char>('a' + i % 23);
    }
    test::TickCounter ticks(1);
    std::thread sender([&] { test::SendAll(peer, flood); });
    ASSERT_TRUE(test::PumpUntil([&] { return client.got.size() >= flood.size(); }, 30000)) << client.got.size();
    sender.join();
    const int ticked = ticks.Stop();
    EXPECT_TRUE(client.got == flood) << "the bytes read differ from the bytes sent";
    EXPECT_EQ(client.empty, 0);
    EXPECT_GT(ticked, 0);
    test::PumpFor(20);
    EXPECT_EQ(client.empty, 0) << "an event came after the last byte was read";
    client.Close();
}

TEST_F(AsyncSocketTest, ThePeersCloseComesAfterEveryByteSentBeforeIt) {
    RecordingSocket client;
    test::Fd peer = Connected(client);
    std::string data;
    for (int i = 0; i < 3000; ++i) {
        data += static_cast<char>('a' + i % 26);
    }
    test::SendAll(peer, data);
    peer.reset();
    ASSERT_TRUE(test::PumpUntil([&] { return client.Has("close 0"); }));
    EXPECT_EQ(client.received, data);
    EXPECT_EQ(client.events, (Events{"connect 0", "send 0", "receive 0 2048", "receive 0 952", "close 0"}));
    client.Close();
}

TEST_F(AsyncSocketTest, APeersResetClosesWithTheResetError) {
    RecordingSocket client;
    test::Fd peer = Connected(client);
    test::Reset(peer);
    // Wine reports a reset as an orderly close.
    const std::string closed = test::UnderWine() ? "close 0" : "close 10054";
    ASSERT_TRUE(test::PumpUntil([&] { return client.Has(closed); })) << ::testing::PrintToString(client.events);
    test::PumpFor(30);
    EXPECT_EQ(client.events.back(), closed);
    client.Close();
}

TEST_F(AsyncSocketTest, ASendThatWouldBlockIsFollowedByOneWriteEventWhenThereIsRoomAgain) {
    RecordingSocket client;
    test::Fd peer = Connected(client);
    ASSERT_TRUE(test::PumpUntil([&] { return client.Has("send 0"); }));
    const std::string block(65536, 'w');
    std::size_t sent = 0;
    for (;;) {
        const int n = client.Send(block.data(), static_cast<int>(block.size()));
        if (n == ws::SOCKET_ERROR) {
            ASSERT_EQ(CAsyncSocket::GetLastError(), ws::WSAEWOULDBLOCK);
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    test::PumpFor(30);
    EXPECT_EQ(std::count(client.events.begin(), client.events.end(), "send 0"), 1);
    EXPECT_EQ(test::ReceiveExactly(peer, sent).size(), sent);
    ASSERT_TRUE(test::PumpUntil([&] { return std::count(client.events.begin(), client.events.end(), "send 0") == 2; }));
    test::PumpFor(30);
    EXPECT_EQ(std::count(client.events.begin(), client.events.end(), "send 0"), 2);
    client.Close();
}

TEST_F(AsyncSocketTest, AnEventOfAHandleClosedAfterItWasPostedIsNeverDispatched) {
    RecordingSocket keeper;  // keeps the notification window alive
    ASSERT_TRUE(keeper.Create(0, ws::SOCK_DGRAM));
    RecordingSocket closed;
    ASSERT_TRUE(closed.Create(0, ws::SOCK_DGRAM));
    const ws::SOCKET handle = closed.m_hSocket;
    PostNotice(handle, ws::FD_READ, ws::WSAECONNRESET);
    closed.Close();
    // The handle may come straight back to a new socket: it still must not get the old event.
    RecordingSocket reused;
    ASSERT_TRUE(reused.Create(0, ws::SOCK_DGRAM));
    test::PumpFor(50);
    EXPECT_EQ(Receives(closed), Events{});
    EXPECT_EQ(Receives(reused), Events{});

    PostNotice(reused.m_hSocket, ws::FD_READ, ws::WSAECONNRESET);
    ASSERT_TRUE(test::PumpUntil([&] { return !Receives(reused).empty(); }));
    EXPECT_EQ(Receives(reused)[0].rfind("receive 10054", 0), 0u);
    reused.Close();
    keeper.Close();
}

TEST_F(AsyncSocketTest, DispatchIgnoresEmptyNoticesAndReadsWithNothingWaiting) {
    RecordingSocket idle;
    ASSERT_TRUE(idle.Create(0, ws::SOCK_DGRAM));
    RecordingSocket target;
    // A placeholder would take any unknown handle, handle 0 included, unless the notice is ignored.
    CAsyncSocket::AttachHandle(ws::INVALID_SOCKET, &target);
    ASSERT_TRUE(::PostMessage(SinkWindow(), WM_SOCKET_NOTIFY, 0, 0));
    PostNotice(idle.m_hSocket, ws::FD_READ, 0);
    test::PumpFor(50);
    EXPECT_EQ(target.m_hSocket, ws::INVALID_SOCKET);
    EXPECT_EQ(Receives(idle), Events{});
    CAsyncSocket::DetachHandle(ws::INVALID_SOCKET);
    idle.Close();
}

TEST_F(AsyncSocketTest, ThePlaceholderTakesAnEventOfAnUnknownHandle) {
    RecordingSocket keeper;
    ASSERT_TRUE(keeper.Create(0, ws::SOCK_DGRAM));
    const ws::SOCKET unknown = ws::socket(ws::AF_INET, ws::SOCK_DGRAM, 0);
    // Sockets that get notices are non-blocking: the handler's read then finds nothing, at once.
    ws::u_long nonBlocking = 1;
    ASSERT_EQ(ws::ioctlsocket(unknown, ws::FIONBIO, &nonBlocking), 0);
    RecordingSocket target;
    CAsyncSocket::AttachHandle(ws::INVALID_SOCKET, &target);
    PostNotice(unknown, ws::FD_READ, ws::WSAECONNRESET);
    ASSERT_TRUE(test::PumpUntil([&] { return !target.events.empty(); }));
    EXPECT_EQ(target.m_hSocket, unknown);
    EXPECT_EQ(CAsyncSocket::LookupHandle(unknown), &target);
    EXPECT_EQ(CAsyncSocket::LookupHandle(ws::INVALID_SOCKET), nullptr);
    target.Close();
    keeper.Close();
}

TEST_F(AsyncSocketTest, ClosingTheLastSocketInItsOwnHandlerAndCreatingANewOneWorks) {
    std::uint16_t port = 0;
    test::Fd listener = test::TcpListener(&port);
    RecordingSocket client;
    ASSERT_TRUE(client.Create());
    client.Connect("127.0.0.1", port);
    test::Fd peer = test::TcpAccept(listener);
    ASSERT_TRUE(test::PumpUntil([&] { return client.Has("connect 0"); }));

    HWND windowAfterClose = reinterpret_cast<HWND>(1);
    client.onClose = [&](RecordingSocket& self) {
        self.Close();
        windowAfterClose = SinkWindow();
        self.events.emplace_back("reopened " + std::to_string(self.Create()));
        self.Connect("127.0.0.1", port);
    };
    test::SendAll(peer, "x");
    peer.reset();
    ASSERT_TRUE(test::PumpUntil([&] { return std::count(client.events.begin(), client.events.end(), "send 0") == 2; }));
    EXPECT_EQ(windowAfterClose, nullptr);
    EXPECT_NE(SinkWindow(), nullptr);
    EXPECT_EQ(client.events,
              (Events{"connect 0", "send 0", "receive 0 1", "close 0", "reopened 1", "connect 0", "send 0"}));
    client.onClose = nullptr;
    client.Close();
    EXPECT_EQ(SinkWindow(), nullptr);
}

TEST_F(AsyncSocketTest, ClosingTwiceOrWithoutASocketIsHarmless) {
    RecordingSocket never;
    never.Close();
    RecordingSocket twice;
    ASSERT_TRUE(twice.Create());
    twice.Close();
    twice.Close();
    EXPECT_EQ(twice.m_hSocket, ws::INVALID_SOCKET);
    EXPECT_EQ(SinkWindow(), nullptr);
}

TEST_F(AsyncSocketTest, ConnectingToTextThatIsNoAddressFailsAtOnceWithoutAnEvent) {
    RecordingSocket client;
    ASSERT_TRUE(client.Create());
    EXPECT_FALSE(client.Connect("not-an-address", 80));
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEINVAL);
    test::PumpFor(100);
    EXPECT_TRUE(client.events.empty());
    client.Close();
}

TEST_F(AsyncSocketTest, BindingIsOnceOnlyAndTakesOnlyDottedText) {
    RecordingSocket s;
    ASSERT_TRUE(s.Create(0, ws::SOCK_DGRAM));
    const std::uint16_t port = test::LocalPort(s.m_hSocket);
    EXPECT_FALSE(s.Bind(0, "127.0.0.1"));
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEINVAL);
    EXPECT_EQ(test::LocalPort(s.m_hSocket), port);
    s.Close();

    for (const char* text : {"localhost", "", "255.255.255.255"}) {
        RecordingSocket named;
        EXPECT_FALSE(named.Create(0, ws::SOCK_DGRAM, FD_ALL_EVENTS, text)) << text;
        EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEINVAL) << text;
        EXPECT_EQ(named.m_hSocket, ws::INVALID_SOCKET);
    }
}

TEST_F(AsyncSocketTest, CreatingOnAPortWithALiveListenerFailsWithAddressInUse) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0));
    ASSERT_EQ(ws::listen(listener.m_hSocket, 1), 0);
    const int before = test::OpenDescriptors();
    RecordingSocket second;
    EXPECT_FALSE(second.Create(test::LocalPort(listener.m_hSocket)));
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEADDRINUSE);
    EXPECT_EQ(second.m_hSocket, ws::INVALID_SOCKET);
    EXPECT_EQ(test::OpenDescriptors(), before);
    listener.Close();
}

TEST_F(AsyncSocketTest, AZeroByteDatagramIsReadAwaySoTheNextOneIsAnnounced) {
    RecordingSocket udp;
    ASSERT_TRUE(udp.Create(0, ws::SOCK_DGRAM));
    std::uint16_t peerPort = 0;
    test::Fd peer = test::UdpSocket(&peerPort);
    test::SendDatagram(peer, test::LocalPort(udp.m_hSocket), "");
    test::SendDatagram(peer, test::LocalPort(udp.m_hSocket), "abc");
    ASSERT_TRUE(test::PumpUntil([&] { return udp.received == "abc"; }));
    EXPECT_EQ(Receives(udp), (Events{"receive 0 3"}));
    udp.Close();
}

TEST_F(AsyncSocketTest, DatagramsCarryTheirSenderAndAnOversizedOneIsLost) {
    RecordingSocket udp;
    ASSERT_TRUE(udp.Create(0, ws::SOCK_DGRAM));
    std::uint16_t peerPort = 0;
    test::Fd peer = test::UdpSocket(&peerPort);
    const std::uint16_t port = test::LocalPort(udp.m_hSocket);

    EXPECT_EQ(udp.SendTo("hi", 2, peerPort, "127.0.0.1"), 2);
    EXPECT_EQ(test::ReceiveExactly(peer, 2), "hi");

    test::SendDatagram(peer, port, std::string(2049, 'z'));
    test::SendDatagram(peer, port, "next");
    char buffer[2048];
    CString from;
    UINT fromPort = 0;
    ASSERT_TRUE(test::PumpUntil([&] {
        DWORD waiting = 0;
        return udp.IOCtl(ws::FIONREAD, &waiting) && waiting > 0;
    }));
    EXPECT_EQ(udp.ReceiveFrom(buffer, sizeof buffer, from, fromPort), ws::SOCKET_ERROR);
    EXPECT_EQ(CAsyncSocket::GetLastError(), ws::WSAEMSGSIZE);
    ASSERT_EQ(udp.ReceiveFrom(buffer, sizeof buffer, from, fromPort), 4);
    EXPECT_EQ(std::string(buffer, 4), "next");
    EXPECT_EQ(from, "127.0.0.1");
    EXPECT_EQ(fromPort, peerPort);
    udp.Close();
}

TEST_F(AsyncSocketTest, CreateRaisesAResourceErrorWhereNoMessageLoopCanDeliverEvents) {
    const int before = test::OpenDescriptors();
    bool raised = false;
    ws::SOCKET left = 0;
    std::thread([&] {
        StartSocketService();
        RecordingSocket s;
        try {
            s.Create(0, ws::SOCK_DGRAM);
        } catch (const CResourceException& error) {
            raised = error.MessageId() == 61474;
        }
        left = s.m_hSocket;
    }).join();
    EXPECT_TRUE(raised);
    EXPECT_EQ(left, ws::INVALID_SOCKET);
    EXPECT_EQ(test::OpenDescriptors(), before);
}

}  // namespace
