#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include "tests/console/ConsoleFixture.h"

// What the user types is neither thrown away nor nagged about by what the network and the timer do.
namespace {

using test::Click;
using test::Status;
using test::Text;

class TypedInputTest : public test::ConsoleFixture {};

// Ticks and received data read the form, but the field being typed keeps its last good value
// silently until the user acts; then the message comes as always.
TEST_F(TypedInputTest, TicksAndDataShowNoMessageForTheFieldBeingTyped) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = test::LinkClient(dialog);
        const UINT modulePort = dialog.m_nModulePort;
        test::MessageBoxes boxes;
        dialog.SetDlgItemText(IDC_EDIT_SEND, "t");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "20");

        dialog.m_editModulePort.SetFocus();
        for (const char* typed : {"", "6", "65", "655", "6553", "65536", "655360"}) {
            dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, typed);
            const std::int64_t sent = dialog.m_nSendCount;
            const std::int64_t received = dialog.m_nRecvCount;
            test::SendAll(peer, "data");
            ASSERT_TRUE(test::PumpUntil([&] {
                return dialog.m_nRecvCount == received + 4 && dialog.m_nSendCount > sent;
            })) << "data and ticks stopped while \""
                << typed << "\" was typed";
        }
        EXPECT_TRUE(boxes.shown.empty()) << boxes.Texts()[0];
        EXPECT_EQ(dialog.m_nModulePort, 6553u) << "the field kept its last good value";
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), "655360") << "what the user typed stays";
        ASSERT_NE(CWnd::GetFocus(), nullptr);
        EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_EDIT_MODULE_PORT);

        // The user's own send reads the field and tells; ticks then send nothing until it is mended.
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"“请填入一个在0和65535之间的整数。”"}));
        const std::int64_t told = dialog.m_nSendCount;
        test::PumpFor(100);
        EXPECT_EQ(dialog.m_nSendCount, told);
        dialog.SetDlgItemText(IDC_EDIT_MODULE_PORT, std::to_string(modulePort).c_str());
        EXPECT_TRUE(test::PumpUntil([&] { return dialog.m_nSendCount > told; }));
        EXPECT_EQ(boxes.shown.size(), 1u);
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

// A field that is disabled cannot be mended by the user, so it never fails a read: it shows its
// last good value again, and sending works.
TEST_F(TypedInputTest, AFieldTheUserCannotEditNeverLocksOutSending) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = test::LinkClient(dialog);
        test::MessageBoxes boxes;
        dialog.SetDlgItemText(IDC_EDIT_SEND, "s");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.m_editCycle.SetFocus();
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "");  // the user empties CYCLE: told
        Click(dialog, IDC_CHECK_AUTO_SEND);         // and unticks AUTO SEND: told again, CYCLE disabled
        EXPECT_EQ(boxes.shown.size(), 2u);
        EXPECT_FALSE(test::Enabled(dialog, IDC_EDIT_CYCLE));

        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(boxes.shown.size(), 2u) << boxes.Texts().back();
        EXPECT_EQ(test::ReceiveExactly(peer, 1), "s");
        EXPECT_EQ(Status(dialog, 2), "SEND: 1 ");
        EXPECT_EQ(Text(dialog, IDC_EDIT_CYCLE), "1000") << "the disabled field shows the value it keeps";
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

// A datagram teaches the console its sender and rewrites the module fields, nothing else: text
// typed into a field the last read could not reach is not replaced.
TEST_F(TypedInputTest, ADatagramRewritesOnlyTheModuleFields) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        const std::uint16_t port = test::BindUdp(dialog);
        test::MessageBoxes boxes;
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");  // the read of every datagram stops here
        dialog.SetDlgItemText(IDC_EDIT_SEND, "typed while data came");
        std::uint16_t peerPort = 0;
        test::Fd peer = test::UdpSocket(&peerPort);
        test::SendDatagram(peer, port, "one");
        test::SendDatagram(peer, port, "two");
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_nRecvCount == 6; }));
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), std::to_string(peerPort));
        EXPECT_EQ(Text(dialog, IDC_EDIT_SEND), "typed while data came");
        EXPECT_EQ(Text(dialog, IDC_EDIT_LOCAL_PORT), "x");
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

// Every key that cancels ends the console with Cancel without reading the form (an invalid field
// shows no message on the way out): Esc and Ctrl+Break in either multi-line box, although the box
// takes every other key for itself; Esc in a field of one line; Alt+F4 anywhere.
TEST_F(TypedInputTest, EveryCancellingKeyEndsTheConsoleWithoutReadingTheForm) {
    struct Way {
        int id;
        test::Key key;
        int modifiers;
    };
    const Way ways[] = {
        {IDC_EDIT_SEND, test::Key::Break, test::kControl},
        {IDC_EDIT_RECEIVE, test::Key::Break, test::kControl},
        {IDC_EDIT_RECEIVE, test::Key::Escape, test::kNoModifier},
        {IDC_EDIT_SEND, test::Key::Escape, test::kNoModifier},
        {IDC_EDIT_LOCAL_PORT, test::Key::Escape, test::kNoModifier},
        {IDC_EDIT_LOCAL_PORT, test::Key::F4, test::kAlt},
        {IDC_EDIT_SEND, test::Key::F4, test::kAlt},
    };
    for (const Way& way : ways) {
        CConsoleDlg dialog;
        test::MessageBoxes boxes;
        const int result = Run(dialog, [&] {
            dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");
            dialog.GetDlgItem(way.id)->SetFocus();
            test::PressKey(way.key, way.modifiers);
        });
        EXPECT_EQ(result, static_cast<int>(IDCANCEL)) << way.id << " " << static_cast<int>(way.key);
        EXPECT_TRUE(boxes.shown.empty()) << way.id << " " << static_cast<int>(way.key);
    }
}

}  // namespace
