// The frame clock's timer on Windows: one timer of the window thread's own, with no window, so
// that its tick is handed out by whatever loop runs (the framework's, or a message box's).
// Twin: framework/qt/FrameClock.cpp.
#include "framework/FrameClock.h"

#include "framework/win32/User32.h"

namespace afx {

void ArmFrameTimer(long long ms) { w32::SetThreadTimer(static_cast<unsigned>(ms), &FrameTimerFired); }

void StopFrameTimer() { w32::KillThreadTimer(); }

}  // namespace afx
