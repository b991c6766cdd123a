#pragma once
// Waiting on a condition while the event loop runs, for GoogleTest bodies
// (the QTRY_ macros report to QTest, not to GoogleTest).

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace veltra::test {

template <class Condition>
bool WaitUntil(Condition&& done, int timeoutMs = 10000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace veltra::test
