#include "framework/HeldMessages.h"

#include <deque>

#include "framework/MessageBox.h"
#include "framework/Wnd.h"

namespace afx {
namespace {

struct HeldMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct HoldState {
    int depth = 0;
    bool draining = false;
    std::deque<HeldMessage> held;
};

HoldState& Hold() {
    static HoldState state;
    return state;
}

}  // namespace

HoldScope::HoldScope() { ++Hold().depth; }

HoldScope::~HoldScope() {
    HoldState& state = Hold();
    if (--state.depth == 0 && !state.held.empty()) {
        state.draining = true;
        ScheduleHeldMessages();
    }
}

bool HoldPostedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HoldState& state = Hold();
    if (state.depth == 0 && !state.draining) {
        return false;
    }
    state.held.push_back({window, message, wParam, lParam});
    return true;
}

bool TimerTicksDropped() { return Hold().depth > 0; }

bool HoldingMessages() { return Hold().depth > 0 || Hold().draining; }

void DeliverHeldMessages() {
    HoldState& state = Hold();
    while (state.depth == 0 && !state.held.empty()) {
        const HeldMessage next = state.held.front();
        state.held.pop_front();
        ::SendMessage(next.window, next.message, next.wParam, next.lParam);  // nothing when the window is gone
    }
    // A handler may have opened another validation message: its scope hands out the rest.
    state.draining = !state.held.empty();
}

}  // namespace afx
