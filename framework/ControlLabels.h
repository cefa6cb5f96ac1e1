#pragma once
// Which text names a control that has none of its own (an edit box, a combo box, an address
// field), for screen readers: the label beside it in its group, else the group's caption.

#include <span>

#include "framework/Resources.h"

namespace afx {

// Whether a control of this kind takes its name from a label rather than from its own text.
bool NamedByLabel(ControlKind kind);
// The item that names `item`: the static text to its left on the same row in the same group, else
// the one just above it, else the smallest group box round it; null when there is none.
const DialogItem* LabelOf(std::span<const DialogItem> items, const DialogItem& item);

}  // namespace afx
