// A modal box's owner takes no input while it runs (ModalOwner.h). Qt only: on Windows the
// system's dialog manager disables the owner itself.
#include "framework/qt/ModalOwner.h"

#include <QWindow>

namespace afx {

DisabledOwner::DisabledOwner(QWidget* owner) {
    // An owner that is disabled already (by a box further out) stays so; that box enables it.
    if (owner == nullptr || !owner->isEnabled()) {
        return;
    }
    m_owner = owner->window();
    m_focus = m_owner->focusWidget();
    m_owner->setEnabled(false);
}

DisabledOwner::~DisabledOwner() {
    if (m_owner == nullptr) {
        return;
    }
    m_owner->setEnabled(true);
    if (m_owner->isVisible()) {
        m_owner->activateWindow();
    }
    if (m_focus != nullptr && m_focus->isEnabled()) {
        m_focus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void KeepAbove(QWidget* box, QWidget* owner) {
    if (owner == nullptr) {
        return;
    }
    box->winId();  // makes the native window, so that it can be given its transient parent
    owner->window()->winId();
    if (QWindow* window = box->windowHandle()) {
        window->setTransientParent(owner->window()->windowHandle());
    }
}

}  // namespace afx
