#pragma once
// The topmost band on a Qt window: the window manager's keep-above state.

#include <QPointer>
#include <QWidget>

#include "platform/window.h"

namespace veltra {

class QtTopMost : public TopMostOps {
public:
    // `window` may be any widget; its top-level window is the one changed.
    explicit QtTopMost(QWidget* window);

    // Neither moves, resizes, hides nor re-creates the window.
    void SetTopMost() override;
    void SetNotTopMost() override;

private:
    void Apply(bool on);

    QPointer<QWidget> window_;
};

}  // namespace veltra
