#pragma once
// A check box that can show three states (clear, checked, greyed) while the
// user's clicks only ever toggle between clear and checked.

#include <QCheckBox>

namespace veltra::settings_dialog {

class ToggleCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit ToggleCheckBox(const QString& text, QWidget* parent = nullptr);

    // The state as the settings keep it: 0 clear, 1 checked, 2 greyed.
    int state() const;
    // Out-of-range states show clear; callers keep them within 0..2.
    void setState(int state);

protected:
    void nextCheckState() override;
};

}  // namespace veltra::settings_dialog
