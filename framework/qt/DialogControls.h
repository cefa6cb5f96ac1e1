#pragma once
// The widget each item of a dialog template becomes, wired to send the dialog the notifications the
// system's controls send (BN_CLICKED, EN_UPDATE and EN_CHANGE, CBN_SELCHANGE). Qt only: on Windows
// the system's dialog manager makes the controls from the template itself.

#include <Qt>

#include "framework/Resources.h"

class QWidget;

namespace afx {

// A new child of `dialog` for `item`; `focus` comes in as the item's tab stop asks and goes out as
// the kind of control takes the focus.
QWidget* MakeControl(const DialogItem& item, QWidget* dialog, Qt::FocusPolicy* focus);

}  // namespace afx
