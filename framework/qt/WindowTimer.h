#pragma once
// A window timer: WM_TIMER to its window every period, the due times advancing by whole periods
// from when the timer was set, so the ticks never drift with the time their handlers take. At most
// one tick is ever waiting: after the thread was held up, one late tick comes, then the next point
// of the schedule that lies in the future. The wake-ups come from the kernel's high-resolution
// timers, so a 1 ms period keeps its spacing to a fraction of a millisecond.

#include <QObject>
#include <QSocketNotifier>

#include <cstdint>
#include <memory>

#include "framework/AfxTypes.h"

namespace afx {

class WindowTimer : public QObject {
public:
    WindowTimer(HWND window, UINT_PTR id, qint64 periodMs);
    ~WindowTimer() override;
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    // Starts the schedule afresh from now with `periodMs`.
    void Restart(qint64 periodMs);

private:
    void Tick();
    void Arm();

    HWND m_window;
    UINT_PTR m_id;
    std::int64_t m_periodNs = 1000000;
    std::int64_t m_dueNs = 0;  // on the monotonic clock
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_ticking = 0;  // handlers of ticks running (one inside another's message loop): they may kill this timer
};

}  // namespace afx
