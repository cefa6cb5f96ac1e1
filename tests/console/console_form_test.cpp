#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "app/ConsoleApp.h"
#include "net/AsyncSocket.h"
#include "net/winsock_testing.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/qt/Widgets.h"
#include "tests/support/Peers.h"

namespace {

// The application object the console runs under, with the help engine's request recorded.
class TestApp : public CConsoleApp {
public:
    std::vector<DWORD> helpContexts;
    void WinHelp(DWORD context) override {
        helpContexts.push_back(context);
        CConsoleApp::WinHelp(context);
    }
};

class ConsoleFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSocketService());
        AfxDeriveAppNames(&app, "/usr/bin/quenzo");
    }
    void TearDown() override { winsock::testing::SetHostLookup(nullptr); }

    // Runs the console as the program does, as the main window.
    int Run(CConsoleDlg& dialog, const std::function<void()>& script) {
        app.m_pMainWnd = &dialog;
        const int result = test::RunDialog(dialog, script);
        app.m_pMainWnd = nullptr;
        return result;
    }

    TestApp app;
};

CString Text(const CWnd& dialog, int id) {
    CString text;
    dialog.GetDlgItemText(id, text);
    return text;
}

TEST_F(ConsoleFormTest, StartsWithItsDefaults) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        CString title;
        dialog.GetWindowText(title);
        EXPECT_EQ(title, "Quenzo - http://quenzo.example.com (v3.1)");
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_TCP), 1u);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_SERVER), 0u);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_AUTO_SEND), 0u);
        EXPECT_EQ(Text(dialog, IDC_EDIT_LOCAL_PORT), "1234");
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), "1024");
        EXPECT_EQ(Text(dialog, IDC_EDIT_CYCLE), "1000");
        EXPECT_EQ(Text(dialog, IDC_EDIT_SEND), "http://quenzo.example.com");
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "");
        EXPECT_EQ(Text(dialog, IDC_IPADDRESS_MODULE), "192.168.0.7");
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "CONNECT");
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CLOSE), "CLOSE");
        for (int id : {IDC_BUTTON_SEND, IDC_BUTTON_CLOSE, IDC_CHECK_AUTO_SEND, IDC_EDIT_CYCLE}) {
            EXPECT_FALSE(dialog.GetDlgItem(id)->IsWindowEnabled()) << id;
        }
        for (int id : {IDC_BUTTON_CONNECT, IDC_CHECK_TCP, IDC_CHECK_SERVER, IDC_EDIT_LOCAL_PORT}) {
            EXPECT_TRUE(dialog.GetDlgItem(id)->IsWindowEnabled()) << id;
        }
        EXPECT_EQ(CWnd::GetFocus(), &dialog.m_btnConnect);
        int lower = 0;
        int upper = 0;
        dialog.m_spinLocalPort.GetRange32(lower, upper);
        EXPECT_EQ(upper, 0xFFFF);
        EXPECT_EQ(dialog.m_mainSocket.m_pOwner, &dialog);
        EXPECT_EQ(dialog.m_peerSocket.m_pOwner, &dialog);
    });
}

TEST_F(ConsoleFormTest, KeepsTheTemplateProportionsAndTabOrder) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        // Dialog units scale each axis on its own: positions keep their share of the window.
        RECT client{};
        dialog.GetClientRect(&client);
        const QRect receive = test::Control(dialog, IDC_EDIT_RECEIVE)->geometry();
        const QRect clearCount = test::Control(dialog, IDC_BUTTON_CLEAR_COUNT)->geometry();
        EXPECT_NEAR(static_cast<double>(receive.right() + 1) / client.right, 386.0 / 400.0, 0.01);
        EXPECT_NEAR(static_cast<double>(clearCount.bottom() + 1) / client.bottom, 251.0 / 253.0, 0.01);
        EXPECT_NEAR(static_cast<double>(receive.top()) / client.bottom, 17.0 / 253.0, 0.01);
        // Tab from CONNECT skips the disabled CLOSE and MANUAL SEND, then follows the template.
        std::vector<int> order;
        for (int i = 0; i < 5; ++i) {
            test::PressKey(Qt::Key_Tab);
            order.push_back(CWnd::GetFocus() != nullptr ? CWnd::GetFocus()->GetDlgCtrlID() : 0);
        }
        EXPECT_EQ(order, (std::vector<int>{IDC_BUTTON_CLEAR, IDC_BUTTON_CLEAR_COUNT, IDC_CHECK_HEX_DISPLAY,
                                           IDC_CHECK_HEX_SEND, IDC_EDIT_SEND}));
    });
}

