#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "framework/MessageBox.h"
#include "tests/console/ConsoleFixture.h"

namespace {

using test::BindUdp;
using test::Click;
using test::LinkClient;
using test::Status;
using test::Text;

class DataTest : public test::ConsoleFixture {
protected:
    static bool ReceivedAtLeast(const CConsoleDlg& dialog, std::int64_t bytes) {
        return test::PumpUntil([&] { return dialog.m_nRecvCount >= bytes; });
    }
};

TEST_F(DataTest, TextAndHexDisplayFollowTheCheckBoxAtTheNextChunk) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        test::SendAll(peer, "hello");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 5));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "hello");
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 5 ");
        Click(dialog, IDC_CHECK_HEX_DISPLAY);
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "hello") << "text already shown is not converted";
        test::SendAll(peer, "hello");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 10));
        test::SendAll(peer, std::string("A\0B", 3));
        ASSERT_TRUE(ReceivedAtLeast(dialog, 13));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "hello68 65 6C 6C 6F 41 00 42 ");
        Click(dialog, IDC_CHECK_HEX_DISPLAY);
        test::SendAll(peer, std::string("A\0B", 3));
        ASSERT_TRUE(ReceivedAtLeast(dialog, 16));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "hello68 65 6C 6C 6F 41 00 42 A");
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 16 ");
        EXPECT_EQ(dialog.m_nShownBytes, 16);
    });
}

// A day of traffic passes four gibibytes; the count goes on in full, digit for digit.
TEST_F(DataTest, CountsBeyondThirtyTwoBitsAreShownWhole) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.m_nRecvCount = 9876543210987;
        test::SendAll(peer, "hello");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 9876543210992));
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 9876543210992 ");
    });
}

// The system's own message box runs its own loop: data that arrives meanwhile waits for the box to
// close, as every posted message does, and is then shown whole.
TEST_F(DataTest, DataThatArrivesWhileAValidationMessageIsOpenIsShownOnceItCloses) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        std::string shownWhileOpen = "not looked at";
        test::SystemMessageBoxes boxes([&] { test::SendAll(peer, "hello"); }, 200,
                                       [&] { shownWhileOpen = test::TextFromOutside(dialog.m_editReceive); });
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(boxes.Answered(), 1);
        EXPECT_EQ(shownWhileOpen, "");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 5));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "hello");
    });
}

// Data always goes at the end: a click or a selection in the box neither reorders nor deletes what
// arrived, the selection stays for copying, and the view stays where the user scrolled it.
TEST_F(DataTest, ChunksGoAtTheEndLeavingTheCaretTheSelectionAndAScrolledViewAlone) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.m_editReceive.SetWindowText("abcdef");
        dialog.m_editReceive.SetSel(3, 3);
        test::SendAll(peer, "XY");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 2));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "abcdefXY");
        dialog.m_editReceive.SetSel(1, 3);
        test::SendAll(peer, "Z");
        test::SendAll(peer, std::string("\0zz", 3));  // shows nothing and deletes nothing
        ASSERT_TRUE(ReceivedAtLeast(dialog, 6));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "abcdefXYZ");
        int start = -1;
        int end = -1;
        dialog.m_editReceive.GetSel(start, end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 3);
        dialog.m_editReceive.SetSel(4, 9);  // a selection up to the end stays as it is
        test::SendAll(peer, "W");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 7));
        dialog.m_editReceive.GetSel(start, end);
        EXPECT_EQ(start, 4);
        EXPECT_EQ(end, 9);
        dialog.m_editReceive.SetSel(10, 10);  // a caret at the end keeps to the end
        test::SendAll(peer, "V");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 8));
        dialog.m_editReceive.GetSel(start, end);
        EXPECT_EQ(start, 11);
        EXPECT_EQ(end, 11);
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "abcdefXYZWV");

        // While the view shows the end it follows it; scrolled back, it stays put.
        const auto sendLines = [&](int from, int count) {
            std::string lines;
            for (int i = from; i < from + count; ++i) {
                lines += "line " + std::to_string(i) + "\r\n";
            }
            const std::int64_t before = dialog.m_nRecvCount;
            test::SendAll(peer, lines);
            ASSERT_TRUE(ReceivedAtLeast(dialog, before + static_cast<std::int64_t>(lines.size())));
        };
        dialog.m_editReceive.LineScroll(1000);
        sendLines(0, 100);
        const int followed = dialog.m_editReceive.GetFirstVisibleLine();
        EXPECT_GT(followed, 50) << "the view did not follow the end";
        dialog.m_editReceive.LineScroll(-followed);
        ASSERT_EQ(dialog.m_editReceive.GetFirstVisibleLine(), 0);
        sendLines(100, 100);
        EXPECT_EQ(dialog.m_editReceive.GetFirstVisibleLine(), 0) << "the view left where the user scrolled it";
        dialog.m_editReceive.LineScroll(1000);
        const int atEnd = dialog.m_editReceive.GetFirstVisibleLine();
        sendLines(200, 100);
        EXPECT_GE(dialog.m_editReceive.GetFirstVisibleLine(), atEnd + 90) << "back at the end, the view follows again";
        const std::string text = Text(dialog, IDC_EDIT_RECEIVE);
        EXPECT_EQ(text.find("line 298\r\nline 299\r\n"), text.size() - 20);
    });
}

