#include "framework/EditBatch.h"

#include <algorithm>

namespace afx {

namespace {
// Edits wait at least a frame of the screen once they come in a stream.
constexpr long long kFrameMs = 16;
}  // namespace

void CollectReplace(EditBatch& batch, std::string_view text, const std::function<void()>& apply) {
    if (batch.selectAll) {
        // Everything was selected: the whole text becomes this one, and what was collected for the
        // text before is gone with it.
        batch.selectAll = false;
        batch.reset = true;
        batch.inserted = {};
        batch.scrollFirst = false;
        batch.appended = {};
    } else if (!batch.appended.Empty() || batch.scroll) {
        apply();
    }
    // Each insertion leaves the caret behind it, where the next one goes.
    batch.inserted.Add(text);
}

void CollectAppend(EditBatch& batch, std::string_view text, const std::function<void()>& apply) {
    if (batch.selectAll || (batch.scroll && !batch.appended.Empty())) {
        apply();
    }
    // A scroll asked for before the first addition (as emptying the box asks) comes before the
    // additions: the box that empties itself under a flood then costs nothing until the frame.
    if (batch.scroll) {
        batch.scroll = false;
        batch.scrollFirst = true;
    }
    batch.appended.Add(text);
}

bool CollectSelectAll(EditBatch& batch) {
    if (!batch.Any()) {
        return false;
    }
    batch.selectAll = true;
    return true;
}

bool CollectScroll(EditBatch& batch) {
    if (!batch.Any()) {
        return false;
    }
    batch.scroll = true;
    return true;
}

long long NextEditFrameMs(long long lastCostMs, long long slowestMs) {
    return std::clamp(lastCostMs * 9, kFrameMs, std::max(kFrameMs, slowestMs));
}

}  // namespace afx
