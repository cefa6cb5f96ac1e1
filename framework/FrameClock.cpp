#include "framework/FrameClock.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace afx {
namespace {

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The clients whose call is waiting; a handful at most (the boxes and bars on screen).
std::vector<FrameClient*>& Waiting() {
    static std::vector<FrameClient*> waiting;
    return waiting;
}

// When the timer is armed to fire, or -1.
std::int64_t& ArmedNs() {
    static std::int64_t armed = -1;
    return armed;
}

void Arm(std::int64_t dueNs, std::int64_t nowNs) {
    const std::int64_t waitNs = std::max<std::int64_t>(dueNs - nowNs, 0);
    ArmFrameTimer((waitNs + 999999) / 1000000);
    ArmedNs() = dueNs;
}

}  // namespace

void FrameClient::CallIn(long long ms) {
    const std::int64_t now = NowNs();
    const std::int64_t due = now + ms * 1000000;
    if (m_dueNs >= 0 && m_dueNs <= due) {
        return;
    }
    if (m_dueNs < 0) {
        Waiting().push_back(this);
    }
    m_dueNs = due;
    if (ArmedNs() < 0 || due < ArmedNs()) {
        Arm(due, now);
    }
}

// The timer stays armed: when it fires with nothing due, it is armed for what is left, if anything.
void FrameClient::CancelCall() {
    if (m_dueNs < 0) {
        return;
    }
    m_dueNs = -1;
    auto& waiting = Waiting();
    waiting.erase(std::find(waiting.begin(), waiting.end(), this));
}

// One due client at a time, since a client's call may cancel, ask again for, or end another's.
void FrameTimerFired() {
    ArmedNs() = -1;
    const std::int64_t now = NowNs();
    auto& waiting = Waiting();
    for (;;) {
        const auto due = std::find_if(waiting.begin(), waiting.end(),
                                      [now](const FrameClient* client) { return client->m_dueNs <= now; });
        if (due == waiting.end()) {
            break;
        }
        FrameClient* client = *due;
        waiting.erase(due);
        client->m_dueNs = -1;
        client->OnFrame();
    }
    if (waiting.empty()) {
        StopFrameTimer();
        return;
    }
    if (ArmedNs() < 0) {
        const auto earliest = std::min_element(waiting.begin(), waiting.end(),
                                               [](const auto* a, const auto* b) { return a->m_dueNs < b->m_dueNs; });
        Arm((*earliest)->m_dueNs, NowNs());
    }
}

}  // namespace afx
