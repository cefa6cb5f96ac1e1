#include "net/LinkSocket.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Peers.h"

namespace ws = winsock;

namespace {

// Stands in for the console: records each call with the endpoint that made it.
class RecordingOwner : public CLinkOwner {
public:
    struct Call {
        std::string what;
        CLinkSocket* socket;
        int error;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    bool closeOnClose = false;
    std::int64_t sent = 0;

    void OnLinkAccept(CLinkSocket* s, int e) override { calls.push_back({"accept", s, e}); }
    void OnLinkConnect(CLinkSocket* s, int e) override { calls.push_back({"connect", s, e}); }
    void OnLinkReceive(CLinkSocket* s, int e) override {
        char buffer[2048];
        calls.push_back({"receive " + std::to_string(s->Receive(buffer, sizeof buffer)), s, e});
    }
    void OnLinkSent(CLinkSocket* /*s*/, int bytes) override { sent += bytes; }
    void OnLinkClose(CLinkSocket* s, int e) override {
        calls.push_back({"close", s, e});
        if (closeOnClose) {
            s->Close();
        }
    }
};

class LinkSocketTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartSocketService()); }

    // Connects `client`, owned by `owner`, to a listener of the test's, and gives the peer's side
    // once the owner has heard of the connect.
    static test::Fd Connected(RecordingOwner& owner, CLinkSocket& client) {
        client.m_pOwner = &owner;
        std::uint16_t port = 0;
        test::Fd listener = test::TcpListener(&port);
        EXPECT_TRUE(client.Create());
        client.Connect("127.0.0.1", port);
        test::Fd server = test::TcpAccept(listener);
        EXPECT_TRUE(test::PumpUntil([&] { return !owner.calls.empty(); }));
        return server;
    }
};

TEST_F(LinkSocketTest, ServerSideEventsReachTheOwnerWithTheirEndpoint) {
    RecordingOwner owner;
    CLinkSocket listener;
    CLinkSocket peer;
    listener.m_pOwner = &owner;
    peer.m_pOwner = &owner;
    ASSERT_TRUE(listener.Create(0));
    ASSERT_EQ(ws::listen(listener.m_hSocket, 1), 0);
    test::Fd client = test::TcpConnect(test::LocalPort(listener.m_hSocket));
    ASSERT_TRUE(test::PumpUntil([&] { return !owner.calls.empty(); }));
    ASSERT_TRUE(listener.Accept(peer));
    listener.Close();
    test::SendAll(client, "12345");
    client.reset();
    owner.closeOnClose = true;
    ASSERT_TRUE(test::PumpUntil([&] { return owner.calls.size() == 3; }));
    const std::vector<RecordingOwner::Call> expected{
        {"accept", &listener, 0}, {"receive 5", &peer, 0}, {"close", &peer, 0}};
    EXPECT_EQ(owner.calls, expected);
    EXPECT_EQ(peer.m_hSocket, ws::INVALID_SOCKET);
}

TEST_F(LinkSocketTest, ClientSideEventsReachTheOwnerAndWriteEventsDoNot) {
    RecordingOwner owner;
    CLinkSocket client;
    test::Fd server = Connected(owner, client);
    test::Reset(server);
    owner.closeOnClose = true;
    ASSERT_TRUE(test::PumpUntil([&] { return owner.calls.size() == 2; }));
    test::PumpFor(30);
    // Wine reports a reset as an orderly close.
    const int resetError = test::UnderWine() ? 0 : ws::WSAECONNRESET;
    const std::vector<RecordingOwner::Call> expected{{"connect", &client, 0}, {"close", &client, resetError}};
    EXPECT_EQ(owner.calls, expected);

    ASSERT_TRUE(client.Create());
    client.Connect("127.0.0.1", test::FreePort(true));
    ASSERT_TRUE(test::PumpUntil([&] { return owner.calls.size() == 3; }));
    EXPECT_EQ(owner.calls.back(), (RecordingOwner::Call{"connect", &client, ws::WSAECONNREFUSED}));
    client.Close();
}

TEST_F(LinkSocketTest, AnEndpointWithoutAnOwnerDropsItsEvents) {
    CLinkSocket orphan;
    ASSERT_TRUE(orphan.Create(0, ws::SOCK_DGRAM));
    std::uint16_t peerPort = 0;
    test::Fd peer = test::UdpSocket(&peerPort);
    test::SendDatagram(peer, test::LocalPort(orphan.m_hSocket), "lost");
    test::PumpFor(50);
    orphan.Close();
}

// A peer slower than the sender: every message arrives whole and in order, what the owner is told
// has left is exactly what arrived, and past the bound a send is refused whole.
TEST_F(LinkSocketTest, SendsToASlowPeerArriveWholeInOrderAndAreCountedAsTheyLeave) {
    RecordingOwner owner;
    CLinkSocket client;
    test::Fd server = Connected(owner, client);

    std::string expected;
    int refused = 0;
    for (int i = 0; expected.size() < 2 * CLinkSocket::kMaxUnsentBytes && refused == 0; ++i) {
        const std::string message =
            "<" + std::to_string(i) + ":" + std::string(65536, static_cast<char>('a' + i % 26)) + ">";
        if (client.SendWhole(message.data(), static_cast<int>(message.size()))) {
            expected += message;
        } else {
            ++refused;
        }
    }
    EXPECT_EQ(refused, 1) << "a send past the bound is refused";
    EXPECT_TRUE(client.HasUnsent());
    EXPECT_LE(client.UnsentBytes(), CLinkSocket::kMaxUnsentBytes);
    EXPECT_EQ(owner.sent + static_cast<std::int64_t>(client.UnsentBytes()), static_cast<std::int64_t>(expected.size()));

    const std::string received = test::ReceiveExactly(server, expected.size(), 20000);
    EXPECT_TRUE(received == expected) << "arrived " << received.size() << " of " << expected.size() << " bytes";
    ASSERT_TRUE(test::PumpUntil([&] { return !client.HasUnsent(); }));
    EXPECT_EQ(owner.sent, static_cast<std::int64_t>(expected.size()));

    // Closing drops what waits: nothing more leaves, nothing more is counted.
    for (int i = 0; i < 300; ++i) {
        client.SendWhole(expected.data(), 65536);
    }
    const std::int64_t before = owner.sent;
    ASSERT_TRUE(client.HasUnsent());
    client.Close();
    EXPECT_FALSE(client.HasUnsent());
    test::PumpFor(50);
    EXPECT_EQ(owner.sent, before);
}

}  // namespace
