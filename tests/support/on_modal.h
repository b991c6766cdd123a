#pragma once
// Acts on the next modal box or dialog from inside its own event loop, for
// tests that call code which shows one and waits for it to close.

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

namespace veltra::test {

class OnModal : public QObject {
public:
    // `act` runs once, with the modal widget, as soon as one is up; it must
    // close it (or the code under test would wait for ever).
    explicit OnModal(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                poll_.stop();
                done_ = true;
                act_(modal);
            }
        });
        poll_.start(5);
    }
    bool done() const { return done_; }

private:
    std::function<void(QWidget*)> act_;
    QTimer poll_;
    bool done_ = false;
};

}  // namespace veltra::test
