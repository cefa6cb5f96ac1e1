// The framework's contracts that every backend keeps: window timers, the frame clock, messages held
// back while a validation message is open, and a modal dialog whose window cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "framework/Controls.h"
#include "framework/FrameClock.h"
#include "framework/MessageBox.h"
#include "framework/MessageLoop.h"
#include "tests/framework/PlainDialog.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Peers.h"

namespace {

using test::PlainDialog;
using test::WM_PROBE;

TEST(WindowTimer, TicksOnScheduleRestartsWhenSetAgainAndStopsWhenKilled) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        dialog.SetTimer(10, 20);
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.ticks.size() >= 3; }));
        EXPECT_EQ(dialog.ticks[0], 10u);
        dialog.SetTimer(10, 100000);  // set again: the period starts afresh
        const std::size_t seen = dialog.ticks.size();
        test::PumpFor(60);
        EXPECT_EQ(dialog.ticks.size(), seen);
        dialog.SetTimer(10, 0);  // runs as 1 ms
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.ticks.size() >= seen + 5; }, 1000));
        EXPECT_TRUE(dialog.KillTimer(10));
        const std::size_t killed = dialog.ticks.size();
        test::PumpFor(30);
        EXPECT_EQ(dialog.ticks.size(), killed);
        EXPECT_FALSE(dialog.KillTimer(10));
    });
}

// After the thread was held up, one late tick comes, then the schedule: missed ticks are not made up
// back to back.
TEST(WindowTimer, AStalledThreadGetsOneLateTickNotABurst) {
    PlainDialog dialog;
    std::vector<long long> at;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    };
    test::RunDialog(dialog, [&] {
        const long long setAt = elapsed();
        dialog.SetTimer(10, 100);
        ASSERT_TRUE(test::PumpUntil([&] { return !dialog.ticks.empty(); }));
        // The handler of the first tick, busy until 750 ms after the timer was set: half-way between
        // two points of the schedule, however late the first tick came on a loaded machine.
        std::this_thread::sleep_until(start + std::chrono::milliseconds(setAt + 750));
        const long long stallEnd = elapsed();
        dialog.ticks.clear();
        while (elapsed() < stallEnd + 400) {
            const std::size_t before = dialog.ticks.size();
            test::PumpUntil([&] { return dialog.ticks.size() > before; }, 50);
            if (dialog.ticks.size() > before) {
                at.push_back(elapsed() - stallEnd);
            }
        }
        dialog.KillTimer(10);
        ASSERT_GE(at.size(), 3u);
        // The late tick at once, the next at the schedule's next point in the future (800 ms from
        // the timer's start, some 50 ms after the stall), then every 100 ms.
        EXPECT_LT(at[0], 40);
        EXPECT_GE(at[1] - at[0], 30) << "a missed tick was made up back to back";
        EXPECT_GE(at[2] - at[1], 80);
    });
}

// A frame client that records when its calls come, in order, and can act from inside its call.
class Frames : public afx::FrameClient {
public:
    explicit Frames(std::vector<int>* order, int name) : m_order(order), m_name(name) {}
    ~Frames() = default;
    std::function<void()> onFrame;
    int calls = 0;

private:
    void OnFrame() override {
        ++calls;
        m_order->push_back(m_name);
        if (onFrame) {
            onFrame();
        }
    }
    std::vector<int>* m_order;
    int m_name;
};

