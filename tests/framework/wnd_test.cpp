#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/MessageBox.h"
#include "framework/MessageLoop.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Peers.h"

namespace {

constexpr UINT WM_FIRST = WM_USER + 1;
constexpr UINT WM_SECOND = WM_USER + 2;
constexpr UINT WM_BASE_ONLY = WM_USER + 3;
constexpr UINT WM_DESTROY_SELF = WM_USER + 4;
constexpr UINT WM_RAISE = WM_USER + 5;
constexpr UINT WM_RAISE_LIBRARY_ERROR = WM_USER + 6;

class BaseWnd : public CWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> seen;

    LRESULT OnBaseOnly(WPARAM wParam, LPARAM /*lParam*/) {
        seen.emplace_back(WM_BASE_ONLY, wParam);
        return 7;
    }
    LRESULT OnFirst(WPARAM wParam, LPARAM /*lParam*/) {
        seen.emplace_back(WM_FIRST, wParam + 1000);
        return 1;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
ON_MESSAGE(WM_BASE_ONLY, OnBaseOnly)
ON_MESSAGE(WM_FIRST, OnFirst)
END_MESSAGE_MAP()

class RecordingWnd : public BaseWnd {
public:
    LRESULT OnFirst(WPARAM wParam, LPARAM /*lParam*/) {
        seen.emplace_back(WM_FIRST, wParam);
        return 2;
    }
    LRESULT OnSecond(WPARAM wParam, LPARAM lParam) {
        seen.emplace_back(WM_SECOND, wParam + static_cast<WPARAM>(lParam));
        return 3;
    }
    LRESULT OnDestroySelf(WPARAM /*wParam*/, LPARAM /*lParam*/) {
        DestroyWindow();
        return 0;
    }
    LRESULT OnRaise(WPARAM /*wParam*/, LPARAM /*lParam*/) { AfxThrowResourceException(); }
    LRESULT OnRaiseLibraryError(WPARAM /*wParam*/, LPARAM /*lParam*/) {
        std::string text;
        text.reserve(text.max_size() + 1);  // throws std::length_error
        return 0;
    }

    bool Create() { return CreateEx(0, "AfxWnd", "test window", 0, 0, 0, 0, 0, nullptr, 0) != FALSE; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, BaseWnd)
ON_MESSAGE(WM_FIRST, OnFirst)
ON_MESSAGE(WM_SECOND, OnSecond)
ON_MESSAGE(WM_DESTROY_SELF, OnDestroySelf)
ON_MESSAGE(WM_RAISE, OnRaise)
ON_MESSAGE(WM_RAISE_LIBRARY_ERROR, OnRaiseLibraryError)
ON_MESSAGE(WM_PAINT, OnRaise)
END_MESSAGE_MAP()

TEST(WindowMessages, PostedMessagesArriveInPostingOrderAcrossWindows) {
    RecordingWnd a;
    RecordingWnd b;
    ASSERT_TRUE(a.Create());
    ASSERT_TRUE(b.Create());
    for (WPARAM i = 0; i < 50; ++i) {
        RecordingWnd& target = i % 3 == 0 ? b : a;
        ASSERT_TRUE(target.PostMessage(i % 2 == 0 ? WM_FIRST : WM_SECOND, i, 0));
    }
    ASSERT_TRUE(test::PumpUntil([&] { return a.seen.size() + b.seen.size() == 50; }));
    for (const auto* w : {&a, &b}) {
        for (std::size_t i = 1; i < w->seen.size(); ++i) {
            EXPECT_LT(w->seen[i - 1].second, w->seen[i].second);
        }
    }
}

TEST(WindowMessages, DerivedMapOverridesBaseAndFallsBackToIt) {
    RecordingWnd w;
    ASSERT_TRUE(w.Create());
    EXPECT_EQ(w.SendMessage(WM_FIRST, 5, 0), 2);
    EXPECT_EQ(w.SendMessage(WM_BASE_ONLY, 6, 0), 7);
    EXPECT_EQ(w.SendMessage(WM_USER + 99, 0, 0), 0);
    const std::vector<std::pair<UINT, WPARAM>> expected{{WM_FIRST, 5}, {WM_BASE_ONLY, 6}};
    EXPECT_EQ(w.seen, expected);
}

TEST(WindowMessages, MessagesToADestroyedWindowAreDroppedAndItsHandleStaysDead) {
    RecordingWnd w;
    ASSERT_TRUE(w.Create());
    const HWND old = w.m_hWnd;
    ASSERT_TRUE(w.PostMessage(WM_FIRST, 1, 0));
    ASSERT_TRUE(w.DestroyWindow());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(::PostMessage(old, WM_FIRST, 2, 0));

    ASSERT_TRUE(w.Create());
    EXPECT_NE(w.m_hWnd, old);
    ASSERT_TRUE(w.PostMessage(WM_SECOND, 3, 0));
    ASSERT_TRUE(test::PumpUntil([&] { return !w.seen.empty(); }));
    test::PumpFor(20);
    const std::vector<std::pair<UINT, WPARAM>> expected{{WM_SECOND, 3}};
    EXPECT_EQ(w.seen, expected);
}

TEST(WindowMessages, AWindowMayDestroyItselfInsideItsHandler) {
    RecordingWnd w;
    ASSERT_TRUE(w.Create());
    ASSERT_TRUE(w.PostMessage(WM_DESTROY_SELF, 0, 0));
    ASSERT_TRUE(w.PostMessage(WM_FIRST, 1, 0));
    ASSERT_TRUE(test::PumpUntil([&] { return w.m_hWnd == nullptr; }));
    test::PumpFor(20);
    EXPECT_TRUE(w.seen.empty());
}

TEST(WindowMessages, AnErrorRaisedInAHandlerIsReportedAndTheLoopCarriesOn) {
    test::MessageBoxes boxes;
    RecordingWnd w;
    ASSERT_TRUE(w.Create());
    ASSERT_TRUE(w.PostMessage(WM_RAISE, 0, 0));
    ASSERT_TRUE(w.PostMessage(WM_FIRST, 4, 0));
    ASSERT_TRUE(test::PumpUntil([&] { return !w.seen.empty(); }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "必需的资源无法得到。");
    EXPECT_EQ(boxes.shown[0].type & MB_ICONMASK, MB_ICONSTOP);
}

// A standard library error is caught at the boundary too, as an error without a message of its
// own; an error while painting is shown nowhere.
TEST(WindowMessages, LibraryErrorsAreCaughtAtTheBoundaryAndPaintingErrorsShowNothing) {
    test::MessageBoxes boxes;
    RecordingWnd w;
    ASSERT_TRUE(w.Create());
    EXPECT_EQ(w.SendMessage(WM_PAINT), 0);
    EXPECT_TRUE(boxes.shown.empty()) << "an error while painting was reported";
    ASSERT_TRUE(w.PostMessage(WM_RAISE_LIBRARY_ERROR, 0, 0));
    ASSERT_TRUE(w.PostMessage(WM_FIRST, 4, 0));
    ASSERT_TRUE(test::PumpUntil([&] { return !w.seen.empty(); }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "内部应用程序出错。");
    EXPECT_EQ(boxes.shown[0].type & MB_ICONMASK, MB_ICONSTOP);
}

}  // namespace
