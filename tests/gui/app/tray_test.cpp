// The notification-area icon answers only while the window is minimised:
// otherwise a stray click on it must not pop menus or move the window.

#include <gtest/gtest.h>

#include <QWidget>

#include "app/tray.h"
#include "shell/qt/face_icon.h"

namespace veltra {
namespace {

TEST(TrayIcon, DoubleClickRestoresAndRightClickOpensTheMenuOnlyWhileMinimised) {
    QWidget form;
    bool minimised = false;
    int restored = 0, menus = 0;
    Tray tray(&form, Tray::Hooks{[&] { return minimised; }, [&] { ++restored; }, [&] { ++menus; }});
    form.setWindowIcon(ProgramIcon());
    tray.AddTrayIcon(QStringLiteral("Veltra Scope"));
    EXPECT_EQ(tray.icon()->toolTip(), "Veltra Scope");
    // The program's icon, as the window has it.
    EXPECT_FALSE(tray.icon()->icon().isNull());
    EXPECT_EQ(tray.icon()->icon().cacheKey(), form.windowIcon().cacheKey());
    EXPECT_TRUE(form.isVisible());

    for (auto reason : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                        QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick}) {
        tray.TrayMouseEvent(reason);
    }
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(menus, 0);

    minimised = true;
    tray.TrayMouseEvent(QSystemTrayIcon::Trigger);  // the first click of a double click
    tray.TrayMouseEvent(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(restored + menus, 0);
    tray.TrayMouseEvent(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(restored, 1);
    tray.TrayMouseEvent(QSystemTrayIcon::Context);
    EXPECT_EQ(menus, 1);
}

}  // namespace
}  // namespace veltra
