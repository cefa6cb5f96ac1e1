// The dialog driver's acts on the Qt backend: Qt's events, delivered as the window system would.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "framework/MessageLoop.h"
#include "framework/qt/WindowHost.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/qt/Widgets.h"

namespace test {

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

int QtKey(Key key) {
    switch (key) {
        case Key::Return: return Qt::Key_Return;
        case Key::Escape: return Qt::Key_Escape;
        case Key::Tab: return Qt::Key_Tab;
        case Key::Up: return Qt::Key_Up;
        case Key::Down: return Qt::Key_Down;
        case Key::F1: return Qt::Key_F1;
        case Key::F4: return Qt::Key_F4;
        case Key::Space: return Qt::Key_Space;
        case Key::Break: return Qt::Key_Cancel;
    }
    return 0;
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

void PressKey(Key key, int modifiers) {
    Qt::KeyboardModifiers qt = Qt::NoModifier;
    qt.setFlag(Qt::ShiftModifier, (modifiers & kShift) != 0);
    qt.setFlag(Qt::ControlModifier, (modifiers & kControl) != 0);
    qt.setFlag(Qt::AltModifier, (modifiers & kAlt) != 0);
    PressKey(QtKey(key), qt);
}

void TypeText(const std::string& text) {
    for (const QChar c : QString::fromStdString(text)) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(KeyTarget(), &press);
    }
}

void SetTextFromOutside(const CWnd& control, const std::string& text) {
    // A screen reader sets a field through its accessible interface.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Widget(control));
    ASSERT_NE(accessible, nullptr);
    QAccessibleEditableTextInterface* editable = accessible->editableTextInterface();
    ASSERT_NE(editable, nullptr);
    editable->replaceText(0, accessible->textInterface()->characterCount(), QString::fromStdString(text));
    // The change is queued to the control's thread, as one from another thread would be.
    AfxPumpWaitingMessages();
}

std::string TextFromOutside(const CWnd& control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Widget(control));
    return accessible != nullptr && accessible->textInterface() != nullptr
               ? accessible->textInterface()->text(0, accessible->textInterface()->characterCount()).toStdString()
               : std::string();
}

struct SystemMessageBoxes::Watch {
    QTimer timer;
    QPointer<QMessageBox> handled;
    int answered = 0;
};

SystemMessageBoxes::SystemMessageBoxes(std::function<void()> atOpen, int lookAfterMs, std::function<void()> look)
    : m_watch(std::make_unique<Watch>()) {
    Watch& watch = *m_watch;
    watch.timer.setInterval(5);
    QObject::connect(&watch.timer, &QTimer::timeout,
                     [&watch, atOpen = std::move(atOpen), lookAfterMs, look = std::move(look)] {
                         auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                         if (box == nullptr || box == watch.handled) {
                             return;
                         }
                         watch.handled = box;
                         atOpen();
                         QTimer::singleShot(lookAfterMs, box, [&watch, box, look] {
                             look();
                             ++watch.answered;
                             box->done(QMessageBox::Ok);
                         });
                     });
    watch.timer.start();
}

SystemMessageBoxes::~SystemMessageBoxes() = default;

int SystemMessageBoxes::Answered() const { return m_watch->answered; }

void EveryFewMs(std::function<bool()> tick) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, tick = std::move(tick)] {
        // Stopped while the check runs: it may run a loop of its own (close a box, pump).
        timer->stop();
        if (tick()) {
            timer->deleteLater();
        } else {
            timer->start(5);
        }
    });
    timer->start(5);
}

bool IsActiveWindow(const CWnd& window) {
    QWidget* widget = Widget(window);
    return widget != nullptr && widget->isActiveWindow();
}

void Click(const CWnd& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(dialog, id));
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->isEnabled()) << "clicking a disabled control " << id;
    button->click();
}

void InjectClick(const CWnd& dialog, int id) {
    QWidget* button = Control(dialog, id);
    ASSERT_NE(button, nullptr) << id;
    // Queued as Qt queues what the window system reports, not handled on the spot.
    const QPointF middle = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(middle);
    QApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, middle, global, Qt::LeftButton,
                                                    Qt::LeftButton, Qt::NoModifier));
    QApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, middle, global, Qt::LeftButton,
                                                    Qt::NoButton, Qt::NoModifier));
}

std::string AccessibleName(const CWnd& control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Widget(control));
    return accessible != nullptr ? accessible->text(QAccessible::Name).toStdString() : std::string();
}

bool AccessibleNamesGivenAreTaken() { return true; }

std::pair<int, int> Selection(const CWnd& control) {
    const auto* line = qobject_cast<const QLineEdit*>(Widget(control));
    if (line == nullptr) {
        return {0, 0};
    }
    if (!line->hasSelectedText()) {
        return {line->cursorPosition(), line->cursorPosition()};
    }
    return {line->selectionStart(), line->selectionEnd()};
}

void Select(const CWnd& control, int start, int end) {
    if (auto* line = qobject_cast<QLineEdit*>(Widget(control))) {
        line->setSelection(start, end - start);
    }
}

RECT ControlRect(const CWnd& control) {
    const QRect area = Widget(control) != nullptr ? Widget(control)->geometry() : QRect();
    return {area.left(), area.top(), area.right() + 1, area.bottom() + 1};
}

int VisibleTopLevelWindows() {
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        count += widget->isVisible() ? 1 : 0;
    }
    return count;
}

std::string DecodedAsTheBoxShows(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

std::string EncodedForTheBoxes(const std::string& utf8) { return utf8; }

std::string ShownCharacters(const CWnd& control) { return TextFromOutside(control); }

std::string AMultiByteCharacter() { return "\xE4\xB8\xAD"; }

void PrepareBackend() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }

}  // namespace test
