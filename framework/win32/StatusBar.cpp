#include "framework/win32/StatusBar.h"

#include <cstdint>
#include <map>
#include <utility>

#include "framework/FrameClock.h"
#include "framework/win32/ControlReads.h"
#include "framework/win32/Gathered.h"
#include "framework/win32/User32.h"

namespace afx::status_bar {
namespace {

constexpr std::int64_t kFrameNs = kFrameMs * 1000000;

void Show(HWND handle, struct Bar& bar);

struct Bar : FrameClient {
    explicit Bar(HWND window) : handle(window) {}
    void OnFrame() override { Show(handle, *this); }

    HWND handle;
    std::map<int, std::pair<int, std::string>> waiting;  // by part: its part and type, and its text
    std::int64_t lastShownNs = 0;
};

Gathered<Bar>& Bars() {
    static Gathered<Bar> bars;
    return bars;
}

void Show(HWND handle, Bar& bar) {
    bar.CancelCall();
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
        bar.CallIn((kFrameNs - waited) / 1000000 + 1);
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

void BeforeMessage(HWND handle, UINT message) {
    Bar* bar = Bars().Find(handle);
    if (bar == nullptr) {
        return;
    }
    if (!bar->waiting.empty() && !LeavesContentAlone(message)) {
        Show(handle, *bar);
    }
}

void Forget(HWND handle) { Bars().Forget(handle); }

}  // namespace afx::status_bar
