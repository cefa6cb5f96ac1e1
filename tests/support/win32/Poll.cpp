#include <windows.h>

#include <map>
#include <utility>

#include "tests/support/win32/Poll.h"

namespace test::poll {
namespace {

std::map<UINT_PTR, std::function<bool()>>& Ticks() {
    static std::map<UINT_PTR, std::function<bool()>> ticks;
    return ticks;
}

constexpr unsigned kAgainMs = 5;

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = Ticks().find(id);
    if (found == Ticks().end()) {
        return;
    }
    // The check may run a loop of its own (close a box, pump): it is taken out while it runs.
    std::function<bool()> tick = std::move(found->second);
    Ticks().erase(found);
    ::KillTimer(nullptr, id);
    if (!tick()) {
        Every(kAgainMs, std::move(tick));
    }
}

}  // namespace

void Every(unsigned periodMs, std::function<bool()> tick) {
    const UINT_PTR id = ::SetTimer(nullptr, 0, periodMs, Tick);
    if (id != 0) {
        Ticks()[id] = std::move(tick);
    }
}

}  // namespace test::poll
