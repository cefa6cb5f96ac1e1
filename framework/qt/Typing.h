#pragma once
// Which key presses type a character into a box.
// Qt only: on Windows the system's controls tell typing from other keys themselves.

#include <QKeyEvent>

namespace afx {

inline bool IsTyping(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() &&
           (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
}

}  // namespace afx
