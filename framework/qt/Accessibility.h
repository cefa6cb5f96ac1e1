#pragma once
// What assistive technology reads of the framework's controls: their descriptions (Accessibility.cpp)
// and the names their labels give them. Twin: framework/win32/Accessibility.h.

#include <span>

#include "framework/Resources.h"

class QWidget;

namespace afx {

// Makes assistive technology use the framework's own descriptions of its controls.
void InstallAccessibility();
// Names each control of `dialog`, made from `items` in their order, by its label.
void NameControlsForAssistiveTechnology(QWidget* dialog, std::span<const DialogItem> items);

}  // namespace afx
