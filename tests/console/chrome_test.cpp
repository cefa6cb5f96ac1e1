#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "app/AboutDlg.h"
#include "framework/Menu.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/qt/Widgets.h"

namespace {

using test::Click;
using test::Status;

// Runs `act` on the next window that opens over `under` (a modal box or a popup menu), once; gives
// up after three seconds.
void WhenAWindowOpensOver(QWidget* under, const std::function<void(QWidget*)>& act) {
    auto* poll = new QTimer;
    auto* deadline = new QElapsedTimer;
    deadline->start();
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, under, act] {
        QWidget* top = QApplication::activePopupWidget();
        if (top == nullptr) {
            top = QApplication::activeModalWidget();
        }
        const bool opened = top != nullptr && top != under && top->isVisible();
        if (opened || deadline->elapsed() > 3000) {
            poll->stop();
            poll->deleteLater();
            delete deadline;
        }
        if (opened) {
            act(top);
        }
    });
    poll->start(5);
}

class ChromeTest : public test::ConsoleFixture {};

TEST_F(ChromeTest, TheSystemMenuEndsWithASeparatorAndTheAboutItem) {
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
        EXPECT_EQ(dialog.GetIcon(FALSE), dialog.m_hIcon);
        EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dialog.m_hIcon));
    });
}

TEST_F(ChromeTest, AltSpaceOpensTheSystemMenuWhoseAboutItemOpensTheAboutBox) {
    CConsoleDlg dialog;
    std::string aboutTitle;
    std::vector<std::string> aboutTexts;
    Run(dialog, [&] {
        QWidget* console = test::Widget(dialog);
        WhenAWindowOpensOver(console, [&](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            ASSERT_NE(menu, nullptr);
            QAction* about = menu->actions().last();
            EXPECT_EQ(about->text().toStdString(), "关于 Quenzo(&A)...");
            WhenAWindowOpensOver(console, [&](QWidget* box) {
                aboutTitle = box->windowTitle().toStdString();
                for (QLabel* label : box->findChildren<QLabel*>()) {
                    aboutTexts.push_back(label->text().toStdString());
                }
                box->close();
            });
            menu->setActiveAction(about);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &enter);
        });
        test::PressKey(Qt::Key_Space, Qt::AltModifier);
        EXPECT_EQ(Status(dialog), "READY");
        EXPECT_TRUE(console->isVisible()) << "closing the About box must leave the console open";
    });
    EXPECT_EQ(aboutTitle, "About Quenzo");
    EXPECT_NE(std::find(aboutTexts.begin(), aboutTexts.end(), "Quenzo Version 3.1"), aboutTexts.end());
}

TEST_F(ChromeTest, EverySystemCommandFrom0x11To0x1FOpensTheAboutBoxToo) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        QWidget* console = test::Widget(dialog);
        for (UINT id = 0x11; id <= 0x1F; ++id) {
            bool opened = false;
            WhenAWindowOpensOver(console, [&](QWidget* box) {
                opened = true;
                box->close();
            });
            dialog.SendMessage(WM_SYSCOMMAND, id, 0);
            EXPECT_TRUE(opened) << id;
        }
    });
}

TEST_F(ChromeTest, TheAboutBoxClosesByOkEnterEscAndTheCloseBox) {
    const std::vector<std::pair<std::function<void(QWidget*)>, int>> ways{
        {[](QWidget* box) { box->findChild<QPushButton*>()->click(); }, IDOK},
        {[](QWidget*) { test::PressKey(Qt::Key_Return); }, IDOK},
        {[](QWidget*) { test::PressKey(Qt::Key_Escape); }, IDCANCEL},
        {[](QWidget* box) { box->close(); }, IDCANCEL},
    };
    for (const auto& way : ways) {
        CAboutDlg about;
        const int result = test::RunDialog(about, [&] { way.first(test::Widget(about)); });
        EXPECT_EQ(result, way.second);
    }
}

TEST_F(ChromeTest, F1InTheAboutBoxAsksForItsOwnHelpTopic) {
    struct HelpApp : CConsoleApp {
        std::vector<DWORD> contexts;
        void WinHelp(DWORD context) override { contexts.push_back(context); }
    } helpApp;
    CAboutDlg about;
    test::RunDialog(about, [&] { test::PressKey(Qt::Key_F1); });
    EXPECT_EQ(helpApp.contexts, (std::vector<DWORD>{0x20064}));
}

TEST_F(ChromeTest, ReceivingAndAutoSendCarryOnWhileTheAboutBoxIsOpen) {
    std::uint16_t port = 0;
    test::Fd listener = test::TcpListener(&port);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::SetModule(dialog, port);
        Click(dialog, IDC_BUTTON_CONNECT);
        test::Fd peer = test::TcpAccept(listener);
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_bLinkOpen == 1; }));
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "10");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        std::int64_t sentWhileOpen = 0;
        std::int64_t receivedWhileOpen = 0;
        WhenAWindowOpensOver(test::Widget(dialog), [&](QWidget* box) {
            const std::int64_t sent = dialog.m_nSendCount;
            test::SendAll(peer, "during");
            test::PumpUntil([&] { return dialog.m_nRecvCount == 6 && dialog.m_nSendCount >= sent + 50LL * 25; }, 3000);
            sentWhileOpen = dialog.m_nSendCount - sent;
            receivedWhileOpen = dialog.m_nRecvCount;
            box->close();
        });
        dialog.SendMessage(WM_SYSCOMMAND, 0x0010, 0);
        EXPECT_GE(sentWhileOpen, 50LL * 25);  // 25 bytes a send, every 10 ms
        EXPECT_EQ(receivedWhileOpen, 6);
        EXPECT_EQ(test::Text(dialog, IDC_EDIT_RECEIVE), "during");
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

TEST(MinimizedIcon, IsCentredWithIntegerDivisionTowardZero) {
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 36, 36}, 32, 32).x, 2);
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 35, 36}, 32, 32).x, 2);
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 0, 0}, 32, 32).x, -15);
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 0, 0}, 32, 32).y, -15);
}

}  // namespace
