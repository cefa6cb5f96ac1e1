#include "framework/MessageLoop.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "framework/qt/Accessibility.h"
#include "framework/qt/Widgets.h"

bool AfxPumpMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // The timer only wakes the loop at the deadline; without it an idle loop would wait for ever.
    // It repeats, in case a tick comes a little before the deadline.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(std::max(timeoutMs, 1));
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void AfxPumpWaitingMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

namespace {
std::unique_ptr<QApplication>& Application() {
    static std::unique_ptr<QApplication> application;
    return application;
}
}  // namespace

CPlatform::CPlatform(int& argc, char** argv) {
    // Qt's own event dispatcher for Unix costs less per socket notice than the GLib one; nothing of
    // the program needs GLib's loop. A setting from outside wins.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) {
        qputenv("QT_NO_GLIB", "1");
    }
    Application() = std::make_unique<QApplication>(argc, argv);
    afx::InstallAccessibility();
}

CPlatform::~CPlatform() { Application().reset(); }
