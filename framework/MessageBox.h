#pragma once
// Message boxes. A box runs its own message loop, so timer ticks and posted messages keep arriving
// while it is open, except inside a validation scope (see HoldScope).

#include <functional>
#include <string>

#include "framework/AfxTypes.h"

namespace afx {

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT type;
    UINT helpId;
};

// Shows the box, owned by the main window when there is one, and returns the button pressed.
int ShowMessageBox(const MessageBoxRequest& request);

// Lets tests see every box and answer it without a person; the function may deliver messages
// meanwhile, as the box's own loop would. An empty function restores the real boxes.
using MessageBoxHook = std::function<int(const MessageBoxRequest& request)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Lets tests hear the beeps of MessageBeep instead of the speaker; an empty function restores it.
using BeepHook = std::function<void(UINT type)>;
void SetBeepHook(BeepHook hook);

// While a validation message is shown, timer ticks are dropped and posted messages are held back;
// once the last such box closes, the held messages are delivered in their order before any newer
// one. This keeps a ticking auto-send from piling up boxes, and loses nothing.
class HoldScope {
public:
    HoldScope();
    ~HoldScope();
    HoldScope(const HoldScope&) = delete;
    HoldScope& operator=(const HoldScope&) = delete;
};

}  // namespace afx