TEST_F(ConsoleFormTest, APortOutOfRangeIsKeptReportedAndStopsTheRead) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::MessageBoxes boxes;
        // Editing the cycle reads the form and arms the auto-send timer, which is stopped again here.
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "5");
        dialog.KillTimer(kAutoSendTimer);
        dialog.m_nCycleMs = 1000;
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "65536");
        dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, "7");
        dialog.CheckDlgButton(IDC_CHECK_TCP, 0);
        dialog.CheckDlgButton(IDC_CHECK_HEX_SEND, 1);
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"“请填入一个在0和65535之间的整数。”"}));
        EXPECT_EQ(boxes.shown[0].caption, "quenzo");
        EXPECT_EQ(boxes.shown[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
        EXPECT_EQ(dialog.m_nLocalPort, 65536u);
        EXPECT_EQ(dialog.m_bHexSend, 1);         // before the failing field: read
        EXPECT_EQ(dialog.m_nModulePort, 1024u);  // after it: not read
        EXPECT_EQ(dialog.m_nCycleMs, 1000);
        EXPECT_EQ(dialog.m_bTcp, 1);
        EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_EDIT_LOCAL_PORT);
        EXPECT_EQ(static_cast<QLineEdit*>(test::Control(dialog, IDC_EDIT_LOCAL_PORT))->selectedText().toStdString(),
                  "65536");
    });
}

TEST_F(ConsoleFormTest, NumberFieldsFollowTheFormsRules) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::MessageBoxes boxes;
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, " 80 ");
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.m_nLocalPort, 80u);

        for (const char* bad : {"80x", "-1", ""}) {
            dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, bad);
            EXPECT_FALSE(dialog.UpdateData(TRUE)) << bad;
            EXPECT_EQ(dialog.m_nLocalPort, 80u) << "an unparsable field leaves its member alone";
        }
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>(3, "“请填入一个正整数。”"));
        boxes.shown.clear();

        // Each edit of the cycle reads the whole form (and arms the timer).
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "1234");
        dialog.m_editCycle.EnableWindow(TRUE);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "-5");
        EXPECT_EQ(dialog.m_nCycleMs, -5);
        EXPECT_TRUE(boxes.shown.empty());
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "");
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"请键入一个整数。"}));
        EXPECT_EQ(dialog.m_nCycleMs, -5);
        dialog.KillTimer(kAutoSendTimer);

        // A field the user cannot edit never fails: it shows its last good value again.
        dialog.m_editCycle.EnableWindow(FALSE);
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        boxes.shown.clear();
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(Text(dialog, IDC_EDIT_CYCLE), "-5");
        dialog.m_editModulePort.EnableWindow(FALSE);
        dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, "70000");
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.m_nModulePort, 1024u);
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), "1024");
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_EDIT_SEND);
    });
}

TEST_F(ConsoleFormTest, ShowingTheFormRewritesOnlyFieldsThatDiffer) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        auto* port = static_cast<QLineEdit*>(test::Control(dialog, IDC_EDIT_LOCAL_PORT));
        port->setCursorPosition(2);
        dialog.m_nModulePort = 4000;
        dialog.m_bServer = 7;  // outside 0 to 2: shown, and kept, as 0
        dialog.UpdateData(FALSE);
        EXPECT_EQ(port->cursorPosition(), 2);
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), "4000");
        EXPECT_EQ(dialog.m_bServer, 0);
    });
}

