#pragma once
// The program's dialog templates in the system's in-memory form (an extended dialog template), so
// that the system's dialog manager makes the dialogs and their controls.

#include <vector>

#include "framework/Resources.h"

namespace afx {

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate);
// Gives the focus to the dialog's first control that takes it with Tab.
void FocusFirstControl(void* dialog);

}  // namespace afx
