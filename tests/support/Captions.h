#pragma once
// The captions a dialog's labels, check boxes and push buttons show, each measured in its control's
// own font against the room the control draws it in, so that a test can find a caption the window
// system cuts off. Qt's backend measures them (qt/Captions.cpp); Windows has no twin yet, since under
// Wine the dialogs' font does not fit its controls (README, Windows). In plain types, so that a twin
// may measure through the system's own calls.

#include <string>
#include <vector>

namespace test {

struct Caption {
    std::string text;  // UTF-8
    int width = 0;     // pixels the text takes in the control's font
    int room = 0;      // pixels the control gives its text
};

// Every non-empty caption of the dialog whose window handle (m_hWnd) is `dialog`, in no set order.
std::vector<Caption> CaptionsOf(void* dialog);

}  // namespace test
