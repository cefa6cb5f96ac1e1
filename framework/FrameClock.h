#pragma once
// One clock a thread for everything the program gathers into frames of the screen (a multi-line
// box's edits, a status bar's texts). A gatherer asks to be called once, a while from now; the clock
// keeps a single timer of the window system's for the earliest call asked for and makes each call
// from the message loop when its time has come, never from inside the call that asked for it.
// The backends give the clock its timer and nothing else (framework/qt/FrameClock.cpp,
// framework/win32/FrameClock.cpp); the gatherers decide what a frame holds and when it is due.

#include <cstdint>

namespace afx {

// How long a frame of the screen lasts: what is gathered reaches the screen at most this often
// while it keeps changing, and at once after a quiet frame.
inline constexpr long long kFrameMs = 16;

class FrameClient {
public:
    FrameClient() = default;
    FrameClient(const FrameClient&) = delete;
    FrameClient& operator=(const FrameClient&) = delete;

    // OnFrame is called once, `ms` from now (0: at the next turn of the loop). A call already asked
    // for keeps its time when it comes sooner.
    void CallIn(long long ms);
    void CancelCall();
    bool CallWaiting() const { return m_dueNs >= 0; }

protected:
    ~FrameClient() { CancelCall(); }
    virtual void OnFrame() = 0;

private:
    friend void FrameTimerFired();
    std::int64_t m_dueNs = -1;
};

// The backend's side: the one timer, armed for `ms` from now (replacing any armed before) or
// stopped, and calling FrameTimerFired when it fires.
void ArmFrameTimer(long long ms);
void StopFrameTimer();
void FrameTimerFired();

}  // namespace afx
