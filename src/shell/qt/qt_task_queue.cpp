#include "shell/qt/qt_task_queue.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

namespace veltra {

void QtTaskQueue::Post(std::function<void()> task) {
    if (context_ == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(context_.data(), std::move(task), Qt::QueuedConnection);
}

}  // namespace veltra
