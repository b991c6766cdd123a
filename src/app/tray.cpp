#include "app/tray.h"

#include <QWidget>

namespace veltra {

Tray::Tray(QWidget* form, Hooks hooks)
    : QObject(form), form_(form), hooks_(std::move(hooks)), icon_(new QSystemTrayIcon(this)) {
    icon_->setObjectName(QStringLiteral("TrayIcon"));
    connect(icon_, &QSystemTrayIcon::activated, this, &Tray::TrayMouseEvent);
}

void Tray::AddTrayIcon(const QString& tip) {
    form_->show();
    form_->repaint();
    icon_->setIcon(form_->windowIcon());
    icon_->setToolTip(tip);
    icon_->show();
}

void Tray::RemoveTrayIcon() {
    icon_->hide();
}

void Tray::TrayMouseEvent(QSystemTrayIcon::ActivationReason reason) {
    if (!hooks_.isMinimised()) {
        return;
    }
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            hooks_.restore();
            break;
        case QSystemTrayIcon::Context:
            hooks_.popupMenu();
            break;
        default:
            // A double click arrives as Trigger then DoubleClick; a single
            // click alone does nothing.
            break;
    }
}

}  // namespace veltra
