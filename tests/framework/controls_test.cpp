#include "framework/Controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <vector>

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/MessageLoop.h"
#include "res/Resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/qt/Widgets.h"
#include "tests/framework/PlainDialog.h"
#include "tests/support/Peers.h"

namespace {

using test::PlainDialog;

// An edit wrapper acting on one of the dialog's edits.
class EditOf : public CEdit {
public:
    EditOf(CDialog& dialog, int id) { Attach(dialog.GetDlgItem(id)->m_hWnd); }
    ~EditOf() override { Detach(); }
};

TEST(MultiLineEdit, KeepsCrLfAsLineBreaksAndLoneCrOrLfAsText) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        EditOf edit(dialog, IDC_EDIT_SEND);
        edit.SetWindowText("one\r\ntwo\rthree\nfour");
        CString text;
        edit.GetWindowText(text);
        EXPECT_EQ(text, "one\r\ntwo\rthree\nfour");
        auto* widget = static_cast<QPlainTextEdit*>(test::Widget(edit));
        EXPECT_EQ(widget->blockCount(), 2);

        // Copying gives the characters back: a line break as LF, a lone CR or LF as itself.
        edit.SetSel(0, -1);
        widget->copy();
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "one\ntwo\rthree\nfour");

        edit.SetSel(3, 5);  // the CR LF pair, two positions
        edit.ReplaceSel("|");
        edit.GetWindowText(text);
        EXPECT_EQ(text, "one|two\rthree\nfour");

        edit.SetSel(0, -1);
        edit.ReplaceSel("a\r\nb");
        int start = 0;
        int end = 0;
        edit.GetSel(start, end);
        EXPECT_EQ(start, 4);  // after "a", CR, LF, "b"
        EXPECT_EQ(end, 4);
    });
}

// Whatever the user types or pastes, and whatever the program puts in, reads back as itself:
// private-use characters, U+2028 and U+2029 included. Only the box's own line breaks are CR LF.
TEST(MultiLineEdit, EveryCharacterReadsBackAsItself) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        EditOf edit(dialog, IDC_EDIT_SEND);
        auto* widget = static_cast<QPlainTextEdit*>(test::Widget(edit));
        CString text;
        edit.SetWindowText("");
        edit.SetFocus();
        test::TypeText(QString::fromUtf16(u"A\uE00DB\uE00AC").toStdString());
        edit.GetWindowText(text);
        EXPECT_EQ(text, "A\uE00DB\uE00AC");

        edit.SetWindowText("");
        QApplication::clipboard()->setText(
            QString::fromUtf16(u"1\u2028"
                               u"2\u2029"
                               u"3\r4\r\n5\n6\uFDD0"));
        widget->paste();
        edit.GetWindowText(text);
        EXPECT_EQ(text,
                  "1\u2028"
                  "2\u2029"
                  "3\r4\r\n5\r\n6\uFDD0");
        EXPECT_EQ(widget->blockCount(), 3) << "only the pasted LF and CR LF break the line";

        // Copying gives every character back as itself, a line break as LF.
        edit.SetSel(0, -1);
        widget->copy();
        EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf16(u"1\u2028"
                                                                        u"2\u2029"
                                                                        u"3\r4\n5\n6\uFDD0"));

        // A received U+E00D followed by LF is two characters, never a line break.
        edit.SetWindowText("");
        edit.ReplaceSel("x\uE00D");
        edit.ReplaceSel("\ny");
        edit.GetWindowText(text);
        EXPECT_EQ(text, "x\uE00D\ny");
        EXPECT_EQ(widget->blockCount(), 1);
        // A CR and an LF received apart still make one line break.
        edit.ReplaceSel("\r");
        edit.GetWindowText(text);
        edit.ReplaceSel("\nz");
        edit.GetWindowText(text);
        EXPECT_EQ(text, "x\uE00D\ny\r\nz");
        EXPECT_EQ(widget->blockCount(), 2);
    });
}

// A long line is held in blocks of bounded length so that laying it out stays cheap; none of that
// shows in its text, its length, its positions or what is copied.
TEST(MultiLineEdit, ALongLineReadsBackWholeHoweverItIsHeld) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        EditOf edit(dialog, IDC_EDIT_RECEIVE);
        auto* widget = static_cast<QPlainTextEdit*>(test::Widget(edit));
        std::string expected;
        for (int chunk = 0; chunk < 20; ++chunk) {
            std::string text(1000, static_cast<char>('a' + chunk));
            if (chunk % 3 == 0) {
                text[500] = ' ';
            }
            if (chunk == 11) {
                text += "\r\n";
            }
            edit.ReplaceSel(text.c_str());
            expected += text;
        }
        CString read;
        edit.GetWindowText(read);
        ASSERT_EQ(read.str(), expected);
        EXPECT_GT(widget->blockCount(), 8) << "the line was not cut into blocks";
        for (QTextBlock block = widget->document()->begin(); block.isValid(); block = block.next()) {
            EXPECT_LE(block.length(), 2049);
        }
        EXPECT_EQ(edit.GetWindowTextLength(), static_cast<int>(expected.size()));
        int start = 0;
        int end = 0;
        edit.GetSel(start, end);
        EXPECT_EQ(start, static_cast<int>(expected.size()));
        edit.SetSel(5000, 9000);
        edit.GetSel(start, end);
        EXPECT_EQ(start, 5000);
        EXPECT_EQ(end, 9000);
        edit.ReplaceSel("|");
        expected.replace(5000, 4000, "|");
        edit.GetWindowText(read);
        EXPECT_EQ(read.str(), expected);
        edit.SetSel(0, -1);
        widget->copy();
        QString copied = QString::fromStdString(expected);
        copied.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(QApplication::clipboard()->text(), copied);
    });
}

