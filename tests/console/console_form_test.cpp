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
#include "tests/console/ConsoleFixture.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/qt/Widgets.h"
#include "tests/support/Peers.h"

namespace {

class ConsoleFormTest : public test::ConsoleFixture {};

using test::Text;

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
