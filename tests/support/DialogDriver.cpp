#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

#include <chrono>

#include "framework/MessageLoop.h"

namespace test {
namespace {

constexpr UINT kRunScript = WM_USER + 0x7E;

// A hidden window whose one message runs the script: posted before the dialog starts, it is
// delivered by the dialog's own loop.
class ScriptWindow : public CWnd {
public:
    std::function<void()> script;

    LRESULT OnRunScript(WPARAM, LPARAM) {
        const std::function<void()> run = std::move(script);
        if (run) {
            run();
        }
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScriptWindow, CWnd)
ON_MESSAGE(kRunScript, OnRunScript)
END_MESSAGE_MAP()

}  // namespace

class TickCounter::Window : public CWnd {
public:
    int ticks = 0;
    void OnTimer(UINT_PTR /*id*/) { ++ticks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TickCounter::Window, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

TickCounter::TickCounter(UINT periodMs) : m_window(std::make_unique<Window>()) {
    EXPECT_TRUE(m_window->CreateEx(0, nullptr, "tick counter", 0, 0, 0, 0, 0, nullptr, 0));
    m_window->SetTimer(1, periodMs);
}

TickCounter::~TickCounter() = default;

int TickCounter::Stop() {
    m_window->KillTimer(1);
    return m_window->ticks;
}

int RunDialog(CDialog& dialog, const std::function<void()>& script) {
    ScriptWindow runner;
    EXPECT_TRUE(runner.CreateEx(0, nullptr, "test script", 0, 0, 0, 0, 0, nullptr, 0));
    runner.script = [&dialog, script] {
        // A person acts on the window once it is active and holds the keyboard focus.
        AfxPumpMessagesUntil([&dialog] { return IsActiveWindow(dialog); }, 2000);
        EXPECT_TRUE(IsActiveWindow(dialog));
        script();
        // Ends a dialog the script left running, with a result no real way of ending gives.
        if (dialog.IsWindowVisible()) {
            dialog.EndDialog(kLeftOpen);
        }
    };
    runner.PostMessage(kRunScript);
    return dialog.DoModal();
}

MessageBoxes::MessageBoxes() {
    afx::SetMessageBoxHook([this](const afx::MessageBoxRequest& request) {
        shown.push_back(request);
        if (whileOpen) {
            whileOpen();
        }
        return static_cast<int>(IDOK);
    });
}

MessageBoxes::~MessageBoxes() { afx::SetMessageBoxHook(nullptr); }

std::vector<std::string> MessageBoxes::Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : shown) {
        texts.push_back(box.text);
    }
    return texts;
}

void WhenADialogOpensOver(const CDialog& under, std::function<void(CDialog&)> act) {
    const auto started = std::chrono::steady_clock::now();
    EveryFewMs([&under, act = std::move(act), started] {
        CDialog* top = CDialog::FromFocus();
        if (top != nullptr && top != &under && top->IsWindowVisible()) {
            act(*top);
            return true;
        }
        return std::chrono::steady_clock::now() - started > std::chrono::seconds(3);
    });
}

}  // namespace test