TEST(FrameClock, CallsComeFromTheLoopEarliestFirstOnceEachAndNeverAfterACancelOrTheirEnd) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        std::vector<int> order;
        Frames first(&order, 1);
        Frames second(&order, 2);
        Frames third(&order, 3);
        Frames cancelled(&order, 4);
        auto gone = std::make_unique<Frames>(&order, 5);
        first.CallIn(400);
        first.CallIn(5);  // asked again for sooner: takes the sooner time
        second.CallIn(100);
        second.CallIn(600);  // asked again for later: keeps the earlier time
        third.CallIn(250);
        cancelled.CallIn(0);
        gone->CallIn(0);
        EXPECT_TRUE(order.empty()) << "a call came from inside CallIn";
        cancelled.CancelCall();
        gone.reset();
        ASSERT_TRUE(test::PumpUntil([&] { return order.size() >= 3; }, 2000));
        test::PumpFor(100);
        EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
        EXPECT_FALSE(second.CallWaiting());
        EXPECT_EQ(cancelled.calls, 0);
    });
}

// A client's call may ask for another, end another's wait, or ask again for itself; a call asked
// for while a validation message is open still comes, so the screen stays up to date under it.
TEST(FrameClock, ACallMayAskForCallsAndCancelThemAndCallsComeUnderAValidationMessage) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        std::vector<int> order;
        Frames first(&order, 1);
        Frames second(&order, 2);
        Frames third(&order, 3);
        first.onFrame = [&] {
            second.CancelCall();
            if (first.calls < 3) {
                first.CallIn(1);
            }
            third.CallIn(0);
        };
        second.CallIn(20);
        first.CallIn(0);
        ASSERT_TRUE(test::PumpUntil([&] { return first.calls == 3 && third.calls >= 1; }));
        test::PumpFor(50);
        EXPECT_EQ(second.calls, 0);
        EXPECT_EQ(first.calls, 3);

        test::MessageBoxes boxes;
        int underBox = 0;
        Frames shown(&order, 4);
        shown.onFrame = [&] { ++underBox; };
        boxes.whileOpen = [&] {
            shown.CallIn(afx::kFrameMs);
            EXPECT_TRUE(test::PumpUntil([&] { return underBox == 1; }, 2000)) << "no frame under the message";
        };
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        boxes.whileOpen = nullptr;
        EXPECT_EQ(underBox, 1);
    });
}

TEST(ValidationMessage, HoldsBackPostedMessagesAndDropsTimerTicksUntilItCloses) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        test::MessageBoxes boxes;
        dialog.PostMessage(WM_PROBE, 1);
        boxes.whileOpen = [&] {
            dialog.PostMessage(WM_PROBE, 2);
            dialog.SetTimer(10, 1);
            test::PumpFor(40);
            dialog.KillTimer(10);
            EXPECT_TRUE(dialog.probes.empty()) << "delivered while the message was open";
            EXPECT_TRUE(dialog.ticks.empty()) << "a tick came through while the message was open";
        };
        dialog.SetDlgItemText(IDC_EDIT_LOCAL_PORT, "x");
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        boxes.whileOpen = nullptr;
        dialog.PostMessage(WM_PROBE, 3);
        ASSERT_TRUE(test::PumpUntil([&] { return dialog.probes.size() == 3; }));
        EXPECT_EQ(dialog.probes, (std::vector<WPARAM>{1, 2, 3}));
    });
}

// A form of a text field and a check box, read into its members.
class FormDialog : public PlainDialog {
public:
    CString cycle;
    int hex = -1;
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_EDIT_CYCLE, cycle);
        DDX_Check(pDX, IDC_CHECK_HEX_DISPLAY, hex);
    }
};

TEST(FormExchange, EachReadOfTheFormSeesEveryChangeMadeSinceTheLastWhoeverMadeIt) {
    FormDialog dialog;
    test::RunDialog(dialog, [&] {
        const auto read = [&] {
            EXPECT_TRUE(dialog.UpdateData(TRUE));
            return std::string(dialog.cycle);
        };
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "250");
        EXPECT_EQ(read(), "250");
        EXPECT_EQ(read(), "250");
        EXPECT_EQ(dialog.hex, 0);

        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "");
        EXPECT_EQ(read(), "");
        CWnd* field = dialog.GetDlgItem(IDC_EDIT_CYCLE);
        field->EnableWindow(TRUE);
        field->SetFocus();
        test::TypeText("7");
        EXPECT_EQ(read(), "7");
        test::Click(dialog, IDC_CHECK_HEX_DISPLAY);
        EXPECT_EQ(read(), "7");
        EXPECT_EQ(dialog.hex, 1);

        test::SetTextFromOutside(*field, "99");
        EXPECT_EQ(read(), "99");
        dialog.CheckDlgButton(IDC_CHECK_HEX_DISPLAY, 0);
        read();
        EXPECT_EQ(dialog.hex, 0);
        dialog.cycle = "5";
        dialog.UpdateData(FALSE);
        EXPECT_EQ(read(), "5");
    });
}

