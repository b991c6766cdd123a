#include "shell/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QThread>

namespace veltra {

void QtEventPump::processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(1);
}

}  // namespace veltra
