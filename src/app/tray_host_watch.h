#pragma once
// Tells when a notification area (a tray host) appears on the desktop or goes
// away. The main window leaves the taskbar only while a tray host holds its
// icon; without one, the taskbar is the only way back to a minimised window.
//
// Qt announces no change of QSystemTrayIcon::isSystemTrayAvailable(), so it
// is asked once a second. On X11 the answer is cached by the platform plugin
// while a tray exists, so the question is cheap.

#include <QObject>
#include <QTimer>
#include <functional>

namespace veltra {

class TrayHostWatch : public QObject {
    Q_OBJECT
public:
    // `available` answers whether a tray host exists now (the real one by
    // default); `changed` hears every change of that answer.
    TrayHostWatch(QObject* parent, std::function<void(bool available)> changed,
                  std::function<bool()> available = {});

    // The answer as last seen.
    bool available() const { return available_; }
    // Looks now rather than at the next tick.
    void check();

private:
    std::function<void(bool)> changed_;
    std::function<bool()> probe_;
    QTimer poll_;
    bool available_ = false;
};

}  // namespace veltra
