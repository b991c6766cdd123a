#pragma once
// The drive recorder's options on the settings dialog's tab: whether to
// record drives ("RecordDrives") and how much of them to keep
// ("DrivesLimitMB"). Loaded with the dialog, written on OK.

#include <QObject>

#include "platform/settings_store.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace veltra::settings_dialog {

class TabPage;

class DriveSettingsRow : public QObject {
    Q_OBJECT
public:
    explicit DriveSettingsRow(QObject* parent);
    // Puts the row's controls on `page` at `top` twips; the page owns them.
    void placeOn(TabPage& page, int top);
    void load(const SettingsStore& store);
    void save(SettingsStore& store) const;

    QCheckBox* recordCheck() const { return record_; }
    QSpinBox* limitBox() const { return limit_; }

private:
    QCheckBox* record_;
    QLabel* keep_;
    QSpinBox* limit_;
};

}  // namespace veltra::settings_dialog
