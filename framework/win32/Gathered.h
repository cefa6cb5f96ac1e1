#pragma once
// What the Win32 backend gathers for a control between frames (a box's edits, a bar's texts): the
// state of each control by its window, the control routed from its first gathered change so that
// every message that could read or change it finds the changes applied first, and a timer of the
// control's own for changes that stop coming. A State has a `bool timer`, true while it runs.

#include <unordered_map>

#include "framework/AfxTypes.h"
#include "framework/win32/User32.h"

namespace afx {

// Whether a message to a control neither reads nor changes what it shows: drawing it, the pointer
// passing over it, timers, the typing limit (which the program's changes pass by).
inline bool LeavesContentAlone(UINT message) {
    switch (message) {
        case w32::msg::Paint:
        case w32::msg::NcPaint:
        case w32::msg::EraseBackground:
        case w32::msg::Timer:
        case w32::msg::SetCursor:
        case w32::msg::NcHitTest:
        case w32::msg::MouseMove:
        case w32::msg::NcMouseMove:
        case w32::msg::MouseHover:
        case w32::msg::MouseLeave:
        case w32::msg::EmGetLimitText:
        case w32::msg::EmSetLimitText: return true;
        default: return false;
    }
}

template <class State>
class Gathered {
public:
    explicit Gathered(w32::Word timerId) : m_timerId(timerId) {}

    // The control's state, made on first use, when the control is routed.
    State& Take(HWND control) {
        const auto [found, added] = m_states.try_emplace(control);
        if (added) {
            w32::Route(Native(control));
        }
        return found->second;
    }
    State* Find(HWND control) {
        const auto found = m_states.find(control);
        return found != m_states.end() ? &found->second : nullptr;
    }
    // The control is being destroyed: its state goes with it.
    void Forget(HWND control) {
        if (State* state = Find(control)) {
            StopTimer(control, *state);
            m_states.erase(control);
        }
    }

    // WM_TIMER with the timer's id to the control every `ms`, until stopped; never the control's.
    void StartTimer(HWND control, State& state, unsigned ms) {
        if (!state.timer) {
            w32::SetWindowTimer(Native(control), m_timerId, ms);
            state.timer = true;
        }
    }
    void StopTimer(HWND control, State& state) {
        if (state.timer) {
            w32::KillWindowTimer(Native(control), m_timerId);
            state.timer = false;
        }
    }
    bool IsTimer(UINT message, WPARAM wParam) const { return message == w32::msg::Timer && wParam == m_timerId; }

private:
    static w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

    w32::Word m_timerId;
    std::unordered_map<HWND, State> m_states;
};

}  // namespace afx
