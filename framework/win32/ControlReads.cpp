#include "framework/win32/ControlReads.h"

#include <unordered_set>

#include "framework/FormReads.h"
#include "framework/win32/Gathered.h"
#include "framework/win32/User32.h"

namespace afx::control_reads {
namespace {

// The controls read since their last change.
std::unordered_set<HWND>& ReadSinceChange() {
    static std::unordered_set<HWND> read;
    return read;
}

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

// Marks `control` read. A control read from another thread, or no window at all, cannot be
// followed (only the window thread sees the control's messages in order): that read counts as a
// change itself, so no form read keeps it.
void MarkRead(HWND control) {
    if (!w32::IsWindowThread() || !w32::IsWindow(Native(control))) {
        ControlChanged();
        return;
    }
    if (ReadSinceChange().insert(control).second) {
        w32::Route(Native(control));
    }
}

bool OnlyReads(UINT message) {
    switch (message) {
        case w32::msg::GetText:
        case w32::msg::GetTextLength:
        case w32::msg::BmGetCheck:
        case w32::msg::EmGetSel: return true;
        default: return LeavesContentAlone(message);
    }
}

}  // namespace

std::string Text(HWND control) {
    MarkRead(control);
    return w32::GetText(Native(control));
}

UINT Check(HWND control) {
    MarkRead(control);
    return static_cast<UINT>(w32::Send(Native(control), w32::msg::BmGetCheck));
}

void BeforeMessage(HWND control, UINT message) {
    if (!OnlyReads(message)) {
        Changed(control);
    }
}

void Changed(HWND control) {
    if (ReadSinceChange().erase(control) != 0) {
        ControlChanged();
    }
}

void ReadUnfollowed() { ControlChanged(); }

void Forget(HWND control) {
    ReadSinceChange().erase(control);
    ControlChanged();
}

}  // namespace afx::control_reads
