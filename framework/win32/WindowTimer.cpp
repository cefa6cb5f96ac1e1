#include "framework/win32/WindowTimer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "framework/HeldMessages.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace afx::timers {
namespace {

using Clock = std::chrono::steady_clock;

// The largest period a window timer takes; larger values, as unsigned numbers past it, run at it.
constexpr std::int64_t kMaxTimerPeriodMs = 0x7FFFFFFF;
// Periods shorter than this need the system's timer at 1 ms to keep them: by default it runs at
// about 15 ms, and the thread's own waits are no finer than a millisecond either way. While one is
// set, the system's 1 ms timer wakes the thread every millisecond.
constexpr std::chrono::milliseconds kFineTimerBelow{10};
// A tick this close to its time is due: a wake-up a hair early would otherwise cost a whole period.
constexpr std::chrono::microseconds kDueSlack{200};

struct Timer {
    std::chrono::nanoseconds period;
    Clock::time_point due;
    LPARAM tag;
    bool waiting = false;  // a tick is posted and not yet taken
};

class Schedule {
public:
    static Schedule& Instance() {
        // Lives for the whole program: the thread only ever waits or posts.
        static auto* schedule = new Schedule;
        return *schedule;
    }

    void Set(HWND window, UINT_PTR id, std::int64_t periodMs) {
        const std::lock_guard lock(m_mutex);
        Timer& timer = m_timers[{window, id}];
        timer.period = std::chrono::milliseconds(std::clamp<std::int64_t>(periodMs, 1, kMaxTimerPeriodMs));
        timer.due = Clock::now() + timer.period;
        timer.tag = ++m_nextTag;
        timer.waiting = false;
        KeepFineTimer();
        m_changed.notify_one();
    }

    bool Kill(HWND window, UINT_PTR id) {
        const std::lock_guard lock(m_mutex);
        const bool killed = m_timers.erase({window, id}) != 0;
        KeepFineTimer();
        return killed;
    }

    bool Consume(HWND window, UINT_PTR id, LPARAM tag) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_timers.find({window, id});
        if (found == m_timers.end() || found->second.tag != tag) {
            return false;
        }
        found->second.waiting = false;
        return true;
    }

private:
    Schedule() : m_thread([this] { Run(); }) { m_thread.detach(); }

    // Posts the ticks that are due, with the lock held; returns when the next one falls due.
    Clock::time_point PostDue() {
        Clock::time_point next = Clock::time_point::max();
        const Clock::time_point now = Clock::now();
        for (auto& [key, timer] : m_timers) {
            if (timer.due <= now + kDueSlack) {
                if (!timer.waiting &&
                    w32::Post(key.first, TimerMessageId(), static_cast<w32::Word>(key.second), timer.tag)) {
                    timer.waiting = true;
                }
                // Ticks that fell due while one was waiting are not made up.
                timer.due += timer.period * (std::max(now - timer.due, Clock::duration::zero()) / timer.period + 1);
            }
            next = std::min(next, timer.due);
        }
        return next;
    }

    void Run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            const Clock::time_point next = PostDue();
            if (next == Clock::time_point::max()) {
                m_changed.wait(lock);
            } else {
                m_changed.wait_until(lock, next);
            }
        }
    }

    // The system's timer runs at 1 ms exactly while a short period is set, and its callback posts
    // what is due itself: waking this thread for it would add a hop, and its lateness, to each tick.
    void KeepFineTimer() {
        const bool fine = std::any_of(m_timers.begin(), m_timers.end(),
                                      [](const auto& entry) { return entry.second.period < kFineTimerBelow; });
        if (fine != m_fine) {
            // The callback never waits for the lock: stopping the system's timer, with the lock
            // held, waits for a callback that runs. A tick it passes by goes at the next one.
            w32::FineTimer(fine, [] {
                Schedule& schedule = Instance();
                const std::unique_lock lock(schedule.m_mutex, std::try_to_lock);
                if (lock.owns_lock()) {
                    schedule.PostDue();
                }
            });
            m_fine = fine;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_fine = false;
    std::map<std::pair<HWND, UINT_PTR>, Timer> m_timers;
    LPARAM m_nextTag = 0;
    std::thread m_thread;
};

}  // namespace

void Set(HWND window, UINT_PTR id, std::int64_t periodMs) { Schedule::Instance().Set(window, id, periodMs); }
bool Kill(HWND window, UINT_PTR id) { return Schedule::Instance().Kill(window, id); }
bool TakeTick(HWND window, UINT_PTR id, LPARAM tag) {
    const bool running = Schedule::Instance().Consume(window, id, tag);
    return running && !TimerTicksDropped();
}

}  // namespace afx::timers