// What the program does to the box and the status bar in one go, as a flood does it (additions, an
// emptying, more additions), is seen whole and in order by the next read, each addition decoded on
// its own: bytes of one never complete a character of another.
TEST_F(DataTest, EditsMadeInOneGoAreSeenWholeByTheNextReadEachAdditionDecodedOnItsOwn) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        CEdit& box = dialog.m_editReceive;
        box.AppendText("before the emptying");
        box.SetSel(0, -1);
        box.ScrollCaret();
        box.ReplaceSel("", FALSE);
        box.AppendText("\xC3");
        box.AppendText("\xA9!");
        std::string lines;
        for (int i = 0; i < 100; ++i) {
            box.AppendText("line\r\n");
            lines += "line\r\n";
        }
        const std::string expected = test::DecodedAsTheBoxShows("\xC3") + test::DecodedAsTheBoxShows("\xA9!") + lines;
        EXPECT_TRUE(Text(dialog, IDC_EDIT_RECEIVE) == expected);
        // The emptied box's caret was at its end, and kept to it: after every character shown.
        const std::string shown = test::ShownCharacters(box);
        const auto characters = static_cast<int>(
            std::count_if(shown.begin(), shown.end(), [](char byte) { return (byte & 0xC0) != 0x80; }));
        int start = -1;
        int end = -1;
        box.GetSel(start, end);
        EXPECT_EQ(start, characters);
        EXPECT_EQ(end, characters);

        dialog.m_statusBar.SetText("RECEIVE: 1 ", 1, 0);
        dialog.m_statusBar.SetText("RECEIVE: 2 ", 1, 0);
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 2 ");
        test::PumpFor(100);
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 2 ");
        EXPECT_TRUE(Text(dialog, IDC_EDIT_RECEIVE) == expected);
    });
}

TEST_F(DataTest, ABurstArrivesWholeAndCountedInBufferSizedChunks) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        std::string burst;
        for (int i = 0; i < 5000; ++i) {
            burst += static_cast<char>('a' + i % 26);
        }
        test::SendAll(peer, burst);
        ASSERT_TRUE(ReceivedAtLeast(dialog, 5000));
        test::PumpFor(20);
        EXPECT_EQ(dialog.m_nRecvCount, 5000);
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), burst);
    });
}

