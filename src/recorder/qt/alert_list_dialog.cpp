#include "recorder/qt/alert_list_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltra::recorder {

AlertListDialog::AlertListDialog(const std::vector<DriveAlert>& alerts,
                                 const std::optional<DriveStart>& start,
                                 std::function<void(std::uint64_t)> seek,
                                 std::function<QString()> chooseFile,
                                 std::function<void(const QString&)> tell, QWidget* parent)
    : QDialog(parent),
      alerts_(alerts),
      rows_(DescribeAlerts(alerts, start)),
      seek_(std::move(seek)),
      chooseFile_(std::move(chooseFile)),
      tell_(std::move(tell)),
      table_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("alertListDialog"));
    setWindowTitle(QStringLiteral("Alerts"));
    table_->setObjectName(QStringLiteral("alertTable"));
    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels({QStringLiteral("Start"), QStringLiteral("Duration (s)"),
                                       QStringLiteral("Bands"), QStringLiteral("Peak dots"),
                                       QStringLiteral("Arrows")});
    table_->setRowCount(static_cast<int>(rows_.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const AlertRow& row = rows_[static_cast<std::size_t>(r)];
        const QString cells[] = {QString::fromStdString(row.start),
                                 QString::fromStdString(row.duration),
                                 QString::fromStdString(row.bands), QString::number(row.peakDots),
                                 QString::fromStdString(row.arrows)};
        for (int c = 0; c < 5; ++c) {
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { seek_(SeekBefore(alerts_[static_cast<std::size_t>(row)])); });

    auto* exportButton = new QPushButton(QStringLiteral("Export..."), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    exportButton->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile_();
        if (!path.isEmpty()) {
            exportTo(path);
        }
    });
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(520, 300);
}

bool AlertListDialog::exportTo(const QString& path) {
    // A save file: a failed export leaves whatever was there untouched.
    QSaveFile file(path);
    const QByteArray csv = QByteArray::fromStdString(AlertCsv(rows_));
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        tell_(QStringLiteral("The alert list cannot be saved as \"%1\": %2")
                  .arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace veltra::recorder
