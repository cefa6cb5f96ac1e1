#pragma once
// What assistive technology reads of the dialogs' controls: the system describes its own controls,
// and the framework gives each the name of its label. Twin: framework/qt/Accessibility.h.

#include <span>

#include "framework/AfxTypes.h"
#include "framework/Resources.h"

namespace afx {

// Names each control of `dialog`, made from `items` in their order, by its label.
void NameControlsForAssistiveTechnology(HWND dialog, std::span<const DialogItem> items);

}  // namespace afx