TEST_F(ConsoleFormTest, EscEndsAtOnceEvenWithAnInvalidFieldAndShowsNothing) {
    CConsoleDlg dialog;
    test::MessageBoxes boxes;
    const int result = Run(dialog, [&] {
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "abc");
        dialog.GetDlgItem(IDC_EDIT_LOCAL_PORT)->SetFocus();
        test::PressKey(Qt::Key_Escape);
        EXPECT_FALSE(test::Widget(dialog)->isVisible());
    });
    EXPECT_EQ(result, static_cast<int>(IDCANCEL));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConsoleFormTest, EnterReadsTheFormAndEndsOnlyWhenItIsValid) {
    CConsoleDlg dialog;
    test::MessageBoxes boxes;
    const int result = Run(dialog, [&] {
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "70000");
        dialog.GetDlgItem(IDC_EDIT_LOCAL_PORT)->SetFocus();
        test::PressKey(Qt::Key_Return);
        ASSERT_TRUE(test::Widget(dialog)->isVisible());
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"“请填入一个在0和65535之间的整数。”"}));
        EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_EDIT_LOCAL_PORT);

        // Enter in the send box breaks the line; the console stays.
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        test::PressKey(Qt::Key_Return);
        ASSERT_TRUE(test::Widget(dialog)->isVisible());

        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "7000");
        dialog.GetDlgItem(IDC_EDIT_CYCLE)->EnableWindow(TRUE);
        dialog.GetDlgItem(IDC_EDIT_CYCLE)->SetFocus();
        test::PressKey(Qt::Key_Return);
        EXPECT_FALSE(test::Widget(dialog)->isVisible());
    });
    EXPECT_EQ(result, static_cast<int>(IDOK));
    EXPECT_EQ(dialog.m_nLocalPort, 7000u);
    EXPECT_EQ(dialog.m_strSend, "\r\nhttp://quenzo.example.com");  // at the caret, which starts at 0
}

TEST_F(ConsoleFormTest, TheCloseBoxAltF4EscAndCtrlBreakInAMultiLineBoxCancel) {
    const std::vector<std::function<void(CConsoleDlg&)>> ways{
        [](CConsoleDlg& dialog) { test::Widget(dialog)->close(); },
        [](CConsoleDlg& dialog) {
            // No window manager here: the program itself turns Alt+F4 into Close.
            dialog.GetDlgItem(IDC_EDIT_LOCAL_PORT)->SetFocus();
            test::PressKey(Qt::Key_F4, Qt::AltModifier);
        },
        [](CConsoleDlg& dialog) {
            dialog.GetDlgItem(IDC_EDIT_RECEIVE)->SetFocus();
            test::PressKey(Qt::Key_Escape);
        },
        [](CConsoleDlg& dialog) {
            // Ctrl+Break as X11 delivers it: no Qt key, the Break keysym.
            dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
            QKeyEvent press(QEvent::KeyPress, 0, Qt::ControlModifier, 0, 0xFF6B, 0);
            QApplication::sendEvent(QApplication::focusWidget(), &press);
        },
    };
    for (std::size_t way = 0; way < ways.size(); ++way) {
        CConsoleDlg dialog;
        const int result = Run(dialog, [&] {
            ways[way](dialog);
            EXPECT_FALSE(test::Widget(dialog)->isVisible()) << way;
        });
        EXPECT_EQ(result, static_cast<int>(IDCANCEL)) << way;
    }
}

TEST_F(ConsoleFormTest, F1AsksForTheConsolesHelpTopicAndReportsThereIsNoHelp) {
    CConsoleDlg dialog;
    test::MessageBoxes boxes;
    Run(dialog, [&] {
        test::PressKey(Qt::Key_F1);
        test::PressKey(Qt::Key_F1, Qt::ShiftModifier);
    });
    EXPECT_EQ(app.helpContexts, (std::vector<DWORD>{0x20066}));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"启动帮助失败。"}));
}

