#pragma once
// The program's dialog templates in the system's in-memory form (an extended dialog template), so
// that the system's dialog manager makes the dialogs and their controls. The same bytes are the
// program's dialog resources: the build writes them into its resource script on this machine, so
// this file needs nothing of the window system.
// Win32 only: Qt's backend makes each template's controls itself (framework/qt/DialogControls.h).

#include <vector>

#include "framework/Resources.h"

namespace afx {

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate);

}  // namespace afx
