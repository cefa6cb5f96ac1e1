#pragma once
// Window timers: WM_TIMER to a window every period, the due times advancing by whole periods from
// when the timer was set, so the ticks never drift with the time their handlers take. At most one
// tick of a timer is ever waiting: after the window's thread was held up, one late tick comes, then
// the next point of the schedule that lies in the future. The system's own timers round to about
// 10 ms, so one thread keeps the schedules and posts each tick to the window's thread.
// Twin: framework/qt/WindowTimer.h.

#include <cstdint>

#include "framework/AfxTypes.h"

namespace afx::timers {

// Starts or restarts timer `id` of `window`. Each start gives the timer a new tag, which its ticks
// carry in lParam, so that a tick posted before a restart or a kill is known for stale by Consume.
void Set(HWND window, UINT_PTR id, std::int64_t periodMs);
bool Kill(HWND window, UINT_PTR id);
// A tick arrived on the window's thread; the next one may be posted. True when it is to be
// delivered: the timer still runs with that tag, and no validation message is open (ticks that come
// while one is shown are dropped, not delivered later).
bool TakeTick(HWND window, UINT_PTR id, LPARAM tag);

}  // namespace afx::timers
