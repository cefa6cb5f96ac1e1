#pragma once
// Drives a real dialog on the offscreen platform: the script runs inside the dialog's own modal loop,
// the way a person would act on it, and sees every message box through a hook that answers it.

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/MessageBox.h"

namespace test {

// Runs `dialog` modally with `script` inside its loop and returns DoModal's result: what the script
// made the dialog end with, or kLeftOpen when the script left it running.
inline constexpr int kLeftOpen = -100;
int RunDialog(CDialog& dialog, const std::function<void()>& script);

// Records every message box shown while it lives, and answers each with OK. `whileOpen`, when set,
// runs while a box is "open", as the box's own message loop would deliver messages.
class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    std::vector<afx::MessageBoxRequest> shown;
    std::function<void()> whileOpen;
    std::vector<std::string> Texts() const;
};

// The widget behind a window or control.
QWidget* Widget(const CWnd& wnd);
QWidget* Control(const CWnd& dialog, int id);

// Key presses delivered to the widget that has the focus, as the keyboard would.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void TypeText(const QString& text);

}  // namespace test
