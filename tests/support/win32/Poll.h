#pragma once
// Runs a check every few milliseconds from whatever message loop runs on this thread (a modal
// dialog's included), through a timer of the thread's own. In plain types, since <windows.h> and the
// framework's headers do not meet.

#include <functional>

namespace test::poll {

// Calls `tick` every `periodMs` until it returns true.
void Every(unsigned periodMs, std::function<bool()> tick);

}  // namespace test::poll
