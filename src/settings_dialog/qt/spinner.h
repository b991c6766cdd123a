#pragma once
// A small vertical scroll bar used as a spin control for 0..99: 99 at the
// top, so the up arrow, the trough above the handle, the Up key and the
// wheel all raise the value by one.
//
// A vertical scroll bar grows downwards and its arrows follow the range, not
// the drawing, so an inverted appearance alone would leave the up arrow
// lowering the value. The bar therefore runs over -99..0 underneath, and
// spinValue() is the value the user sees.

#include <QScrollBar>

namespace veltra::settings_dialog {

class Spinner : public QScrollBar {
    Q_OBJECT
public:
    explicit Spinner(QWidget* parent = nullptr);

    int spinValue() const { return -value(); }
    // Held to 0..99.
    void setSpinValue(int v) { setValue(-v); }

signals:
    void spinValueChanged(int value);
};

}  // namespace veltra::settings_dialog