TEST_F(ConsoleFormTest, MessageBoxCaptionFollowsTheExecutablesName) {
    AfxDeriveAppNames(&app, "/opt/tools/Renamed.bin");
    EXPECT_EQ(app.m_strHelpFilePath, "/opt/tools/Renamed.HLP");
    test::MessageBoxes boxes;
    AfxMessageBox("x");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Renamed");
    EXPECT_EQ(boxes.shown[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    // A path with the other separator names the program the same way.
    AfxDeriveAppNames(&app, "C:\\Program Files\\Tools.v2\\Quenzo.EXE");
    EXPECT_EQ(app.m_strExeName, "Quenzo");
    EXPECT_EQ(app.m_strAppName, "Quenzo");
    EXPECT_EQ(app.m_strHelpFilePath, "C:\\Program Files\\Tools.v2\\Quenzo.HLP");
    AfxDeriveAppNames(&app, "C:\\Tools.v2\\quenzo");
    EXPECT_EQ(app.m_strExeName, "quenzo");
    EXPECT_EQ(app.m_strHelpFilePath, "C:\\Tools.v2\\quenzo.HLP");
}

TEST_F(ConsoleFormTest, ListsEveryLocalAddressAndSelectsTheLast) {
    winsock::testing::SetHostLookup([](const std::string&) -> std::optional<std::vector<std::uint32_t>> {
        std::vector<std::uint32_t> many;
        for (std::uint32_t i = 1; i <= 12; ++i) {
            many.push_back(winsock::htonl(0x0A000000u + i));
        }
        return many;
    });
    CConsoleDlg dialog;
    Run(dialog, [&] {
        ASSERT_EQ(dialog.m_localAddrs.size(), 12u);
        EXPECT_EQ(dialog.m_localAddrs[0], "10.0.0.1");
        EXPECT_EQ(dialog.m_localAddrs[11], "10.0.0.12");
        EXPECT_EQ(dialog.m_comboLocalIp.GetCount(), 12);
        EXPECT_EQ(dialog.m_comboLocalIp.GetCurSel(), 11);
        CString item;
        dialog.m_comboLocalIp.GetLBText(11, item);
        EXPECT_EQ(item, "10.0.0.12");
    });
}

TEST_F(ConsoleFormTest, OneLocalAddressIsSelectedAndAFailedLookupSelectsNothing) {
    winsock::testing::SetHostLookup([](const std::string&) -> std::optional<std::vector<std::uint32_t>> {
        return std::vector<std::uint32_t>{winsock::inet_addr("192.0.2.2")};
    });
    CConsoleDlg one;
    Run(one, [&] {
        EXPECT_EQ(one.m_comboLocalIp.GetCount(), 1);
        EXPECT_EQ(one.m_comboLocalIp.GetCurSel(), 0);
    });
    winsock::testing::SetHostLookup([](const std::string&) { return std::nullopt; });
    CConsoleDlg none;
    Run(none, [&] {
        EXPECT_EQ(none.m_comboLocalIp.GetCount(), 0);
        EXPECT_EQ(none.m_comboLocalIp.GetCurSel(), -1);
        EXPECT_TRUE(none.m_localAddrs.empty());
    });
}

TEST_F(ConsoleFormTest, AssistiveTechnologySeesEveryControlByItsLabel) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        const std::vector<std::pair<int, std::string>> expected{
            {IDC_COMBO_LOCAL_IP, "PC IP ADDRESS"}, {IDC_EDIT_LOCAL_PORT, "LOCAL PORT"},
            {IDC_SPIN_LOCAL_PORT, "LOCAL PORT"},   {IDC_IPADDRESS_MODULE, "MODULE IP"},
            {IDC_EDIT_MODULE_PORT, "MODULE PORT"}, {IDC_EDIT_CYCLE, "CYCLE"},
            {IDC_EDIT_RECEIVE, "RECEIVE"},         {IDC_EDIT_SEND, "SEND"},
        };
        for (const auto& [id, name] : expected) {
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(test::Control(dialog, id));
            ASSERT_NE(seen, nullptr) << id;
            EXPECT_EQ(seen->text(QAccessible::Name).toStdString(), name) << id;
        }
        QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(test::Control(dialog, IDC_COMBO_LOCAL_IP));
        EXPECT_EQ(combo->role(), QAccessible::ComboBox);
        EXPECT_EQ(combo->text(QAccessible::Value), QString::fromStdString(dialog.m_localAddrs.back().str()));
    });
}

// What a screen reader's "activate" does to a control: the action answers, and the click it asked
// for comes from the event loop.
void Activate(CConsoleDlg& dialog, int id) {
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(test::Control(dialog, id));
    ASSERT_NE(control, nullptr) << id;
    ASSERT_NE(control->actionInterface(), nullptr) << id;
    const QStringList actions = control->actionInterface()->actionNames();
    const bool toggles = actions.contains(QAccessibleActionInterface::toggleAction());
    ASSERT_TRUE(toggles || actions.contains(QAccessibleActionInterface::pressAction())) << id;
    control->actionInterface()->doAction(toggles ? QAccessibleActionInterface::toggleAction()
                                                 : QAccessibleActionInterface::pressAction());
    test::PumpFor(1);
}