TEST_F(DataTest, UdpShowsEveryDatagramWholeDropsEmptyOnesAndAnswersTheLastSender) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        const std::uint16_t port = BindUdp(dialog);
        std::uint16_t peerPort = 0;
        test::Fd peer = test::UdpSocket(&peerPort);
        test::SendDatagram(peer, port, "");
        test::PumpFor(50);
        EXPECT_EQ(dialog.m_nRecvCount, 0);
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), "1024") << "an empty datagram teaches nothing";

        // Larger than a stream's read, and the largest there is: each read whole, shown and counted.
        test::SendDatagram(peer, port, std::string(3000, 'x'));
        test::SendDatagram(peer, port, "0123456789");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 3010));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), std::string(3000, 'x') + "0123456789");
        EXPECT_EQ(Text(dialog, IDC_IPADDRESS_MODULE), "127.0.0.1");
        EXPECT_EQ(Text(dialog, IDC_EDIT_MODULE_PORT), std::to_string(peerPort));
        test::ExpectLinked(dialog);
        // The largest datagram there is, in lines: the box empties itself and shows it whole.
        std::string largest;
        while (largest.size() < 65507) {
            largest += std::string(62, static_cast<char>('a' + largest.size() % 26)) + "\r\n";
        }
        largest.resize(65507);
        test::SendDatagram(peer, port, largest);
        ASSERT_TRUE(ReceivedAtLeast(dialog, 3010 + 65507));
        EXPECT_TRUE(Text(dialog, IDC_EDIT_RECEIVE) == largest) << "the datagram was not shown whole";
        Click(dialog, IDC_CHECK_HEX_DISPLAY);
        test::SendDatagram(peer, port, std::string(2500, '\x01'));
        ASSERT_TRUE(ReceivedAtLeast(dialog, 3010 + 65507 + 2500));
        std::string hex;
        for (int i = 0; i < 2500; ++i) {
            hex += "01 ";
        }
        EXPECT_TRUE(Text(dialog, IDC_EDIT_RECEIVE) == hex) << "the box emptied itself again and shows the datagram";
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 71017 ");

        dialog.SetDlgItemText(IDC_EDIT_SEND, "answer");
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(test::ReceiveExactly(peer, 6), "answer");
        EXPECT_EQ(Status(dialog, 2), "SEND: 6 ");

        dialog.SetDlgItemText(IDC_EDIT_SEND, "");
        Click(dialog, IDC_BUTTON_SEND);  // an empty datagram still goes out
        EXPECT_EQ(test::ReceiveDatagramSize(peer), 0);
        EXPECT_EQ(Status(dialog, 2), "SEND: 6 ");
        Click(dialog, IDC_BUTTON_CLOSE);
    });
}

// SEND counts only what left; a send that cannot leave at all says so with a beep.
TEST_F(DataTest, ASendThatCannotGoOutAtAllBeepsAndCountsNothing) {
    int beeps = 0;
    afx::SetBeepHook([&](UINT) { ++beeps; });
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        Click(dialog, IDC_CHECK_SERVER);  // a client link now sends on the closed peer endpoint
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ");
        Click(dialog, IDC_CHECK_SERVER);
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(Status(dialog, 2), "SEND: 25 ");
        Click(dialog, IDC_BUTTON_CLOSE);

        const std::uint16_t port = BindUdp(dialog);
        std::uint16_t peerPort = 0;
        test::Fd udpPeer = test::UdpSocket(&peerPort);
        test::SendDatagram(udpPeer, port, "hi");  // the console learns where to answer
        ASSERT_TRUE(ReceivedAtLeast(dialog, 2));
        std::string tooLarge;
        while (tooLarge.size() < 70000) {
            tooLarge += std::string(78, 'u') + "\r\n";
        }
        dialog.SetDlgItemText(IDC_EDIT_SEND, tooLarge.c_str());
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(beeps, 2) << "a datagram too large for the network went nowhere without a sign";
        EXPECT_EQ(Status(dialog, 2), "SEND: 25 ");
        EXPECT_EQ(test::ReceiveDatagramSize(udpPeer, 100), -1);
        Click(dialog, IDC_BUTTON_CLOSE);
    });
    afx::SetBeepHook(nullptr);
}

TEST_F(DataTest, TheBoxEmptiesBeforeAChunkThatWouldReachItsLimitAndClearKeepsTheCounts) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.m_editReceive.SetLimitText(10);
        test::SendAll(peer, "12345678");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 8));
        test::SendAll(peer, "abc");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 11));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "abc") << "the chunk that reached the limit must be seen";
        EXPECT_EQ(dialog.m_nShownBytes, 3);
        test::SendAll(peer, "def");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 14));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "abcdef");

        Click(dialog, IDC_BUTTON_CLEAR);
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "");
        EXPECT_EQ(dialog.m_nShownBytes, 6);
        EXPECT_EQ(dialog.m_nRecvCount, 14);
    });
}

