#pragma once
// How assistive technology reads and edits the framework's edit boxes. The text it reads is the
// box's own text, every character as itself (a lone CR or LF too) and nothing added; its edits
// answer at once and take effect from the event loop, as the user's own, so that a handler that
// opens a message box never keeps a screen reader waiting on its answer.
// Qt only: on Windows the system's edit controls describe themselves.

class QAccessibleInterface;
class QWidget;

namespace afx {

class LineEdit;
class MultiLineEdit;

QAccessibleInterface* DescribeEdit(LineEdit* edit);
QAccessibleInterface* DescribeEdit(MultiLineEdit* edit);

}  // namespace afx
