#pragma once
// The notification-area icon: the way back to the window while it is hidden.
// A double click restores the window and a right click opens the pop-up
// menu, both only while the window is minimised; otherwise the icon reacts to
// nothing.

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

namespace veltra {

class Tray : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> isMinimised;
        std::function<void()> restore;  // normal state, to the front, shown
        std::function<void()> popupMenu;
    };
    Tray(QWidget* form, Hooks hooks);

    // Shows the form and adds the icon with the tip.
    void AddTrayIcon(const QString& tip);
    void RemoveTrayIcon();
    QSystemTrayIcon* icon() { return icon_; }

    // Interprets one event of the icon.
    void TrayMouseEvent(QSystemTrayIcon::ActivationReason reason);

private:
    QWidget* form_;
    Hooks hooks_;
    QSystemTrayIcon* icon_;
};

}  // namespace veltra
