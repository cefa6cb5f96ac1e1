#pragma once
// The Qt side of the kept form read (FormReads.h): the one place where this backend reads a control
// for the form and counts its changes. The widgets report their changes here from their own change
// signals (an edit's text, an automatic check box's state, a multi-line box's document or its
// gathered edits once its text was read); a control destroyed or retired is forgotten here. A kind
// of control whose changes are not followed counts every read of it as a change, so no form read
// keeps it.
// Twin: framework/win32/ControlReads.h.

#include "framework/AfxTypes.h"
#include "framework/FormReads.h"
#include "framework/String.h"

class QWidget;

namespace afx::control_reads {

// The text as UTF-8 into `text`. An edit box's is copied from what the box keeps of it, so that a
// form read of an unchanged box converts nothing.
void Text(const QWidget* control, CString& text);
UINT Check(const QWidget* control);

// The control's content changed. Every change reported is counted; the multi-line box reports a
// gathered edit only when its text was read since its last change.
inline void Changed(const QWidget* /*control*/) { ControlChanged(); }
// The control is being destroyed or retired.
inline void Forget(const QWidget* /*control*/) { ControlChanged(); }
// A window that is no control was read (a dialog's title): its changes are not followed, so the
// read counts as a change and no form read keeps it.
inline void ReadUnfollowed() { ControlChanged(); }

}  // namespace afx::control_reads
