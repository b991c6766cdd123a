#include "settings_dialog/qt/drive_settings_row.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

#include "recorder/drive_settings.h"
#include "settings_dialog/qt/tab_page.h"

namespace veltra::settings_dialog {

DriveSettingsRow::DriveSettingsRow(QObject* parent)
    : QObject(parent),
      record_(new QCheckBox(QStringLiteral("Record drives, keeping up to"))),
      keep_(new QLabel(QStringLiteral("MB"))),
      limit_(new QSpinBox) {
    record_->setObjectName(QStringLiteral("recordDrivesCheck"));
    keep_->setObjectName(QStringLiteral("drivesLimitLabel"));
    limit_->setObjectName(QStringLiteral("drivesLimitBox"));
    limit_->setRange(1, recorder::kMaxDrivesLimitMB);
}

void DriveSettingsRow::placeOn(TabPage& page, int top) {
    page.place(record_, QRect(225, top, 3120, 285), true);
    page.place(limit_, QRect(3375, top, 1100, 330));
    page.place(keep_, QRect(4550, top + 45, 690, 240), true);
}

void DriveSettingsRow::load(const SettingsStore& store) {
    record_->setChecked(recorder::RecordDrivesOn(store));
    limit_->setValue(recorder::DrivesLimitMB(store));
}

void DriveSettingsRow::save(SettingsStore& store) const {
    recorder::WriteDriveSettings(store, record_->isChecked(), limit_->value());
}

}  // namespace veltra::settings_dialog