// A form that reads the send box, or in its place the cycle field, as `send` says.
class ChoosingDialog : public PlainDialog {
public:
    bool send = true;
    CString text;
    int hex = -1;
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, send ? IDC_EDIT_SEND : IDC_EDIT_CYCLE, text);
        DDX_Check(pDX, IDC_CHECK_HEX_DISPLAY, hex);
    }
};

TEST(FormExchange, AReadFindsEachFieldsOwnControlTheProgramsGatheredEditsAndNothingOfAnEarlierRun) {
    ChoosingDialog dialog;
    test::RunDialog(dialog, [&] {
        const auto read = [&] {
            EXPECT_TRUE(dialog.UpdateData(TRUE));
            return std::string(dialog.text);
        };
        dialog.SetDlgItemText(IDC_EDIT_SEND, "send");
        dialog.SetDlgItemText(IDC_EDIT_CYCLE, "250");
        EXPECT_EQ(read(), "send");
        dialog.send = false;
        EXPECT_EQ(read(), "250");
        dialog.send = true;
        EXPECT_EQ(read(), "send");

        // Edits the program makes to a multi-line box are gathered for a frame; a read sees them.
        CEdit box;
        box.Attach(dialog.GetDlgItem(IDC_EDIT_SEND)->m_hWnd);
        box.AppendText(" more");
        EXPECT_EQ(read(), "send more");
        box.SetSel(0, -1);
        box.ReplaceSel("new", FALSE);
        EXPECT_EQ(read(), "new");
        box.Detach();

        // What a read stores is the controls' and never the members' own.
        dialog.CheckDlgButton(IDC_CHECK_HEX_DISPLAY, 1);
        read();
        dialog.hex = 0;
        dialog.text = "changed by the program";
        EXPECT_EQ(read(), "new");
        EXPECT_EQ(dialog.hex, 1);
        dialog.EndDialog(IDOK);
    });
    // A new run has new controls, as the template makes them and the members show them.
    dialog.hex = 0;
    dialog.text = "";
    test::RunDialog(dialog, [&] {
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.hex, 0);
        EXPECT_EQ(std::string(dialog.text), "");
    });
}

// The receive box of a plain dialog, bound for the test's own edits.
class BoxOf : public CEdit {
public:
    explicit BoxOf(CDialog& dialog) { Attach(dialog.GetDlgItem(IDC_EDIT_RECEIVE)->m_hWnd); }
    ~BoxOf() override { Detach(); }
    std::string Text() const {
        CString text;
        GetWindowText(text);
        return std::string(text);
    }
    std::pair<int, int> Selection() const {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        return {start, end};
    }
};

// Long texts compared without printing them.
void ExpectText(const BoxOf& box, const std::string& expected) {
    const std::string text = box.Text();
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected) << "differs from character "
                                  << std::mismatch(text.begin(), text.end(), expected.begin(), expected.end()).first -
                                         text.begin();
}

