#pragma once
// For the tests of what is Qt's own: the widgets behind windows, and Qt's key codes.

#include <QString>
#include <QWidget>

#include "framework/Wnd.h"

namespace test {

// The widget behind a window or control.
QWidget* Widget(const CWnd& wnd);
QWidget* Control(const CWnd& dialog, int id);

// A key of Qt's pressed on the widget that has the focus, as the keyboard would.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace test
