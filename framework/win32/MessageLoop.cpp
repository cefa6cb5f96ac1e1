#include "framework/MessageLoop.h"

#include <chrono>

#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace {

// Messages handed out between two looks at the caller's condition and the clock: one, since a
// single message (a large datagram shown) can take a good part of a frame.
constexpr int kBatch = 1;

// Delivers up to a batch of waiting messages; the number delivered.
int DispatchBatch() { return w32::DispatchWaiting(afx::KeyDialogWindow(), afx::PreTranslateKey, kBatch); }

}  // namespace

bool AfxPumpMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const bool forever = timeoutMs < 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    while (!done()) {
        // The time is up even while messages keep coming: a flood never holds the caller past it.
        const bool delivered = DispatchBatch() > 0;
        if (done()) {
            return true;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (!forever && left <= 0) {
            return false;
        }
        if (!delivered) {
            w32::WaitForMessages(forever ? -1 : static_cast<int>(left));
        }
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
