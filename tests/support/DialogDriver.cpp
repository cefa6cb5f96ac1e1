#include "tests/support/DialogDriver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include "framework/MessageLoop.h"
#include "framework/qt/WindowHost.h"

namespace test {

int RunDialog(CDialog& dialog, const std::function<void()>& script) {
    QTimer::singleShot(0, [&dialog, script] {
        // A person acts on the window once it is active and holds the keyboard focus.
        QWidget* window = Widget(dialog);
        AfxPumpMessagesUntil([window] { return window->isActiveWindow(); }, 2000);
        EXPECT_TRUE(window->isActiveWindow());
        script();
        // Ends a dialog the script left running, with a result no real way of ending gives.
        if (window->isVisible()) {
            dialog.EndDialog(kLeftOpen);
        }
    });
    return dialog.DoModal();
}

MessageBoxes::MessageBoxes() {
    afx::SetMessageBoxHook([this](const afx::MessageBoxRequest& request) {
        shown.push_back(request);
        if (whileOpen) {
            whileOpen();
        }
        return static_cast<int>(IDOK);
    });
}

MessageBoxes::~MessageBoxes() { afx::SetMessageBoxHook(nullptr); }

std::vector<std::string> MessageBoxes::Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : shown) {
        texts.push_back(box.text);
    }
    return texts;
}

QWidget* Widget(const CWnd& wnd) {
    afx::WindowHost* host = afx::WindowHost::FromHandle(wnd.m_hWnd);
    return host != nullptr ? host->Widget() : nullptr;
}

QWidget* Control(const CWnd& dialog, int id) {
    CWnd* control = dialog.GetDlgItem(id);
    return control != nullptr ? Widget(*control) : nullptr;
}

namespace {
QWidget* KeyTarget() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : QApplication::activeWindow();
}
}  // namespace

void PressKey(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = KeyTarget();
    QString text;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        text = QStringLiteral("\r");
    } else if (key == Qt::Key_Escape) {
        text = QString(QChar(0x1B));
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    if (QWidget* after = KeyTarget()) {
        QApplication::sendEvent(after, &release);
    }
}

void TypeText(const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(KeyTarget(), &press);
    }
}

}  // namespace test