// The box's limit is on what the user types: what arrives is shown whole, though in hex a byte
// takes three characters and the box counts bytes against its limit.
TEST_F(DataTest, HexDisplayPastTheBoxLimitIsShownWhole) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        Click(dialog, IDC_CHECK_HEX_DISPLAY);
        dialog.m_editReceive.SetLimitText(10);
        test::SendAll(peer, "12345678");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 8));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "31 32 33 34 35 36 37 38 ");
        EXPECT_EQ(dialog.m_editReceive.GetLimitText(), 10u) << "the user's limit stays as it was";
    });
}

TEST_F(DataTest, TextAndHexSendsGoOutExactlyAndAreCounted) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "XY\r\nZ");
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(test::ReceiveExactly(peer, 5), "XY\r\nZ");
        EXPECT_EQ(Status(dialog, 2), "SEND: 5 ");

        Click(dialog, IDC_CHECK_HEX_SEND);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "01 02 03\r\n0x7F-1");
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(test::ReceiveExactly(peer, 5), std::string("\x01\x02\x03\x7F\xFF", 5));
        EXPECT_EQ(Status(dialog, 2), "SEND: 10 ");
        EXPECT_EQ(Text(dialog, IDC_EDIT_SEND), "01 02 03\r\n0x7F-1") << "the send text stays as typed";

        std::string longHex;
        for (int i = 0; i < 3000; ++i) {
            longHex += "5A";
        }
        dialog.SetDlgItemText(IDC_EDIT_SEND, longHex.c_str());
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(test::ReceiveExactly(peer, 3000), std::string(3000, 'Z'));
        EXPECT_EQ(Status(dialog, 2), "SEND: 3010 ");
    });
}

TEST_F(DataTest, ASendOrTickWithAnInvalidFieldSendsNothingAndShowsOneMessage) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        test::MessageBoxes boxes;
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ");

        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "1234");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "20");   // an edit outside the form exchange: re-arms at 20 ms
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();  // LOCAL PORT is not being typed in
        boxes.shown.clear();
        boxes.whileOpen = [] { test::PumpFor(100); };
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");
        EXPECT_TRUE(test::PumpUntil([&] { return !boxes.shown.empty(); })) << "a tick shows the message";
        test::PumpFor(300);
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ");
        EXPECT_LE(boxes.shown.size(), 3u) << "ticks while a message is open must not pile up boxes";
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(test::ReceiveExactly(peer, 1, 50), "") << "nothing was sent";
    });
}

// Once the user has been told a field is invalid, ticks and received data that read the form again
// neither reopen the message nor pull the focus back while the field stays as it was; the user's
// own actions still show it.
TEST_F(DataTest, TicksAndDataDoNotReopenAMessageTheUserHasAnswered) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        test::MessageBoxes boxes;
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "50");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "");  // as the user empties it: told once
        ASSERT_EQ(boxes.shown.size(), 1u);
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        test::PumpFor(300);
        EXPECT_EQ(boxes.shown.size(), 1u) << "a tick reopened the message";
        CWnd* focus = CWnd::GetFocus();
        ASSERT_NE(focus, nullptr) << "the focus left the console";
        EXPECT_EQ(focus->GetDlgCtrlID(), IDC_EDIT_SEND) << "a tick took the focus";
        EXPECT_EQ(Status(dialog, 2), "SEND: 0 ") << "a tick sent with an invalid form";

        // Data streams in while LOCAL PORT is emptied: one message, every chunk still shown and counted.
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "");
        std::string sent;
        for (int chunk = 0; chunk < 20; ++chunk) {
            const std::string data = "c" + std::to_string(chunk) + ";";
            test::SendAll(peer, data);
            sent += data;
            ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_nRecvCount == static_cast<std::int64_t>(sent.size()); }));
        }
        EXPECT_EQ(boxes.shown.size(), 2u) << "one message for the newly invalid field, not one per chunk";
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), sent);

        // The user's own action is told again; a changed field is told again by a tick.
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(boxes.shown.size(), 3u);
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "1234");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "x");  // told by its own change
        EXPECT_EQ(boxes.shown.size(), 4u);
        test::PumpFor(200);
        EXPECT_EQ(boxes.shown.size(), 4u);
        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(test::ReceiveExactly(peer, 1, 50), "") << "nothing was sent";
    });
}

