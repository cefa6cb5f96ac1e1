#include "framework/FormReads.h"

namespace afx {

namespace {
std::uint64_t& Changes() {
    static std::uint64_t changes = 0;
    return changes;
}
}  // namespace

std::uint64_t ControlChanges() { return Changes(); }

void ControlChanged() { ++Changes(); }

}  // namespace afx
