// The frame clock's timer on Qt: one precise single-shot timer of the application's.
// Twin: framework/win32/FrameClock.cpp.
#include "framework/FrameClock.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace afx {
namespace {

// Made with the application, and anew for a later one.
QTimer* Timer() {
    static QPointer<QTimer> timer;
    if (timer.isNull()) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, [] { FrameTimerFired(); });
    }
    return timer;
}

}  // namespace

void ArmFrameTimer(long long ms) { Timer()->start(static_cast<int>(ms)); }

void StopFrameTimer() { Timer()->stop(); }

}  // namespace afx
