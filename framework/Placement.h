#pragma once
// Where a dialog goes on the screen, the same on every window system.

#include "framework/AfxTypes.h"

namespace afx {

// The top left corner of a window `width` by `height` centred over `over`, kept inside `work`: the
// work area of the monitor the owner is on, whose coordinates are negative for a monitor left of
// or above the primary one. A window larger than the area keeps its top left corner in it.
POINT CentredWithin(const RECT& over, long width, long height, const RECT& work);

}  // namespace afx