// A check box or button activated through assistive technology runs the handler a click runs.
TEST_F(ConsoleFormTest, AssistiveTechnologyActivatesControlsAsAClickDoes) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        QAccessibleInterface* server = QAccessible::queryAccessibleInterface(test::Control(dialog, IDC_CHECK_SERVER));
        EXPECT_EQ(server->role(), QAccessible::CheckBox);
        EXPECT_EQ(server->actionInterface()->actionNames().front(), QAccessibleActionInterface::toggleAction());
        Activate(dialog, IDC_CHECK_SERVER);
        EXPECT_TRUE(server->state().checked);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "LISTEN");
        EXPECT_FALSE(test::Control(dialog, IDC_EDIT_MODULE_PORT)->isEnabled());
        Activate(dialog, IDC_CHECK_TCP);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CONNECT), "BIND");
        Activate(dialog, IDC_CHECK_HEX_DISPLAY);
        Activate(dialog, IDC_CHECK_HEX_SEND);
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.m_bHexDisplay, 1);
        EXPECT_EQ(dialog.m_bHexSend, 1);

        // UDP on a free port, then AUTO SEND through its action: the timer runs.
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, std::to_string(test::FreePort(false)).c_str());
        dialog.m_ipModule.SetAddress(127, 0, 0, 1);
        Activate(dialog, IDC_BUTTON_CONNECT);
        EXPECT_EQ(Text(dialog, IDC_BUTTON_CLOSE), "DISCONNECT");
        dialog.SetDlgItemText(IDC_EDIT_SEND, "");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "20");
        Activate(dialog, IDC_CHECK_AUTO_SEND);
        EXPECT_TRUE(test::Control(dialog, IDC_EDIT_CYCLE)->isEnabled()) << "AUTO SEND's handler did not run";
        Activate(dialog, IDC_BUTTON_CLOSE);
        EXPECT_TRUE(test::Control(dialog, IDC_BUTTON_CONNECT)->isEnabled());
    });
}

TEST_F(ConsoleFormTest, DialogsAreDialogsAndTheCommonControlsReportTheirValues) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(test::Widget(dialog))->role(), QAccessible::Dialog);
        QAccessibleInterface* spin = QAccessible::queryAccessibleInterface(test::Control(dialog, IDC_SPIN_LOCAL_PORT));
        EXPECT_EQ(spin->role(), QAccessible::SpinBox);
        ASSERT_NE(spin->valueInterface(), nullptr);
        EXPECT_EQ(spin->valueInterface()->currentValue().toInt(), 1234);
        EXPECT_EQ(spin->valueInterface()->maximumValue().toInt(), 65535);
        QAccessibleInterface* ip = QAccessible::queryAccessibleInterface(test::Control(dialog, IDC_IPADDRESS_MODULE));
        EXPECT_EQ(ip->text(QAccessible::Value), QStringLiteral("192.168.0.7"));
        ASSERT_NE(ip->textInterface(), nullptr);
        EXPECT_EQ(ip->textInterface()->text(0, -1), QStringLiteral("192.168.0.7"));
    });
}

// While a modal box is open the console takes nothing, not even from assistive technology; after
// it the focus is back where it was.
TEST_F(ConsoleFormTest, NoControlActsWhileAModalBoxIsOpen) {
    CConsoleDlg dialog;
    test::MessageBoxes boxes;
    Run(dialog, [&] {
        dialog.m_ipModule.SetAddress(127, 0, 0, 1);
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        bool sawDialogRole = false;
        QTimer::singleShot(50, [&] {
            QWidget* about = QApplication::activeModalWidget();
            ASSERT_NE(about, nullptr);
            sawDialogRole = QAccessible::queryAccessibleInterface(about)->role() == QAccessible::Dialog;
            Activate(dialog, IDC_BUTTON_CONNECT);
            Activate(dialog, IDC_CHECK_SERVER);
            about->close();
        });
        dialog.SendMessage(WM_SYSCOMMAND, 0x0010, 0);  // the About item of the system menu
        EXPECT_TRUE(sawDialogRole) << "the About box is not announced as a dialog";
        test::PumpFor(200);  // an action taken while the box was open may act late
        EXPECT_EQ(dialog.m_statusBar.GetText(0), "READY") << "CONNECT acted while the About box was open";
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_SERVER), 0u);
        EXPECT_TRUE(test::PumpUntil([&] { return test::Widget(dialog)->isActiveWindow(); }, 2000));
        ASSERT_NE(CWnd::GetFocus(), nullptr);
        EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_EDIT_SEND);

        boxes.whileOpen = [&] {
            Activate(dialog, IDC_BUTTON_CONNECT);
            EXPECT_FALSE(test::Widget(dialog)->isEnabled());
        };
        dialog.m_editCycle.EnableWindow(TRUE);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "x");
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(dialog.m_statusBar.GetText(0), "READY") << "CONNECT acted while a message box was open";
        EXPECT_TRUE(test::Widget(dialog)->isEnabled());
    });
}

}  // namespace
