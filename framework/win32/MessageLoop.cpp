#include "framework/MessageLoop.h"

#include <chrono>

#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace {

// Messages handed out between two looks at the caller's condition.
constexpr int kBatch = 64;

// Delivers up to a batch of waiting messages; the number delivered.
int DispatchBatch() { return w32::DispatchWaiting(afx::KeyDialogWindow(), afx::PreTranslateKey, kBatch); }

}  // namespace

bool AfxPumpMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const bool forever = timeoutMs < 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    while (!done()) {
        if (DispatchBatch() > 0) {
            continue;
        }
        if (done()) {
            return true;
        }
        int wait = -1;
        if (!forever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return false;
            }
            wait = static_cast<int>(left);
        }
        w32::WaitForMessages(wait);
    }
    return true;
}

void AfxPumpWaitingMessages() {
    while (DispatchBatch() > 0) {
    }
}

CPlatform::CPlatform(int& /*argc*/, char** /*argv*/) {
    afx::WindowHost::InstallRouter();
    w32::StartWindowSystem();
}

CPlatform::~CPlatform() { w32::StopWindowSystem(); }