TEST_F(DataTest, AutoSendStartsOnePeriodAfterArmingAndStopsWhenUncheckedOrClosed) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "t");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "300");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        EXPECT_TRUE(test::Enabled(dialog, IDC_EDIT_CYCLE));
        test::PumpFor(150);
        EXPECT_EQ(dialog.m_nSendCount, 0) << "the first send comes one period after arming";
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_nSendCount >= 1; }, 2000));
        Click(dialog, IDC_CHECK_AUTO_SEND);
        EXPECT_FALSE(test::Enabled(dialog, IDC_EDIT_CYCLE));
        const std::int64_t stopped = dialog.m_nSendCount;
        test::PumpFor(400);
        EXPECT_EQ(dialog.m_nSendCount, stopped);

        // The user edits the cycle: the timing restarts from the edit with the new period.
        Click(dialog, IDC_CHECK_AUTO_SEND);
        dialog.m_editCycle.SetFocus();
        dialog.m_editCycle.SetSel(0, -1);
        test::TypeText("5");
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_nSendCount >= stopped + 5; }, 2000));

        Click(dialog, IDC_BUTTON_CLOSE);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_AUTO_SEND), 0u);
        const std::int64_t closed = dialog.m_nSendCount;
        test::PumpFor(50);
        EXPECT_EQ(dialog.m_nSendCount, closed);
    });
}

TEST_F(DataTest, ThePeersCloseStopsAutoSendAndUnchecksIt) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "5");
        Click(dialog, IDC_CHECK_AUTO_SEND);
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.m_nSendCount >= 2; }));
        peer.reset();
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "READY"; }));
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK_AUTO_SEND), 0u);
        const std::int64_t after = dialog.m_nSendCount;
        test::PumpFor(50);
        EXPECT_EQ(dialog.m_nSendCount, after);
    });
}

// A character of several bytes in the encoding the box takes (UTF-8, or the system's double-byte
// code page), cut after its first byte.
TEST_F(DataTest, ACharacterSplitBetweenReadsIsShownWholeAndEveryByteCounted) {
    const std::string character = test::AMultiByteCharacter();
    if (character.empty()) {
        GTEST_SKIP() << "every character of the system's code page is one byte";
    }
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        test::SendAll(peer, "x" + character.substr(0, 1));
        ASSERT_TRUE(ReceivedAtLeast(dialog, 2));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "x");
        test::SendAll(peer, character.substr(1));
        ASSERT_TRUE(ReceivedAtLeast(dialog, static_cast<std::int64_t>(1 + character.size())));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "x" + character);
        EXPECT_EQ(test::ShownCharacters(dialog.m_editReceive), "x\xE4\xB8\xAD");
        // Held back, then the display turns to hex: the held byte is shown in hex before the chunk.
        const auto lead = static_cast<unsigned char>(character[0]);
        test::SendAll(peer, character.substr(0, 1));
        ASSERT_TRUE(ReceivedAtLeast(dialog, static_cast<std::int64_t>(2 + character.size())));
        // Held until the next chunk, however slowly the test goes on.
        ASSERT_TRUE(dialog.KillTimer(kTextTailTimer));
        Click(dialog, IDC_CHECK_HEX_DISPLAY);
        test::SendAll(peer, "AB");
        ASSERT_TRUE(ReceivedAtLeast(dialog, static_cast<std::int64_t>(4 + character.size())));
        char held[8];
        std::snprintf(held, sizeof held, "%02X ", lead);
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), "x" + character + held + "41 42 ");
    });
}

