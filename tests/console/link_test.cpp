#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include "tests/console/ConsoleFixture.h"

namespace {

using test::Click;
using test::Status;
using test::Text;

class LinkTest : public test::ConsoleFixture {};

TEST_F(LinkTest, ClientConnectsThenThePeerCloses) {
    std::uint16_t port = 0;
    test::Fd listener = test::TcpListener(&port);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::SetModule(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        EXPECT_EQ(Status(dialog), "CONNECT 127.0.0.1(" + std::to_string(port) + ")...");
        test::ExpectWaiting(dialog);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CLOSE), "CLOSE");
        test::Fd peer = test::TcpAccept(listener);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CREATE NEW CONNECT."; }));
        test::ExpectLinked(dialog);
        EXPECT_EQ(dialog.m_bLinkOpen, 1);
        peer.reset();
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "READY"; }));
        test::ExpectIdle(dialog);
        EXPECT_EQ(dialog.m_bLinkOpen, 0);
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);
    });
}

TEST_F(LinkTest, AClientConnectToAClosedPortFailsAndConnectWorksAgain) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::SetModule(dialog, test::FreePort(true));
        Click(dialog, IDC_BUTTON_CONNECT);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CONNECT FAIL."; }));
        test::ExpectIdle(dialog);
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);

        std::uint16_t port = 0;
        test::Fd listener = test::TcpListener(&port);
        test::SetModule(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        test::Fd peer = test::TcpAccept(listener);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CREATE NEW CONNECT."; }));
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(Status(dialog), "READY");
        test::ExpectIdle(dialog);
        EXPECT_EQ(test::ReceiveExactly(peer, 1), "") << "the peer must see the console's close";
    });
}

// Windows refuses a connect to 0.0.0.0 or to port 0 in the call itself; the console hears it as
// any failed connect, through the connect event, and does not wait for ever. A listener of this
// machine's is there to be found, should 0.0.0.0 be taken for this machine's own address.
TEST_F(LinkTest, AConnectTheCallItselfRefusesFailsThroughTheConnectEvent) {
    std::uint16_t port = 0;
    test::Fd listener = test::TcpListener(&port);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        for (const std::uint16_t to : {port, std::uint16_t{0}}) {
            dialog.m_ipModule.SetAddress(0, 0, 0, 0);
            if (to == 0) {
                dialog.m_ipModule.SetAddress(127, 0, 0, 1);
            }
            dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, std::to_string(to).c_str());
            Click(dialog, IDC_BUTTON_CONNECT);
            ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CONNECT FAIL."; }))
                << to << ": " << Status(dialog);
            test::ExpectIdle(dialog);
            EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);
        }
    });
}

TEST_F(LinkTest, ServerListensStopsAndServesExactlyOneConnection) {
    const std::uint16_t port = test::FreePort(true);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        Click(dialog, IDC_CHECK_SERVER);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "LISTEN");
        EXPECT_FALSE(test::Enabled(dialog, IDC_IPADDRESS_MODULE));
        EXPECT_FALSE(test::Enabled(dialog, IDC_EDIT_MODULE_PORT));
        test::SetLocalPort(dialog, port);

        Click(dialog, IDC_BUTTON_CONNECT);
        EXPECT_EQ(Status(dialog), "LISTENING " + std::to_string(port) + " PORT...");
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CLOSE), "STOP");
        test::ExpectWaiting(dialog);
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(Status(dialog), "READY");
        test::ExpectIdle(dialog);

        Click(dialog, IDC_BUTTON_CONNECT);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "typed but never read");
        test::Fd client = test::TcpConnect(port);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CONNECT SUCCESS."; }));
        test::ExpectLinked(dialog);
        EXPECT_EQ(Text(dialog, IDC_IPADDRESS_MODULE), "127.0.0.1");
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), std::to_string(test::LocalPort(client)));
        EXPECT_EQ(Text(dialog, IDC_EDIT_SEND), "typed but never read") << "an accept rewrites only the module fields";
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET) << "the listener must be closed";
        EXPECT_FALSE(test::TryTcpConnect(port)) << "a second client must be refused";

        client.reset();
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "READY"; }));
        test::ExpectIdle(dialog);
        EXPECT_EQ(dialog.m_peerSocket.m_hSocket, winsock::INVALID_SOCKET);

        Click(dialog, IDC_BUTTON_CONNECT);  // the same port again
        EXPECT_EQ(Status(dialog), "LISTENING " + std::to_string(port) + " PORT...");
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_FALSE(test::TryTcpConnect(port)) << "STOP must close the new listener";
    });
}

