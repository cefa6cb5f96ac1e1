#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QElapsedTimer>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/qt/Widgets.h"

// What a screen reader gets from the console: answers that never wait on a message box, and the
// receive box's text as it is.
namespace {

using test::Click;
using test::Text;

class AccessibilityTest : public test::ConsoleFixture {};

QAccessibleInterface* Describe(const CConsoleDlg& dialog, int id) {
    return QAccessible::queryAccessibleInterface(test::Control(dialog, id));
}

// A press whose handler opens a message box answers at once; the click comes from the event loop,
// once, and its box is then there to be read and answered.
TEST_F(AccessibilityTest, APressAnswersAtOnceThoughItsHandlerOpensABox) {
    std::uint16_t port = 0;
    test::Fd holder = test::TcpListener(&port);
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::MessageBoxes boxes;
        Click(dialog, IDC_CHECK_SERVER);
        test::SetLocalPort(dialog, port);
        QAccessibleActionInterface* listen = Describe(dialog, IDC_BUTTON_CONNECT)->actionInterface();
        ASSERT_NE(listen, nullptr);
        QElapsedTimer took;
        took.start();
        listen->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_LT(took.elapsed(), 100);
        EXPECT_TRUE(boxes.shown.empty()) << "the press waited for the handler";
        ASSERT_TRUE(test::PumpUntil([&] { return !boxes.shown.empty(); }));
        test::PumpFor(50);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Can not create Socket!"}));
    });
}

// Text set through the editable-text interface is the user's edit: the box's change handler runs,
// from the event loop, after the call has answered.
TEST_F(AccessibilityTest, AnEditThroughTheTextInterfaceAnswersAtOnceAndRunsTheChangeHandler) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::MessageBoxes boxes;
        dialog.m_editCycle.EnableWindow(TRUE);  // as AUTO SEND enables it
        QAccessibleInterface* cycle = Describe(dialog, IDC_EDIT_CYCLE);
        ASSERT_NE(cycle->editableTextInterface(), nullptr);
        ASSERT_NE(cycle->textInterface(), nullptr);
        EXPECT_EQ(cycle->textInterface()->text(0, -1), "1000");

        cycle->editableTextInterface()->replaceText(0, cycle->textInterface()->characterCount(), "");
        EXPECT_TRUE(boxes.shown.empty()) << "the edit waited for the handler";
        EXPECT_EQ(Text(dialog, IDC_EDIT_CYCLE), "1000");
        ASSERT_TRUE(test::PumpUntil([&] { return !boxes.shown.empty(); }));
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"请键入一个整数。"}));
        EXPECT_EQ(Text(dialog, IDC_EDIT_CYCLE), "");

        cycle->editableTextInterface()->insertText(0, "25");
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_nCycleMs == 25; }));
        EXPECT_EQ(boxes.shown.size(), 1u);
        dialog.KillTimer(kAutoSendTimer);
    });
}

// The receive box reads as its text: a lone CR or LF as itself, CR LF as the line break, and no
// break where the box only holds a long line in pieces.
TEST_F(AccessibilityTest, TheReceiveBoxReadsAsItsTextWithNothingAddedOrStoodIn) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        std::string hex;
        for (int i = 0; i < 20000; ++i) {
            hex += "4F ";
        }
        const std::string text = "a\rb\nc\r\nd" + hex;
        dialog.m_editReceive.AppendText("a\rb\nc\r");
        dialog.m_editReceive.AppendText("\nd");
        dialog.m_editReceive.AppendText(hex.c_str());
        ASSERT_EQ(Text(dialog, IDC_EDIT_RECEIVE), text);

        QAccessibleTextInterface* box = Describe(dialog, IDC_EDIT_RECEIVE)->textInterface();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->characterCount(), static_cast<int>(text.size()));
        EXPECT_TRUE(box->text(0, -1) == QString::fromStdString(text)) << "the text read differs from the box's";
        EXPECT_EQ(box->text(0, 8), QString::fromStdString(text.substr(0, 8)));
        EXPECT_EQ(box->text(30000, 30006), QString::fromStdString(text.substr(30000, 6)));

        // Offsets are the text's own: the selection reads back where it was set, either way.
        dialog.m_editReceive.SetSel(2, 9);
        int start = 0;
        int end = 0;
        box->selection(0, &start, &end);
        EXPECT_EQ(start, 2);
        EXPECT_EQ(end, 9);
        EXPECT_EQ(box->cursorPosition(), 9);
        box->setSelection(0, 30001, 30004);
        dialog.m_editReceive.GetSel(start, end);
        EXPECT_EQ(start, 30001);
        EXPECT_EQ(end, 30004);
        EXPECT_EQ(box->text(start, end), QString::fromStdString(text.substr(30001, 3)));
    });
}

}  // namespace
