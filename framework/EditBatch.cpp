#include "framework/EditBatch.h"

#include <algorithm>

namespace afx {

namespace {
// Edits wait at least a frame of the screen once they come in a stream.
constexpr long long kFrameMs = 16;
}  // namespace

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