TEST_F(LinkTest, ListeningOnAPortInUseSaysSoAndChangesNothingElse) {
    std::uint16_t port = 0;
    test::Fd holder = test::TcpListener(&port);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::MessageBoxes boxes;
        Click(dialog, IDC_CHECK_SERVER);
        test::SetLocalPort(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"Can not create Socket!"}));
        EXPECT_EQ(boxes.shown[0].type, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(boxes.shown[0].caption, "quenzo");
        EXPECT_EQ(Status(dialog), "READY");
        test::ExpectIdle(dialog);
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);
    });
}

TEST_F(LinkTest, UdpBindsAndIsLinkedAtOnce) {
    const std::uint16_t port = test::FreePort(false);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        Click(dialog, IDC_CHECK_TCP);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "BIND");
        EXPECT_FALSE(test::Enabled(dialog, IDC_CHECK_SERVER));
        test::SetLocalPort(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        EXPECT_EQ(Status(dialog), "BINDED " + std::to_string(port) + " PORT");
        test::ExpectLinked(dialog);
        EXPECT_EQ(test::LocalPort(dialog.m_mainSocket.m_hSocket), port);
        Click(dialog, IDC_BUTTON_CLOSE);
        test::ExpectIdle(dialog);
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);
    });
}

TEST_F(LinkTest, ClearCountZeroesBothCountersAndLeavesTheLinkAndStatus) {
    const std::uint16_t port = test::FreePort(false);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 0 ");
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ");
        Click(dialog, IDC_CHECK_TCP);
        test::SetLocalPort(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        dialog.m_nRecvCount = 5000000000LL;
        dialog.m_nSendCount = 7;
        Click(dialog, IDC_BUTTON_CLEAR_COUNT);
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 0 ");
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ");
        EXPECT_EQ(dialog.m_nRecvCount, 0);
        EXPECT_EQ(Status(dialog), "BINDED " + std::to_string(port) + " PORT");
        test::ExpectLinked(dialog);
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

TEST_F(LinkTest, StatusBarSitsAtTheFootWithThreeParts) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        RECT client{};
        dialog.GetClientRect(&client);
        const RECT bar = test::ControlRect(dialog.m_statusBar);
        // Pixels of a dialog with a unit cell of 6 by 13 pixels, in this dialog's.
        RECT cell{0, 0, 4, 8};
        dialog.MapDialogRect(&cell);
        const auto x = [&](long pixels) { return (pixels * cell.right + 3) / 6; };
        const auto y = [&](long pixels) { return (pixels * cell.bottom + 6) / 13; };
        EXPECT_EQ(bar.left, x(10));
        EXPECT_EQ(bar.bottom - bar.top, y(25));
        EXPECT_EQ(bar.bottom, client.bottom - y(4));
        EXPECT_EQ(bar.right, client.right - x(10) - x(100));
        int parts[3] = {};
        ASSERT_EQ(dialog.m_statusBar.GetParts(3, parts), 3);
        const int width = static_cast<int>(bar.right - bar.left);
        EXPECT_EQ(parts[0], width / 2);
        EXPECT_EQ(parts[1], 4 * width / 5);
        EXPECT_EQ(parts[2], -1);
        EXPECT_EQ(Status(dialog), "READY");
    });
}

