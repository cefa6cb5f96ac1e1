// The console's form as a user meets it on either system: its defaults, its layout and Tab order,
// the fields' rules and messages, Enter and F1, and the local addresses it lists.
#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/winsock_testing.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/HelpEngine.h"

namespace {

class FormTest : public test::ConsoleFixture {};

using test::Text;

TEST_F(FormTest, StartsWithItsDefaults) {
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

TEST_F(FormTest, KeepsTheTemplateProportionsAndTabOrder) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        // Dialog units scale each axis on its own: positions keep their share of the window.
        RECT client{};
        dialog.GetClientRect(&client);
        const RECT receive = test::ControlRect(*dialog.GetDlgItem(IDC_EDIT_RECEIVE));
        const RECT clearCount = test::ControlRect(*dialog.GetDlgItem(IDC_BUTTON_CLEAR_COUNT));
        EXPECT_NEAR(static_cast<double>(receive.right) / client.right, 386.0 / 400.0, 0.01);
        EXPECT_NEAR(static_cast<double>(clearCount.bottom) / client.bottom, 251.0 / 253.0, 0.01);
        EXPECT_NEAR(static_cast<double>(receive.top) / client.bottom, 17.0 / 253.0, 0.01);
        // Tab from CONNECT skips the disabled CLOSE and MANUAL SEND, then follows the template.
        std::vector<int> order;
        for (int i = 0; i < 5; ++i) {
            test::PressKey(test::Key::Tab);
            order.push_back(CWnd::GetFocus() != nullptr ? CWnd::GetFocus()->GetDlgCtrlID() : 0);
        }
        EXPECT_EQ(order, (std::vector<int>{IDC_BUTTON_CLEAR, IDC_BUTTON_CLEAR_COUNT, IDC_CHECK_HEX_DISPLAY,
                                           IDC_CHECK_HEX_SEND, IDC_EDIT_SEND}));
    });
}

TEST_F(FormTest, APortOutOfRangeIsKeptReportedAndStopsTheRead) {
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
        EXPECT_EQ(test::Selection(*dialog.GetDlgItem(IDC_EDIT_LOCAL_PORT)), std::make_pair(0, 5));
    });
}

TEST_F(FormTest, NumberFieldsFollowTheFormsRules) {
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

TEST_F(FormTest, ShowingTheFormRewritesOnlyFieldsThatDiffer) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        CWnd& port = *dialog.GetDlgItem(IDC_EDIT_LOCAL_PORT);
        test::Select(port, 2, 2);
        dialog.m_nModulePort = 4000;
        dialog.m_bServer = 7;  // outside 0 to 2: shown, and kept, as 0
        dialog.UpdateData(FALSE);
        EXPECT_EQ(test::Selection(port), std::make_pair(2, 2));
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), "4000");
        EXPECT_EQ(dialog.m_bServer, 0);
    });
}

TEST_F(FormTest, EnterReadsTheFormAndEndsOnlyWhenItIsValid) {
    CConsoleDlg dialog;
    test::MessageBoxes boxes;
    const int result = Run(dialog, [&] {
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "70000");
        dialog.GetDlgItem(IDC_EDIT_LOCAL_PORT)->SetFocus();
        test::PressKey(test::Key::Return);
        ASSERT_TRUE(dialog.IsWindowVisible());
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"“请填入一个在0和65535之间的整数。”"}));
        EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_EDIT_LOCAL_PORT);

        // Enter in the send box breaks the line; the console stays.
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        test::PressKey(test::Key::Return);
        ASSERT_TRUE(dialog.IsWindowVisible());

        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "7000");
        dialog.GetDlgItem(IDC_EDIT_CYCLE)->EnableWindow(TRUE);
        dialog.GetDlgItem(IDC_EDIT_CYCLE)->SetFocus();
        test::PressKey(test::Key::Return);
        EXPECT_FALSE(dialog.IsWindowVisible());
    });
    EXPECT_EQ(result, static_cast<int>(IDOK));
    EXPECT_EQ(dialog.m_nLocalPort, 7000u);
    EXPECT_EQ(dialog.m_strSend, "\r\nhttp://quenzo.example.com");  // at the caret, which starts at 0
}

TEST_F(FormTest, F1AsksTheHelpEngineForTheConsolesTopicAndReportsOnlyAnEngineThatCannotStart) {
    for (const bool refuses : {false, true}) {
        CConsoleDlg dialog;
        test::MessageBoxes boxes;
        test::HelpEngine engine;
        engine.refuses = refuses;
        app.helpContexts.clear();
        Run(dialog, [&] {
            test::PressKey(test::Key::F1);
            test::PressKey(test::Key::F1, test::kShift);
        });
        EXPECT_EQ(app.helpContexts, (std::vector<DWORD>{0x20066}));
        if (!test::HelpEngine::Exists()) {
            EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"启动帮助失败。"}));
            continue;
        }
        // The engine is asked for the topic by its context number, from the program's help file.
        ASSERT_EQ(engine.requests.size(), 1u) << refuses;
        EXPECT_EQ(engine.requests[0].command, 1u);
        EXPECT_EQ(engine.requests[0].context, 0x20066u);
        EXPECT_EQ(engine.requests[0].file, app.m_strHelpFilePath);
        EXPECT_EQ(boxes.Texts(), refuses ? std::vector<std::string>{"启动帮助失败。"} : std::vector<std::string>{});
    }
}

TEST_F(FormTest, MessageBoxCaptionFollowsTheExecutablesName) {
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

TEST_F(FormTest, ListsEveryLocalAddressAndSelectsTheLast) {
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

TEST_F(FormTest, OneLocalAddressIsSelectedAndAFailedLookupSelectsNothing) {
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

}  // namespace