TEST(MultiLineBox, LongAdditionsAreWholeForAnyReaderKeepTheUsersSelectionAndAnEmptyingEndsThem) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        BoxOf box(dialog);
        std::string lines;
        while (lines.size() < 12000) {
            lines += "0123456789 abcdefghij\r\n";
        }
        const std::string run(5000, 'x');
        box.AppendText("abc");
        // Long after the last edit, an addition goes in at once; a box that takes it in parts is
        // read whole all the same.
        test::PumpFor(150);
        box.SetSel(0, 2);
        box.AppendText(lines.c_str());
        box.AppendText(run.c_str());
        ExpectText(box, "abc" + lines + run);
        EXPECT_EQ(box.Selection(), std::make_pair(0, 2));

        test::PumpFor(150);
        box.AppendText(run.c_str());
        box.AppendText(lines.c_str());
        test::PumpFor(150);
        ExpectText(box, "abc" + lines + run + run + lines);
        EXPECT_EQ(box.Selection(), std::make_pair(0, 2));

        // The box empties itself while an addition is still going in: only what follows is left.
        box.AppendText(lines.c_str());
        box.SetSel(0, -1);
        box.ScrollCaret();
        box.ReplaceSel("");
        box.AppendText("tail");
        test::PumpFor(150);
        ExpectText(box, "tail");
        EXPECT_EQ(box.Selection(), std::make_pair(4, 4));
    });
}

// Bytes shown as text, two characters a byte: the byte in capitals and a dot. Counts its writes of
// each byte value.
std::vector<int> g_writes(256);
std::size_t WriteCapitals(const unsigned char* data, std::size_t length, char* out) {
    for (std::size_t i = 0; i < length; ++i) {
        ++g_writes[data[i]];
        out[2 * i] = static_cast<char>(std::toupper(data[i]));
        out[2 * i + 1] = '.';
    }
    out[2 * length] = '\0';
    return 2 * length;
}

TEST(MultiLineBox, BytesShownAsTextGoInOrderAndAreWrittenOnlyIfTheBoxStillHoldsThem) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        BoxOf box(dialog);
        const AfxTextOfBytes capitals{WriteCapitals, 2};
        const unsigned char abc[] = {'a', 'b', 'c'};
        box.AppendText("<");
        box.AppendText(abc, 3, capitals);
        box.AppendText(std::string_view("> and no more", 1));
        box.AppendText(abc, 0, capitals);
        ExpectText(box, "<A.B.C.>");

        // Added, then dropped by the box emptying itself before anyone could see them. The first
        // may go in at once, if the box has been quiet for a frame.
        const unsigned char dropped[] = {'z', 'z'};
        for (int i = 0; i < 100; ++i) {
            box.AppendText(dropped, 2, capitals);
        }
        box.SetSel(0, -1);
        box.ScrollCaret();
        box.ReplaceSel("");
        box.AppendText(abc + 1, 2, capitals);
        ExpectText(box, "B.C.");
        EXPECT_LE(g_writes['z'], 2);
    });
}

TEST(ModalDialog, ClosingADialogItsOwnerRanGivesTheOwnerBackTheKeyboard) {
    PlainDialog dialog;
    test::RunDialog(dialog, [&] {
        for (int i = 0; i < 3; ++i) {
            CDialog about(IDD_ABOUTBOX, &dialog);
            bool aboutActive = false;
            test::RunDialog(about, [&] {
                aboutActive = test::IsActiveWindow(about);
                about.EndDialog(IDOK);
            });
            EXPECT_TRUE(aboutActive);
            EXPECT_TRUE(test::PumpUntil([&] { return test::IsActiveWindow(dialog); }, 1000)) << "round " << i;
        }
    });
}

// A dialog whose window cannot be made, here for a library error while it initialises.
class FailingDialog : public CDialog {
public:
    FailingDialog() : CDialog(IDD_CONSOLE_DIALOG) {}
    BOOL OnInitDialog() override { throw std::out_of_range("no such control"); }
};

TEST(ModalDialog, AnErrorWhileTheWindowIsMadeEndsTheRunWithMinusOneAndNoMessage) {
    test::MessageBoxes boxes;
    FailingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

}  // namespace
