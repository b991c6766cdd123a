#pragma once
// "Alerts...": every alert of the replayed drive. A double click seeks the
// replay to a second before the alert; "Export..." saves the list as CSV.

#include <QDialog>
#include <functional>
#include <vector>

#include "recorder/drive_alerts.h"

class QTableWidget;

namespace veltra::recorder {

class AlertListDialog : public QDialog {
    Q_OBJECT
public:
    // `seek` moves the replay; `chooseFile` asks where to export (empty:
    // cancelled); `tell` shows a message.
    AlertListDialog(const std::vector<DriveAlert>& alerts, const std::optional<DriveStart>& start,
                    std::function<void(std::uint64_t)> seek, std::function<QString()> chooseFile,
                    std::function<void(const QString&)> tell, QWidget* parent = nullptr);

    // Writes the CSV to `path`; false (and told) when it cannot.
    bool exportTo(const QString& path);

private:
    std::vector<DriveAlert> alerts_;
    std::vector<AlertRow> rows_;
    std::function<void(std::uint64_t)> seek_;
    std::function<QString()> chooseFile_;
    std::function<void(const QString&)> tell_;
    QTableWidget* table_;
};

}  // namespace veltra::recorder
