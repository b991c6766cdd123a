#pragma once
// Operations on the main window that the core logic needs.

namespace veltra {

enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

class MainWindowOps {
public:
    virtual ~MainWindowOps() = default;
    virtual WindowState windowState() const = 0;
    virtual void setWindowState(WindowState state) = 0;
    // Raise and activate the window (the foreground window of the desktop).
    virtual void bringToFront() = 0;
    virtual void show() = 0;
};

// The topmost band: keep-above on or off, never moving or resizing.
class TopMostOps {
public:
    virtual ~TopMostOps() = default;
    virtual void SetTopMost() = 0;
    virtual void SetNotTopMost() = 0;
};

}  // namespace veltra
