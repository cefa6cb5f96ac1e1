#include "framework/win32/BarTexts.h"

#include <cstdint>
#include <map>
#include <unordered_map>

#include "framework/win32/BoxEdits.h"
#include "framework/win32/User32.h"

namespace afx::bar_texts {
namespace {

constexpr std::int64_t kFrameNs = 16000000;
constexpr w32::Word kFrameTimer = 0x5156;

struct Bar {
    std::map<int, std::string> waiting;  // by part and type
    std::int64_t lastShownNs = 0;
    bool timer = false;
};

std::unordered_map<HWND, Bar>& Bars() {
    static std::unordered_map<HWND, Bar> bars;
    return bars;
}

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

void Show(HWND handle, Bar& bar) {
    if (bar.timer) {
        w32::KillWindowTimer(Native(handle), kFrameTimer);
        bar.timer = false;
    }
    std::map<int, std::string> waiting;
    waiting.swap(bar.waiting);
    for (const auto& [partAndType, text] : waiting) {
        w32::SendText(Native(handle), w32::msg::SbSetText, static_cast<w32::Word>(partAndType), text);
    }
    bar.lastShownNs = w32::NowNs();
}

}  // namespace

void Set(HWND handle, int partAndType, std::string text) {
    const auto [found, added] = Bars().try_emplace(handle);
    if (added) {
        w32::Route(Native(handle));
    }
    Bar& bar = found->second;
    // A part has one text: one set with another drawing type replaces it.
    std::erase_if(bar.waiting,
                  [partAndType](const auto& entry) { return (entry.first & 0xFF) == (partAndType & 0xFF); });
    bar.waiting[partAndType] = std::move(text);
    const std::int64_t waited = w32::NowNs() - bar.lastShownNs;
    if (waited >= kFrameNs) {
        Show(handle, bar);
    } else if (!bar.timer) {
        w32::SetWindowTimer(Native(handle), kFrameTimer, static_cast<unsigned>((kFrameNs - waited) / 1000000 + 1));
        bar.timer = true;
    }
}

const std::string* Waiting(HWND handle, int part) {
    const auto found = Bars().find(handle);
    if (found == Bars().end()) {
        return nullptr;
    }
    for (const auto& [partAndType, text] : found->second.waiting) {
        if ((partAndType & 0xFF) == part) {
            return &text;
        }
    }
    return nullptr;
}

bool BeforeMessage(HWND handle, UINT message, WPARAM wParam) {
    const auto found = Bars().find(handle);
    if (found == Bars().end() || (found->second.waiting.empty() && !found->second.timer)) {
        return false;
    }
    const bool ownTimer = message == w32::msg::Timer && wParam == kFrameTimer;
    if (ownTimer || (!box_edits::LeavesContentAlone(message) && message != w32::msg::SbSetText)) {
        Show(handle, found->second);
    }
    return ownTimer;
}

void Forget(HWND handle) {
    const auto found = Bars().find(handle);
    if (found == Bars().end()) {
        return;
    }
    if (found->second.timer) {
        w32::KillWindowTimer(Native(handle), kFrameTimer);
    }
    Bars().erase(found);
}

}  // namespace afx::bar_texts