TEST(MultiLineEdit, EnterBreaksTheLineAndTypingStopsAtTheLimitButTheProgramDoesNot) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        EditOf edit(dialog, IDC_EDIT_SEND);
        EXPECT_EQ(edit.GetLimitText(), 30000u);
        edit.SetWindowText("");
        edit.SetFocus();
        test::TypeText("ab");
        test::PressKey(Qt::Key_Return);
        test::TypeText("c");
        CString text;
        edit.GetWindowText(text);
        EXPECT_EQ(text, "ab\r\nc");
        EXPECT_NE(dialog.m_hWnd, nullptr) << "Enter in a multi-line box must not end the dialog";

        edit.SetLimitText(6);
        test::TypeText("xyz");
        edit.GetWindowText(text);
        EXPECT_EQ(text, "ab\r\ncx");
        edit.SetSel(-1, -1);
        edit.ReplaceSel("programmatic");
        edit.GetWindowText(text);
        EXPECT_EQ(text, "ab\r\ncxprogrammatic");
    });
}

TEST(NumberEdit, TakesOnlyDigitsAndStopsWhenTheBoxIsFull) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        EditOf cycle(dialog, IDC_EDIT_CYCLE);
        cycle.EnableWindow(TRUE);
        cycle.SetWindowText("");
        cycle.SetFocus();
        test::TypeText("1a2-3");
        CString text;
        cycle.GetWindowText(text);
        EXPECT_EQ(text, "123");
        test::TypeText("4567890123");
        cycle.GetWindowText(text);
        EXPECT_LT(text.GetLength(), 13) << "typing must stop once the narrow box is full";
        EXPECT_GE(text.GetLength(), 3);
        // The program may put any text there.
        cycle.SetWindowText("-5");
        cycle.GetWindowText(text);
        EXPECT_EQ(text, "-5");
    });
}

TEST(CommonControls, AddressUpDownAndStatusBarWorkAsTheProgramUsesThem) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        CIPAddressCtrl ip;
        ASSERT_TRUE(ip.SubclassDlgItem(IDC_IPADDRESS_MODULE, &dialog));
        ip.SetAddress(10, 0, 0, 5);
        BYTE a = 0, b = 0, c = 0, d = 0;
        EXPECT_EQ(ip.GetAddress(a, b, c, d), 4);
        EXPECT_EQ((std::vector<int>{a, b, c, d}), (std::vector<int>{10, 0, 0, 5}));
        DWORD whole = 0;
        ip.GetAddress(whole);
        EXPECT_EQ(whole, 0x0A000005u);
        // Typed as it reads: a full field moves on by itself, and the dot after it is not a second move.
        ip.SetFocus();
        static_cast<QLineEdit*>(QApplication::focusWidget())->selectAll();
        test::TypeText("127.0.0.1");
        ip.GetAddress(whole);
        EXPECT_EQ(whole, 0x7F000001u);

        CSpinButtonCtrl spin;
        ASSERT_TRUE(spin.SubclassDlgItem(IDC_SPIN_LOCAL_PORT, &dialog));
        spin.SetRange32(0, 0xFFFF);
        ASSERT_NE(spin.GetBuddy(), nullptr);
        EXPECT_EQ(spin.GetBuddy()->GetDlgCtrlID(), IDC_EDIT_LOCAL_PORT);
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "65534");
        spin.GetBuddy()->SetFocus();
        test::PressKey(Qt::Key_Up);
        test::PressKey(Qt::Key_Up);
        CString text;
        dialog.GetDlgItemText(IDC_EDIT_LOCAL_PORT, text);
        EXPECT_EQ(text, "65535");
        spin.SetPos32(12345);
        dialog.GetDlgItemText(IDC_EDIT_LOCAL_PORT, text);
        EXPECT_EQ(text, "12345");
        // The extremes of an int in the buddy step into the range, never around it.
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "2147483647");
        test::PressKey(Qt::Key_Up);
        dialog.GetDlgItemText(IDC_EDIT_LOCAL_PORT, text);
        EXPECT_EQ(text, "65535");
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "-2147483648");
        test::PressKey(Qt::Key_Down);
        dialog.GetDlgItemText(IDC_EDIT_LOCAL_PORT, text);
        EXPECT_EQ(text, "0");

        CStatusBarCtrl bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, RECT{10, 300, 500, 325}, &dialog, IDC_STATUSBAR));
        const int parts[] = {245, 392, -1};
        ASSERT_TRUE(bar.SetParts(3, parts));
        ASSERT_TRUE(bar.SetText("READY", 0));
        ASSERT_TRUE(bar.SetText("SEND: 0 ", 2));
        EXPECT_EQ(bar.GetText(0), "READY");
        EXPECT_EQ(bar.GetText(2), "SEND: 0 ");
        EXPECT_FALSE(bar.SetText("x", 3));
        EXPECT_EQ(test::Widget(bar)->accessibleName().toStdString(), "status");
    });
}

TEST(FormExchange, ShowingTheFormRaisesNoNotificationsButTheUserAndProgramOtherwiseDo) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        dialog.UpdateData(FALSE);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "1");
        EXPECT_EQ(dialog.changes, 1);
        dialog.GetDlgItem(IDC_EDIT_CYCLE)->EnableWindow(TRUE);
        dialog.GetDlgItem(IDC_EDIT_CYCLE)->SetFocus();
        test::TypeText("2");
        EXPECT_EQ(dialog.changes, 2);
    });
}

}  // namespace
