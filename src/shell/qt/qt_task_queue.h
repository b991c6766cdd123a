#pragma once
// Posts work to the Qt event loop, tied to a context object: work still
// queued when the context is destroyed is dropped, never run against it.

#include <QPointer>

#include "platform/task_queue.h"

class QObject;

namespace veltra {

class QtTaskQueue : public TaskQueue {
public:
    explicit QtTaskQueue(QObject* context) : context_(context) {}
    void Post(std::function<void()> task) override;

private:
    QPointer<QObject> context_;
};

}  // namespace veltra