// Text is bytes in the encoding the boxes take: what the user types goes out in it, and what comes
// in is shown decoded by it (on a Western Windows, é is the byte E9 both ways).
TEST_F(DataTest, TypedTextGoesOutAndReceivedTextIsShownInTheEncodingTheBoxesTake) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.SetDlgItemText(IDC_EDIT_SEND, "");
        dialog.GetDlgItem(IDC_EDIT_SEND)->SetFocus();
        test::TypeText("caf\xC3\xA9");
        Click(dialog, IDC_BUTTON_SEND);
        const std::string cafe = test::EncodedForTheBoxes("caf\xC3\xA9");
        EXPECT_EQ(test::ReceiveExactly(peer, cafe.size()), cafe);
        EXPECT_EQ(dialog.m_nSendCount, static_cast<std::int64_t>(cafe.size()));

        test::SendAll(peer, cafe);
        ASSERT_TRUE(ReceivedAtLeast(dialog, static_cast<std::int64_t>(cafe.size())));
        EXPECT_TRUE(test::PumpUntil([&] { return test::ShownCharacters(dialog.m_editReceive) == "caf\xC3\xA9"; }, 1000))
            << test::ShownCharacters(dialog.m_editReceive);
    });
}

// How the box shows bytes that are no UTF-8 character: as the box decodes them on their own.
std::string ShownAsInvalid(const std::string& bytes) { return test::DecodedAsTheBoxShows(bytes); }

// An unfinished character is held only for a short quiet time, and never past the link's end.
TEST_F(DataTest, AHeldBackCharacterStartIsShownAfterAQuietTimeAndWhenTheLinkEnds) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        // A Latin-1 device: "café" with E9, which starts a UTF-8 character but never finishes one.
        test::SendAll(peer, "caf\xE9");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 4));
        const std::string cafe = "caf" + ShownAsInvalid("\xE9");
        EXPECT_TRUE(test::PumpUntil([&] { return Text(dialog, IDC_EDIT_RECEIVE) == cafe; }, 1000))
            << Text(dialog, IDC_EDIT_RECEIVE);
        // The peer stops mid-character and closes: the last bytes are shown before READY.
        test::SendAll(peer, "A\xE4\xB8");
        test::ShutdownWrite(peer);
        ASSERT_TRUE(test::PumpUntil([&] { return Status(dialog) == "READY"; }));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), cafe + "A" + ShownAsInvalid("\xE4\xB8"));
        EXPECT_EQ(dialog.m_nRecvCount, 7);
    });
}

// Each datagram is decoded whole: the start of a character from one sender never joins the end of
// another's.
TEST_F(DataTest, DatagramsAreDecodedWholeAndHoldNothingBack) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        const std::uint16_t port = BindUdp(dialog);
        std::uint16_t firstPort = 0;
        std::uint16_t secondPort = 0;
        test::Fd first = test::UdpSocket(&firstPort);
        test::Fd second = test::UdpSocket(&secondPort);
        test::SendDatagram(first, port, "A\xE4\xB8");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 3));
        test::SendDatagram(second, port,
                           "\xAD"
                           "B");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 5));
        EXPECT_EQ(Text(dialog, IDC_EDIT_RECEIVE), ShownAsInvalid("A\xE4\xB8") + ShownAsInvalid("\xAD"
                                                                                               "B"));
    });
}

TEST_F(DataTest, CountersGoPastTwoGibibytesWithoutWrapping) {
    CConsoleDlg dialog;
    Run(dialog, [&] {
        test::Fd peer = LinkClient(dialog);
        dialog.m_nRecvCount = 2147483646LL;
        dialog.m_nSendCount = 4294967295LL;
        test::SendAll(peer, "hello");
        ASSERT_TRUE(ReceivedAtLeast(dialog, 2147483651LL));
        EXPECT_EQ(Status(dialog, 1), "RECEIVE: 2147483651 ");
        Click(dialog, IDC_BUTTON_SEND);
        EXPECT_EQ(Status(dialog, 2), "SEND: " + std::to_string(4294967295LL + 25) + " ");
    });
}

}  // namespace
