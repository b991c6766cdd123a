#include "settings_dialog/qt/toggle_check_box.h"

#include "settings_dialog/settings_form.h"

namespace veltra::settings_dialog {

ToggleCheckBox::ToggleCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    setTristate(true);
}

int ToggleCheckBox::state() const {
    switch (checkState()) {
        case Qt::Checked:
            return kChecked;
        case Qt::PartiallyChecked:
            return kGreyed;
        case Qt::Unchecked:
            break;
    }
    return kUnchecked;
}

void ToggleCheckBox::setState(int state) {
    setCheckState(state == kChecked  ? Qt::Checked
                  : state == kGreyed ? Qt::PartiallyChecked
                                     : Qt::Unchecked);
}

void ToggleCheckBox::nextCheckState() {
    // A click on a greyed box checks it, like a click on a clear one.
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

}  // namespace veltra::settings_dialog
