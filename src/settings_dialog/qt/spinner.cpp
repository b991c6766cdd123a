#include "settings_dialog/qt/spinner.h"

#include "settings_dialog/time_box_rules.h"

namespace veltra::settings_dialog {

Spinner::Spinner(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setRange(-kSpinnerMax, -kSpinnerMin);
    setSingleStep(1);
    setPageStep(1);
    // It has its place in the tab order, so it takes the focus.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QScrollBar::valueChanged, this, [this](int v) { emit spinValueChanged(-v); });
}

}  // namespace veltra::settings_dialog
