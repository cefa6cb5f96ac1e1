#include "framework/win32/StatusBar.h"

#include <cstdint>
#include <map>
#include <utility>

#include "framework/win32/ControlReads.h"
#include "framework/win32/Gathered.h"
#include "framework/win32/User32.h"

namespace afx::status_bar {
namespace {

constexpr std::int64_t kFrameNs = 16000000;
constexpr w32::Word kFrameTimer = 0x5156;

struct Bar {
    std::map<int, std::pair<int, std::string>> waiting;  // by part: its part and type, and its text
    std::int64_t lastShownNs = 0;
    bool timer = false;
};

Gathered<Bar>& Bars() {
    static Gathered<Bar> bars(kFrameTimer);
    return bars;
}

void Show(HWND handle, Bar& bar) {
    Bars().StopTimer(handle, bar);
    std::map<int, std::pair<int, std::string>> waiting;
    waiting.swap(bar.waiting);
    for (const auto& entry : waiting) {
        const auto& [partAndType, text] = entry.second;
        w32::SendText(reinterpret_cast<w32::Handle>(handle), w32::msg::SbSetText, static_cast<w32::Word>(partAndType),
                      text);
    }
    bar.lastShownNs = w32::NowNs();
}

}  // namespace

void Set(HWND handle, int partAndType, std::string text) {
    Bar& bar = Bars().Take(handle);
    control_reads::Changed(handle);
    // A part has one text: a later one replaces it, whatever its drawing type.
    bar.waiting[partAndType & 0xFF] = {partAndType, std::move(text)};
    const std::int64_t waited = w32::NowNs() - bar.lastShownNs;
    if (waited >= kFrameNs) {
        Show(handle, bar);
    } else {
        Bars().StartTimer(handle, bar, static_cast<unsigned>((kFrameNs - waited) / 1000000 + 1));
    }
}

const std::string* Waiting(HWND handle, int part) {
    const Bar* bar = Bars().Find(handle);
    if (bar == nullptr) {
        return nullptr;
    }
    const auto found = bar->waiting.find(part);
    return found != bar->waiting.end() ? &found->second.second : nullptr;
}

bool BeforeMessage(HWND handle, UINT message, WPARAM wParam) {
    Bar* bar = Bars().Find(handle);
    if (bar == nullptr) {
        return false;
    }
    const bool ownTimer = Bars().IsTimer(message, wParam);
    if (!bar->waiting.empty() && (ownTimer || !LeavesContentAlone(message))) {
        Show(handle, *bar);
    }
    return ownTimer;
}

void Forget(HWND handle) { Bars().Forget(handle); }

}  // namespace afx::status_bar
