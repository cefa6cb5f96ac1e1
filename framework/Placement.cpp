#include "framework/Placement.h"

namespace afx {
namespace {

// Moves a span of `length` starting at `start` inside [low, high), its start first.
long KeepInside(long start, long length, long low, long high) {
    if (start + length > high) {
        start = high - length;
    }
    return start < low ? low : start;
}

}  // namespace

POINT CentredWithin(const RECT& over, long width, long height, const RECT& work) {
    const long x = over.left + (over.right - over.left - width) / 2;
    const long y = over.top + (over.bottom - over.top - height) / 2;
    return {KeepInside(x, width, work.left, work.right), KeepInside(y, height, work.top, work.bottom)};
}

}  // namespace afx
