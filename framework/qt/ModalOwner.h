#pragma once
// The owner of a modal box takes no input from any source while the box runs: not the keyboard or
// the mouse, and not assistive technology acting on its controls either. It is disabled, as the
// window system disables the owner of a modal dialog, and enabled again when the box ends, with the
// keyboard focus back on the control that had it. A box is therefore never a child widget of its
// owner (it would be disabled with it): it is a window of its own, kept above the owner.
// Qt only: on Windows the system's dialog manager and message boxes do this themselves.

#include <QPointer>
#include <QWidget>

namespace afx {

class DisabledOwner {
public:
    explicit DisabledOwner(QWidget* owner);
    ~DisabledOwner();
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

private:
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_focus;
};

// Keeps the window `box` above `owner`'s window, as its transient, without making it a child.
void KeepAbove(QWidget* box, QWidget* owner);

}  // namespace afx
