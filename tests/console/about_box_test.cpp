// The About box as a user meets it on either system: the system menu's About item and the system
// commands that open it, the ways it closes, F1 in it, and the console carrying on under it.
#include "app/AboutDlg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "console/ConsoleDlg.h"
#include "framework/Menu.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/HelpEngine.h"

namespace {

using test::Click;
using test::Status;

class AboutBoxTest : public test::ConsoleFixture {};

// The box's close box, as the window system reports a click on it.
void CloseBox(CDialog& box) { box.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST_F(AboutBoxTest, TheSystemMenuEndsWithASeparatorAndTheAboutItem) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = menu->GetMenuItemCount();
        ASSERT_GE(count, 3);
        EXPECT_EQ(menu->GetMenuItemID(0), SC_RESTORE);
        EXPECT_NE(menu->GetMenuState(count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
        EXPECT_EQ(menu->GetMenuItemID(count - 1), 0x0010u);
        CString text;
        menu->GetMenuString(count - 1, text, MF_BYPOSITION);
        EXPECT_EQ(text, "关于 Quenzo(&A)...");
        EXPECT_NE(dialog.m_hIcon, nullptr);
        EXPECT_EQ(dialog.GetIcon(TRUE), dialog.m_hIcon);
        // The small icon is drawn from the same icon group (one image of it where the window
        // system keeps one image an icon).
        EXPECT_NE(dialog.GetIcon(FALSE), nullptr);
        EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dialog.m_hIcon));
    });
}

TEST_F(AboutBoxTest, EverySystemCommandFrom0x10To0x1FOpensTheAboutBox) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        for (UINT id = 0x10; id <= 0x1F; ++id) {
            UINT opened = 0;
            test::WhenADialogOpensOver(dialog, [&](CDialog& box) {
                opened = box.TemplateId();
                CloseBox(box);
            });
            dialog.SendMessage(WM_SYSCOMMAND, id, 0);
            EXPECT_EQ(opened, static_cast<UINT>(IDD_ABOUTBOX)) << id;
        }
        EXPECT_TRUE(dialog.IsWindowVisible()) << "closing the About box leaves the console open";
        EXPECT_EQ(Status(dialog), "READY");
    });
}

TEST_F(AboutBoxTest, ClosesByOkEnterEscAltF4AndTheCloseBox) {
    const std::vector<std::pair<std::function<void(CAboutDlg&)>, int>> ways{
        {[](CAboutDlg& box) { Click(box, IDOK); }, IDOK},
        {[](CAboutDlg&) { test::PressKey(test::Key::Return); }, IDOK},
        {[](CAboutDlg&) { test::PressKey(test::Key::Escape); }, IDCANCEL},
        {[](CAboutDlg&) { test::PressKey(test::Key::F4, test::kAlt); }, IDCANCEL},
        {[](CAboutDlg& box) { CloseBox(box); }, IDCANCEL},
    };
    for (std::size_t way = 0; way < ways.size(); ++way) {
        CAboutDlg about;
        const int result = test::RunDialog(about, [&] { ways[way].first(about); });
        EXPECT_EQ(result, ways[way].second) << way;
    }
}

TEST_F(AboutBoxTest, F1InTheAboutBoxAsksForItsOwnHelpTopic) {
    test::MessageBoxes boxes;
    test::HelpEngine engine;
    CAboutDlg about;
    test::RunDialog(about, [&] { test::PressKey(test::Key::F1); });
    EXPECT_EQ(app.helpContexts, (std::vector<DWORD>{0x20064}));
    if (test::HelpEngine::Exists()) {
        ASSERT_EQ(engine.requests.size(), 1u);
        EXPECT_EQ(engine.requests[0].context, 0x20064u);
        EXPECT_TRUE(boxes.Texts().empty());
    } else {
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"启动帮助失败。"}));
    }
}

TEST_F(AboutBoxTest, ReceivingAndAutoSendCarryOnWhileTheAboutBoxIsOpen) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = test::LinkClient(dialog);
        ASSERT_EQ(dialog.m_bLinkOpen, 1);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "10");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        std::int64_t sentWhileOpen = 0;
        std::int64_t receivedWhileOpen = 0;
        test::WhenADialogOpensOver(dialog, [&](CDialog& box) {
            const std::int64_t sent = dialog.m_nSendCount;
            test::SendAll(peer, "during");
            test::PumpUntil([&] { return dialog.m_nRecvCount == 6 && dialog.m_nSendCount >= sent + 50LL * 25; }, 3000);
            sentWhileOpen = dialog.m_nSendCount - sent;
            receivedWhileOpen = dialog.m_nRecvCount;
            CloseBox(box);
        });
        dialog.SendMessage(WM_SYSCOMMAND, 0x0010, 0);
        EXPECT_GE(sentWhileOpen, 50LL * 25);  // 25 bytes a send, every 10 ms
        EXPECT_EQ(receivedWhileOpen, 6);
        EXPECT_EQ(test::Text(dialog, IDC_EDIT_RECEIVE), "during");
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

}  // namespace
