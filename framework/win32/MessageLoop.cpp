#include "framework/MessageLoop.h"

#include <chrono>

#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace {

// Delivers one waiting message, if any: the caller's condition and the clock are looked at after
// every message, since a single one (a large datagram shown) can take a good part of a frame.
bool DispatchOne() { return w32::DispatchWaiting(afx::KeyDialogWindow(), afx::PreTranslateKey, 1) > 0; }

}  // namespace

bool AfxPumpMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const bool forever = timeoutMs < 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    while (!done()) {
        // The time is up even while messages keep coming: a flood never holds the caller past it.
        const bool delivered = DispatchOne();
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
    while (DispatchOne()) {
    }
}

CPlatform::CPlatform(int& /*argc*/, char** /*argv*/) {
    afx::WindowHost::InstallRouter();
    w32::StartWindowSystem();
}

CPlatform::~CPlatform() = default;
