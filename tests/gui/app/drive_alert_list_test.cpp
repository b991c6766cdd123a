// The replay's "Alerts..." list and its "Export..." CSV say what
// veltrascope-decode --alerts says of the same drive, for every scenario of
// the simulator; a double click on a row seeks a second before that alert.

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <QtTest/QTest>

#include "app/drive_feature.h"
#include "main_window_harness.h"
#include "recorder/qt/alert_list_dialog.h"
#include "recorder/qt/replay_session.h"

namespace veltra::test {
namespace {

// Standard output of `program args`; fails the test when it does not end
// with status 0.
QByteArray RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ' ' << args.join(' ').toStdString();
    return p.readAllStandardOutput();
}

// Runs `act` on the next modal dialog of type D as soon as it is up.
template <class D>
void WhenModal(std::function<void(D&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*d);
        }
    });
    poll->start();
}

using Rows = std::vector<QStringList>;

// The human table, one row of cells per alert: its columns are set apart
// by two or more blanks, and "-" and " s" are only how it prints them.
Rows TableRows(const QByteArray& text) {
    Rows rows;
    const QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringList cells = lines[i].trimmed().split(QRegularExpression(QStringLiteral("\\s{2,}")));
        if (cells.size() == 5) {
            cells[1].chop(2);
            for (int c : {2, 4}) {
                if (cells[c] == QStringLiteral("-")) {
                    cells[c].clear();
                }
            }
        }
        rows.push_back(cells);
    }
    return rows;
}

Rows CsvRows(const QByteArray& text) {
    Rows rows;
    for (const QString& line : QString::fromUtf8(text).split(QStringLiteral("\r\n"))) {
        if (!line.isEmpty()) {
            rows.push_back(line.split(','));
        }
    }
    return rows;
}

Rows ListRows(const QTableWidget& table) {
    Rows rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c) {
            cells << table.item(r, c)->text();
        }
        rows.push_back(cells);
    }
    return rows;
}

class DriveAlertListTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        store.set("AutoConnect", "0");
    }

    // The scenario as a recording begun at 14:03:22, in a folder of its own.
    QString record(const QString& scenario, const QStringList& extra = {}) {
        const QString folder = scenario + extra.join(QString());
        QString path = dir.filePath(folder + QStringLiteral("/2024-05-01_14-03-22.vsdrive"));
        QDir().mkpath(QFileInfo(path).path());
        RunTool(
            QStringLiteral(VELTRA_SIM),
            QStringList{"--scenario", scenario, "--seed", "3", "--fast", "--out", path} + extra);
        return path;
    }
};

TEST_F(DriveAlertListTest, ListAndExportMatchTheDecoderOnEveryScenario) {
    load();
    struct Case {
        QString scenario;
        QStringList extra;
        int alerts;
    };
    const Case cases[] = {{"idle", {}, 0},  {"modes", {}, 0}, {"laser", {}, 1},
                          {"bands", {}, 4}, {"mixed", {}, 5}, {"mixed", {"--faults"}, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario.toStdString() + ' ' + c.extra.join(' ').toStdString());
        const QString drive = record(c.scenario, c.extra);
        const QByteArray table =
            RunTool(QStringLiteral(VELTRA_DECODE), QStringList{"--alerts", drive});
        const QByteArray csv =
            RunTool(QStringLiteral(VELTRA_DECODE), QStringList{"--alerts", "--csv", drive});
        ASSERT_TRUE(form->drives().startReplay(drive));
        form->drives().session()->pause();

        const QString exported = QFileInfo(drive).dir().filePath(QStringLiteral("alerts.csv"));
        Rows shown;
        QStringList headers;
        WhenModal<recorder::AlertListDialog>([&](recorder::AlertListDialog& list) {
            auto* grid = list.findChild<QTableWidget*>(QStringLiteral("alertTable"));
            shown = ListRows(*grid);
            for (int col = 0; col < grid->columnCount(); ++col) {
                headers << grid->horizontalHeaderItem(col)->text();
            }
            WhenModal<QFileDialog>([&](QFileDialog& save) {
                // Typing the name and pressing Enter.
                auto* name = save.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(exported);
                QTest::keyClick(name, Qt::Key_Return);
            });
            list.findChild<QPushButton*>(QStringLiteral("exportButton"))->click();
            list.accept();
        });
        child<QPushButton>("alertsButton")->click();

        EXPECT_EQ(int(shown.size()), c.alerts);
        EXPECT_EQ(shown, TableRows(table));
        Rows fromCsv = CsvRows(csv);
        ASSERT_FALSE(fromCsv.empty());
        EXPECT_EQ(headers, fromCsv.front());
        fromCsv.erase(fromCsv.begin());
        EXPECT_EQ(shown, fromCsv);
        QFile file(exported);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), csv);
        if (c.scenario == QStringLiteral("bands")) {
            QStringList bands;
            for (const QStringList& row : shown) {
                bands << row[2];
            }
            EXPECT_EQ(bands, (QStringList{"X", "K", "Ka", "Laser"}));
        }
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DriveAlertListTest, DoubleClickingARowSeeksASecondBeforeItsAlert) {
    load();
    ASSERT_TRUE(form->drives().startReplay(record(QStringLiteral("bands"))));
    form->drives().session()->pause();
    QString alertStart;
    WhenModal<recorder::AlertListDialog>([&](recorder::AlertListDialog& list) {
        auto* grid = list.findChild<QTableWidget*>(QStringLiteral("alertTable"));
        alertStart = grid->item(2, 0)->text();
        ASSERT_TRUE(WaitFor([&] { return grid->viewport()->isVisible(); }));
        const QRect cell = grid->visualItemRect(grid->item(2, 0));
        // A double click is a click and then a second press that the
        // system reports as the double click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        list.accept();
    });
    child<QPushButton>("alertsButton")->click();
    const QTime start = QTime::fromString(alertStart, QStringLiteral("HH:mm:ss"));
    ASSERT_TRUE(start.isValid()) << alertStart.toStdString();
    EXPECT_EQ(child<QLabel>("timeLabel")->text(),
              start.addSecs(-1).toString(QStringLiteral("HH:mm:ss")));
    // Not yet the alert: the Ka lamp lights a second later.
    EXPECT_FALSE(form->face().shownState().Band[kKa]);
}

}  // namespace
}  // namespace veltra::test
