#include "framework/MessageBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>

#include <deque>

#include "framework/WinApp.h"
#include "framework/qt/ModalOwner.h"
#include "framework/qt/WindowHost.h"

namespace afx {
namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

struct HeldMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct HoldState {
    int depth = 0;
    bool draining = false;
    std::deque<HeldMessage> held;
};

HoldState& Hold() {
    static HoldState state;
    return state;
}

// Delivers the held messages once the event loop is back, before any message posted later.
class Drainer : public QObject {
public:
    static Drainer& Instance() {
        static Drainer drainer;
        return drainer;
    }
    void Schedule() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) {
            return QObject::event(event);
        }
        HoldState& state = Hold();
        while (state.depth == 0 && !state.held.empty()) {
            const HeldMessage next = state.held.front();
            state.held.pop_front();
            if (WindowHost* host = WindowHost::FromHandle(next.window)) {
                host->Deliver(next.message, next.wParam, next.lParam);
            }
        }
        // A handler may have opened another validation message: its scope drains the rest.
        state.draining = !state.held.empty();
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

HoldScope::HoldScope() { ++Hold().depth; }

HoldScope::~HoldScope() {
    HoldState& state = Hold();
    if (--state.depth == 0 && !state.held.empty()) {
        state.draining = true;
        Drainer::Instance().Schedule();
    }
}

bool HoldPostedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HoldState& state = Hold();
    if (state.depth == 0 && !state.draining) {
        return false;
    }
    state.held.push_back({window, message, wParam, lParam});
    return true;
}

bool TimerTicksDropped() { return Hold().depth > 0; }

bool HoldingMessages() { return Hold().depth > 0 || Hold().draining; }

}  // namespace afx

BOOL MessageBeep(UINT type) {
    if (afx::Beeper()) {
        afx::Beeper()(type);
    } else {
        QApplication::beep();
    }
    return TRUE;
}
