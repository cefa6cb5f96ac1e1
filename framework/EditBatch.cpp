#include "framework/EditBatch.h"

#include <algorithm>

#include "framework/FrameClock.h"

namespace afx {

namespace {

// Sets the batch's `flag` when something waits to be applied before it.
bool CollectLast(EditBatch& batch, bool behindOthers, bool EditBatch::*flag) {
    if (!batch.Any() && !behindOthers) {
        return false;
    }
    batch.*flag = true;
    return true;
}

}  // namespace

bool CollectSelectAll(EditBatch& batch, bool behindOthers) {
    return CollectLast(batch, behindOthers, &EditBatch::selectAll);
}

bool CollectScroll(EditBatch& batch, bool behindOthers) { return CollectLast(batch, behindOthers, &EditBatch::scroll); }

long long NextEditFrameMs(long long lastCostMs, long long slowestMs) {
    return std::clamp(lastCostMs * 9, kFrameMs, std::max(kFrameMs, slowestMs));
}

}  // namespace afx
