#include "framework/qt/WindowTimer.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <QPointer>

#include <algorithm>

#include "framework/Wnd.h"
#include "framework/qt/WindowHost.h"

namespace afx {
namespace {

// The largest period a window timer takes; larger values, as unsigned numbers past it, run at it.
constexpr qint64 kMaxTimerPeriodMs = 0x7FFFFFFF;
constexpr std::int64_t kNsPerMs = 1000000;

std::int64_t NowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

WindowTimer::WindowTimer(HWND window, UINT_PTR id, qint64 periodMs)
    : m_window(window), m_id(id), m_fd(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (m_fd < 0) {
        AfxThrowResourceException();
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { Tick(); });
    Restart(periodMs);
}

WindowTimer::~WindowTimer() {
    m_notifier->setEnabled(false);
    // Killed by the handler of its own tick: the notifier is inside its signal and goes later.
    if (m_ticking > 0) {
        m_notifier.release()->deleteLater();
    }
    m_notifier.reset();
    ::close(m_fd);
}

void WindowTimer::Restart(qint64 periodMs) {
    m_periodNs = std::clamp<qint64>(periodMs, 1, kMaxTimerPeriodMs) * kNsPerMs;
    m_dueNs = NowNs() + m_periodNs;
    Arm();
}

void WindowTimer::Arm() {
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(m_dueNs / 1000000000);
    when.it_value.tv_nsec = static_cast<long>(m_dueNs % 1000000000);
    ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &when, nullptr);
}

void WindowTimer::Tick() {
    std::uint64_t expirations = 0;
    if (::read(m_fd, &expirations, sizeof expirations) != static_cast<ssize_t>(sizeof expirations)) {
        return;  // nothing expired after all
    }
    // The next tick is due at the next point of the schedule that lies in the future: ticks missed
    // while the thread was busy are not made up.
    const std::int64_t now = NowNs();
    m_dueNs += m_periodNs;
    if (m_dueNs <= now) {
        m_dueNs += ((now - m_dueNs) / m_periodNs + 1) * m_periodNs;
    }
    Arm();
    if (TimerTicksDropped()) {
        return;
    }
    const HWND window = m_window;
    const UINT_PTR id = m_id;
    ++m_ticking;
    const QPointer<QObject> alive(this);
    ::SendMessage(window, WM_TIMER, id, 0);  // the handler may kill this timer
    if (alive) {
        --m_ticking;
    }
}

}  // namespace afx
