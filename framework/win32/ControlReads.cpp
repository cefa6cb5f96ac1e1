#include "framework/win32/ControlReads.h"

#include <optional>
#include <unordered_map>

#include "framework/FormReads.h"
#include "framework/win32/Gathered.h"
#include "framework/win32/User32.h"

namespace afx::control_reads {
namespace {

struct Read {
    std::optional<std::string> text;
    std::optional<UINT> check;
};

std::unordered_map<HWND, Read>& Reads() {
    static std::unordered_map<HWND, Read> reads;
    return reads;
}

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

// The kept read of `control`, or null when it cannot be kept: a read from another thread goes to
// the control each time, since only the window thread sees the control's messages in order.
Read* Kept(HWND control) {
    if (!w32::IsWindowThread() || !w32::IsWindow(Native(control))) {
        return nullptr;
    }
    const auto [found, added] = Reads().try_emplace(control);
    if (added) {
        w32::Route(Native(control));
    }
    return &found->second;
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
    Read* read = Kept(control);
    if (read == nullptr) {
        ControlChanged();  // the control's changes go unseen: no form read keeps this one
        return w32::GetText(Native(control));
    }
    if (!read->text) {
        read->text = w32::GetText(Native(control));
    }
    return *read->text;
}

UINT Check(HWND control) {
    Read* read = Kept(control);
    if (read == nullptr) {
        ControlChanged();
        return static_cast<UINT>(w32::Send(Native(control), w32::msg::BmGetCheck));
    }
    if (!read->check) {
        read->check = static_cast<UINT>(w32::Send(Native(control), w32::msg::BmGetCheck));
    }
    return *read->check;
}

void BeforeMessage(HWND control, UINT message) {
    if (!OnlyReads(message)) {
        Changed(control);
    }
}

void Changed(HWND control) {
    const auto found = Reads().find(control);
    if (found != Reads().end() && (found->second.text || found->second.check)) {
        // A change after a read: the form reads kept from it are stale. Changes before the next
        // read make nothing staler.
        found->second = Read{};
        ControlChanged();
    }
}

void Forget(HWND control) {
    Reads().erase(control);
    ControlChanged();
}

}  // namespace afx::control_reads
