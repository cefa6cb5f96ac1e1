#pragma once
// The widgets behind the dialog controls, with the behaviour of the window system's controls, one
// class a file; and what the framework asks of any of them: its text, its check state, its focus.
// Qt only: on Windows the system's own controls are these widgets, reached by their messages.

#include <QString>
#include <QWidget>

#include <string>

#include "framework/String.h"
#include "framework/qt/CheckBox.h"
#include "framework/qt/ComboBox.h"
#include "framework/qt/IpAddressEdit.h"
#include "framework/qt/LineEdit.h"
#include "framework/qt/MultiLineEdit.h"
#include "framework/qt/StatusBar.h"
#include "framework/qt/UpDown.h"

namespace afx {

class WindowHost;

// The host of the control `widget` belongs to (its own, or that of a control it is part of).
WindowHost* ControlHost(const QWidget* widget);

QString WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const std::string& text);
void SetCheckState(QWidget* widget, int state);
// The widget that takes the keyboard focus for a control.
QWidget* FocusTarget(QWidget* widget);

}  // namespace afx
