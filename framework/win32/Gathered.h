#pragma once
// What the Win32 backend gathers for a control between frames (a box's edits, a bar's texts): the
// state of each control by its window, made from the window, and the control routed from its first
// gathered change so that every message that could read or change it finds the changes applied
// first. Each state is a FrameClient: the frame clock calls it when its frame is due. Win32 only:
// on Qt the box and the bar are widgets of the framework's own and keep their state themselves.

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
    // The control's state, made on first use, when the control is routed.
    State& Take(HWND control) {
        const auto [found, added] = m_states.try_emplace(control, control);
        if (added) {
            w32::Route(reinterpret_cast<w32::Handle>(control));
        }
        return found->second;
    }
    State* Find(HWND control) {
        const auto found = m_states.find(control);
        return found != m_states.end() ? &found->second : nullptr;
    }
    // The control is being destroyed: its state goes with it, and with that its call on the frame
    // clock.
    void Forget(HWND control) { m_states.erase(control); }

private:
    std::unordered_map<HWND, State> m_states;
};

}  // namespace afx
