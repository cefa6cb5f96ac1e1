#include "framework/MessageBox.h"

#include "framework/Dialog.h"

#include "framework/WinApp.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace afx {
namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

BeepHook& Beeper() {
    static BeepHook hook;
    return hook;
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

void SetBeepHook(BeepHook hook) { Beeper() = std::move(hook); }

int ShowMessageBox(const MessageBoxRequest& request) {
    // The box belongs to the dialog that runs innermost, else to the main window.
    HWND owner = RunningDialogs().empty() ? nullptr : RunningDialogs().back()->m_hWnd;
    if (owner == nullptr && AfxGetMainWnd() != nullptr) {
        owner = AfxGetMainWnd()->m_hWnd;
    }
    auto* native = ::IsWindow(owner) ? reinterpret_cast<w32::Handle>(owner) : nullptr;
    if (Hook()) {
        // The owner takes no input while the box is open, as with the system's box.
        const bool wasDisabled = native != nullptr && w32::Enable(native, false);
        const int answer = Hook()(request);
        if (native != nullptr && !wasDisabled && ::IsWindow(owner)) {
            w32::Enable(native, true);
        }
        return answer;
    }
    return w32::ShowMessageBox(native, request.text, request.caption, request.type);
}

}  // namespace afx

BOOL MessageBeep(UINT type) {
    if (afx::Beeper()) {
        afx::Beeper()(type);
    } else {
        w32::Beep(type);
    }
    return TRUE;
}
