#pragma once
// Runs the real console under a real application object, with helpers to act on it as a user does.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ConsoleApp.h"
#include "console/ConsoleDlg.h"
#include "net/AsyncSocket.h"
#include "net/winsock_testing.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Peers.h"

namespace test {

// The application object the consoles run under, with the help engine's requests recorded.
class RecordingApp : public CConsoleApp {
public:
    std::vector<DWORD> helpContexts;
    void WinHelp(DWORD context) override {
        helpContexts.push_back(context);
        CConsoleApp::WinHelp(context);
    }
};

class ConsoleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSocketService());
        AfxDeriveAppNames(&app, "/usr/bin/quenzo");
    }
    // A test may have stood in for the host lookup; the next one gets the system's.
    void TearDown() override { winsock::testing::SetHostLookup(nullptr); }

    int Run(CConsoleDlg& dialog, const std::function<void()>& script) {
        app.m_pMainWnd = &dialog;
        const int result = RunDialog(dialog, script);
        app.m_pMainWnd = nullptr;
        return result;
    }

    RecordingApp app;
};

inline std::string Status(const CConsoleDlg& dialog, int part = 0) { return dialog.m_statusBar.GetText(part).str(); }

inline std::string Text(const CConsoleDlg& dialog, int id) {
    CString text;
    dialog.GetDlgItemText(id, text);
    return text.str();
}

inline bool Enabled(const CConsoleDlg& dialog, int id) { return dialog.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

// Points the console's module at 127.0.0.1 and `port`; tests never reach past loopback.
inline void SetModule(CConsoleDlg& dialog, std::uint16_t port) {
    dialog.m_ipModule.SetAddress(127, 0, 0, 1);
    dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, std::to_string(port).c_str());
}

// Opens a TCP client link to a listener of the test's and returns the peer's side.
inline Fd LinkClient(CConsoleDlg& dialog) {
    std::uint16_t port = 0;
    Fd listener = TcpListener(&port);
    SetModule(dialog, port);
    Click(dialog, IDC_BUTTON_CONNECT);
    Fd peer = TcpAccept(listener);
    EXPECT_TRUE(PumpUntil([&] { return Status(dialog) == "CREATE NEW CONNECT."; }));
    return peer;
}

inline void SetLocalPort(CConsoleDlg& dialog, std::uint16_t port) {
    dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, std::to_string(port).c_str());
}

// Makes the console a TCP server listening on a free port and returns the port.
inline std::uint16_t Listen(CConsoleDlg& dialog) {
    Click(dialog, IDC_CHECK_SERVER);
    const std::uint16_t port = FreePort(true);
    SetLocalPort(dialog, port);
    Click(dialog, IDC_BUTTON_CONNECT);
    EXPECT_EQ(Status(dialog), "LISTENING " + std::to_string(port) + " PORT...");
    return port;
}

// Opens the console's UDP endpoint on a free port and returns the port.
inline std::uint16_t BindUdp(CConsoleDlg& dialog) {
    const std::uint16_t port = FreePort(false);
    Click(dialog, IDC_CHECK_TCP);
    SetLocalPort(dialog, port);
    Click(dialog, IDC_BUTTON_CONNECT);
    return port;
}

// The state columns the console can be in, as the user sees them.
inline void ExpectIdle(const CConsoleDlg& d) {
    EXPECT_TRUE(Enabled(d, IDC_CHECK_TCP));
    EXPECT_TRUE(Enabled(d, IDC_BUTTON_CONNECT));
    EXPECT_EQ(Text(d, IDC_BUTTON_CLOSE), "CLOSE");
    EXPECT_FALSE(Enabled(d, IDC_BUTTON_CLOSE));
    EXPECT_FALSE(Enabled(d, IDC_BUTTON_SEND));
    EXPECT_FALSE(Enabled(d, IDC_CHECK_AUTO_SEND));
    EXPECT_FALSE(Enabled(d, IDC_EDIT_CYCLE));
}

inline void ExpectWaiting(const CConsoleDlg& d) {
    EXPECT_FALSE(Enabled(d, IDC_CHECK_TCP));
    EXPECT_FALSE(Enabled(d, IDC_BUTTON_CONNECT));
    EXPECT_TRUE(Enabled(d, IDC_BUTTON_CLOSE));
    EXPECT_FALSE(Enabled(d, IDC_BUTTON_SEND));
    EXPECT_FALSE(Enabled(d, IDC_CHECK_AUTO_SEND));
    EXPECT_FALSE(Enabled(d, IDC_EDIT_CYCLE));
}

inline void ExpectLinked(const CConsoleDlg& d) {
    EXPECT_FALSE(Enabled(d, IDC_CHECK_TCP));
    EXPECT_FALSE(Enabled(d, IDC_BUTTON_CONNECT));
    EXPECT_EQ(Text(d, IDC_BUTTON_CLOSE), "DISCONNECT");
    EXPECT_TRUE(Enabled(d, IDC_BUTTON_CLOSE));
    EXPECT_TRUE(Enabled(d, IDC_BUTTON_SEND));
    EXPECT_TRUE(Enabled(d, IDC_CHECK_AUTO_SEND));
}

}  // namespace test
