#include "framework/MessageBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>

#include "framework/HeldMessages.h"
#include "framework/WinApp.h"
#include "framework/qt/ModalOwner.h"
#include "framework/qt/WindowHost.h"

namespace afx {
namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

// Hands out the held messages once the event loop is back, before any message posted later.
class Drainer : public QObject {
public:
    static Drainer& Instance() {
        static Drainer drainer;
        return drainer;
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) {
            return QObject::event(event);
        }
        DeliverHeldMessages();
        return true;
    }
};

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        case MB_ICONEXCLAMATION: return QMessageBox::Warning;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

namespace {
BeepHook& Beeper() {
    static BeepHook hook;
    return hook;
}
}  // namespace

void SetBeepHook(BeepHook hook) { Beeper() = std::move(hook); }

int ShowMessageBox(const MessageBoxRequest& request) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        CWnd* main = AfxGetMainWnd();
        WindowHost* host = main != nullptr ? WindowHost::FromHandle(main->m_hWnd) : nullptr;
        owner = host != nullptr ? host->Widget() : nullptr;
    }
    const DisabledOwner disabled(owner);
    if (Hook()) {
        return Hook()(request);
    }
    const UINT buttons = request.type & 0x0F;
    QMessageBox box(IconOf(request.type), QString::fromStdString(request.caption), QString::fromStdString(request.text),
                    buttons == MB_OKCANCEL ? QMessageBox::Ok | QMessageBox::Cancel
                    : buttons == MB_YESNO  ? QMessageBox::Yes | QMessageBox::No
                                           : QMessageBox::Ok);
    KeepAbove(&box, owner);
    box.setWindowModality(Qt::ApplicationModal);
    if ((request.type & MB_SYSTEMMODAL) != 0) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    switch (box.exec()) {
        case QMessageBox::Cancel: return static_cast<int>(IDCANCEL);
        case QMessageBox::Yes: return static_cast<int>(IDYES);
        case QMessageBox::No: return static_cast<int>(IDNO);
        default: return static_cast<int>(IDOK);
    }
}

void ScheduleHeldMessages() { QCoreApplication::postEvent(&Drainer::Instance(), new QEvent(QEvent::User)); }

}  // namespace afx

BOOL MessageBeep(UINT type) {
    if (afx::Beeper()) {
        afx::Beeper()(type);
    } else {
        QApplication::beep();
    }
    return TRUE;
}
