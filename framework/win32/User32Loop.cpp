// The window system's message loop and clocks: waiting for messages, handing them out in slices
// that let input and painting through, the fine timer, the keyboard's state and the mouse.
// Win32 only, as is each bridge file (User32.h).
#include "framework/win32/User32Bridge.h"

#include <cstdint>

namespace w32 {
namespace {

LARGE_INTEGER Frequency() {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return frequency;
}

}  // namespace

namespace {
UINT g_fineTimer = 0;
void (*g_everyMillisecond)() = nullptr;
void CALLBACK EveryMillisecond(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { g_everyMillisecond(); }
}  // namespace

void FineTimer(bool fine, void (*everyMillisecond)()) {
    if (fine && g_fineTimer == 0) {
        ::timeBeginPeriod(1);
        g_everyMillisecond = everyMillisecond;
        g_fineTimer =
            ::timeSetEvent(1, 0, EveryMillisecond, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    } else if (!fine && g_fineTimer != 0) {
        ::timeKillEvent(g_fineTimer);
        g_fineTimer = 0;
        ::timeEndPeriod(1);
    }
}

void WaitForMessages(int timeoutMs) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
}

namespace {

// The system hands out posted messages (socket notices, timer ticks) before input and painting: a
// peer that keeps a socket readable would hold the user's clicks and keys, and the window's
// drawing, back for as long as it sends. Posted messages therefore go in slices: once a slice has
// passed, the input and painting that wait are delivered first, up to a bound, so that a window
// that never stops asking to be painted cannot hold the posted messages back either.
constexpr std::int64_t kSliceNs = 8000000;
constexpr int kMostUserMessagesAtOnce = 64;
std::int64_t g_sliceStart = 0;
int g_userMessages = 0;

bool TakeMessage(MSG* message) {
    if (NowNs() - g_sliceStart >= kSliceNs) {
        if (g_userMessages < kMostUserMessagesAtOnce &&
            (::PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT) != FALSE ||
             ::PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT) != FALSE)) {
            ++g_userMessages;
            return true;
        }
        g_userMessages = 0;
        g_sliceStart = NowNs();
    }
    return ::PeekMessageW(message, nullptr, 0, 0, PM_REMOVE) != FALSE;
}

}  // namespace

namespace {
UINT_PTR g_threadTimer = 0;
void (*g_threadTimerFire)() = nullptr;

void CALLBACK ThreadTimerFired(HWND, UINT, UINT_PTR, DWORD) {
    KillThreadTimer();
    if (g_threadTimerFire != nullptr) {
        g_threadTimerFire();
    }
}
}  // namespace

void SetThreadTimer(unsigned ms, void (*fire)()) {
    g_threadTimerFire = fire;
    g_threadTimer = ::SetTimer(nullptr, g_threadTimer, ms, ThreadTimerFired);
}

void KillThreadTimer() {
    if (g_threadTimer != 0) {
        ::KillTimer(nullptr, g_threadTimer);
        g_threadTimer = 0;
    }
}

int DispatchWaiting(Handle keyDialog, PreTranslate preTranslate, int most) {
    MSG message{};
    int delivered = 0;
    while (delivered < most && TakeMessage(&message)) {
        ++delivered;
        if (message.message == WM_QUIT) {
            continue;  // the program has no application loop to end
        }
        // Only keys are the dialog manager's (Tab, arrows, Enter, Esc, mnemonics); anything else it
        // would dispatch as is, after asking the system's server whether the window is the dialog's.
        const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
        if (key && preTranslate != nullptr &&
            preTranslate(message.hwnd, message.message, message.wParam, message.lParam)) {
            continue;
        }
        if (key && keyDialog != nullptr && ::IsDialogMessageW(H(keyDialog), &message) != FALSE) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return delivered;
}

bool KeyDown(int virtualKey) { return (::GetKeyState(virtualKey) & 0x8000) != 0; }

bool ClickWithMouse(Handle window) {
    RECT rect{};
    ::GetWindowRect(H(window), &rect);
    // Absolute positions run from 0 to 65535 across the primary screen.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const LONG x = ::MulDiv(static_cast<int>((rect.left + rect.right) / 2), 65535, width - 1);
    const LONG y = ::MulDiv(static_cast<int>((rect.top + rect.bottom) / 2), 65535, height - 1);
    INPUT inputs[3]{};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = x;
        inputs[i].mi.dy = y;
        inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    return ::SendInput(3, inputs, sizeof(INPUT)) == 3;
}

std::int64_t NowNs() {
    static const LARGE_INTEGER frequency = Frequency();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    const std::int64_t seconds = now.QuadPart / frequency.QuadPart;
    const std::int64_t rest = now.QuadPart % frequency.QuadPart;
    return seconds * 1000000000 + rest * 1000000000 / frequency.QuadPart;
}

}  // namespace w32