TEST_F(LinkTest, CloseShutsBothEndpointsEvenAfterServerWasToggledWhileLinked) {
    const std::uint16_t port = test::FreePort(true);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        Click(dialog, IDC_CHECK_SERVER);
        test::SetLocalPort(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        test::Fd client = test::TcpConnect(port);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "CONNECT SUCCESS."; }));
        Click(dialog, IDC_CHECK_SERVER);  // still enabled while linked
        EXPECT_EQ(dialog.m_bServer, 0);
        // A send now goes to the client endpoint, which holds no socket: nothing leaves, nothing
        // is counted.
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ");
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(dialog.m_peerSocket.m_hSocket, winsock::INVALID_SOCKET);
        EXPECT_EQ(test::ReceiveExactly(client, 1), "") << "the real connection must be closed";
        EXPECT_EQ(Status(dialog), "READY");
        test::ExpectIdle(dialog);
    });
}

TEST_F(LinkTest, ConnectWithAFieldJustReportedInvalidOpensNoLink) {
    std::uint16_t port = 0;
    test::Fd listener = test::TcpListener(&port);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::MessageBoxes boxes;
        test::SetModule(dialog, port);
        dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, "70000");
        Click(dialog, IDC_BUTTON_CONNECT);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"“请填入一个在0和65535之间的整数。”"}));
        EXPECT_EQ(Status(dialog), "READY");
        test::ExpectIdle(dialog);
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);

        test::SetModule(dialog, port);
        Click(dialog, IDC_CHECK_SERVER);
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "65536");
        Click(dialog, IDC_BUTTON_CONNECT);
        EXPECT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(Status(dialog), "READY");
        EXPECT_EQ(dialog.m_mainSocket.m_hSocket, winsock::INVALID_SOCKET);
    });
}

// CLOSE and the peer's close rewrite only AUTO SEND: what the user typed since the last read stays.
TEST_F(LinkTest, CloseAndThePeersCloseKeepWhatTheUserTyped) {
    const std::uint16_t port = test::FreePort(false);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        Click(dialog, IDC_CHECK_TCP);
        test::SetLocalPort(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "unsaved");
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "9");
        dialog.CheckDlgButton(IDC_CHECK_HEX_DISPLAY, 1);
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(Text(dialog, IDC_EDIT_SEND), "unsaved");
        EXPECT_EQ(Text(dialog, IDC_EDIT_LOCAL_PORT), "9");
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_HEX_DISPLAY), 1u);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_AUTO_SEND), 0u);
        EXPECT_EQ(dialog.m_bAutoSend, 0);

        Click(dialog, IDC_CHECK_TCP);
        test::Fd peer = test::LinkClient(dialog);
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "typed while linked");
        dialog.CheckDlgButton(IDC_CHECK_HEX_DISPLAY, 0);
        peer.reset();
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "READY"; }));
        EXPECT_EQ(Text(dialog, IDC_EDIT_SEND), "typed while linked");
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_HEX_DISPLAY), 0u);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_AUTO_SEND), 0u);
    });
}

TEST_F(LinkTest, CheckBoxHandlersSetTheCaptionAndWhatMayBeTouched) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        Click(dialog, IDC_CHECK_SERVER);
        Click(dialog, IDC_CHECK_TCP);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "BIND");
        EXPECT_FALSE(test::Enabled(dialog, IDC_CHECK_SERVER));
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_SERVER), 1u) << "SERVER keeps its check mark";
        EXPECT_FALSE(test::Enabled(dialog, IDC_IPADDRESS_MODULE));
        EXPECT_FALSE(test::Enabled(dialog, IDC_EDIT_MODULE_PORT));
        Click(dialog, IDC_CHECK_TCP);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "LISTEN");
        EXPECT_TRUE(test::Enabled(dialog, IDC_CHECK_SERVER));
        Click(dialog, IDC_CHECK_SERVER);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "CONNECT");
        EXPECT_TRUE(test::Enabled(dialog, IDC_IPADDRESS_MODULE));
        EXPECT_TRUE(test::Enabled(dialog, IDC_EDIT_MODULE_PORT));
    });
}

}  // namespace
