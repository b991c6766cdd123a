#pragma once
// Keeps a window off the taskbar on X11 desktops (_NET_WM_STATE_SKIP_TASKBAR).
// Qt has no flag for it short of Qt::Tool, which makes a utility window that
// misbehaves when frameless.

class QWidget;

namespace veltra {

// Asks the window manager to leave the shown window off the taskbar and the
// pager (`skip` true), or to list it there again (`skip` false). Does nothing
// off X11. Call it again each time the window is shown: a window manager
// drops the state when a window is withdrawn.
void SkipTaskbar(QWidget* window, bool skip = true);

}  // namespace veltra
