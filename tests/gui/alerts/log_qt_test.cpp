#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "alerts/qt/qt_time_of_day.h"
#include "alerts/qt/working_log.h"

namespace veltra {
namespace {

class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& l) { QLocale::setDefault(l); }
    ~DefaultLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

TEST(LogTimeOfDay, IsTheLongTimeFormatWithoutTheTimeZone) {
    DefaultLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(QtTimeOfDay::Format(QTime(21, 41, 7), QLocale()), "9:41:07 PM");
    EXPECT_EQ(QtTimeOfDay::Format(QTime(9, 5, 0), QLocale()), "9:05:00 AM");
    const QString now = QString::fromStdString(QtTimeOfDay().longTime());
    EXPECT_TRUE(QRegularExpression("^1?[0-9]:[0-5][0-9]:[0-5][0-9] [AP]M$").match(now).hasMatch())
        << now.toStdString();

    // The zone sits at the end, at the front or in brackets, by locale.
    for (const char* name : {"de_DE", "zh_CN", "es_ES"}) {
        EXPECT_EQ(QtTimeOfDay::Format(QTime(21, 41, 7), QLocale(name)), "21:41:07") << name;
    }
}

TEST(LogTimeOfDay, FollowsAChangeOfTheDefaultLocale) {
    // One clock for the program's life: what it keeps of a locale's format
    // must not outlive the locale.
    const QtTimeOfDay clock;
    const QRegularExpression twelveHour("^1?[0-9]:[0-5][0-9]:[0-5][0-9] [AP]M$");
    const QRegularExpression twentyFourHour("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$");
    auto now = [&] { return QString::fromStdString(clock.longTime()); };
    {
        DefaultLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_TRUE(twelveHour.match(now()).hasMatch()) << now().toStdString();
        DefaultLocale de(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_TRUE(twentyFourHour.match(now()).hasMatch()) << now().toStdString();
    }
    DefaultLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(twelveHour.match(now()).hasMatch()) << now().toStdString();
}

TEST(LogTimeOfDay, FollowsTheClockFromSecondToSecond) {
    // The text is kept for the second it was made in, and no longer.
    DefaultLocale de(QLocale(QLocale::German, QLocale::Germany));
    const QtTimeOfDay clock;
    const std::string first = clock.longTime();
    std::string later = first;
    QDeadlineTimer deadline(5000);
    while (later == first && !deadline.hasExpired()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        later = clock.longTime();
    }
    ASSERT_NE(later, first) << "the time of day did not move in five seconds";
    const QTime shown = QTime::fromString(QString::fromStdString(later), "HH:mm:ss");
    ASSERT_TRUE(shown.isValid()) << later;
    const int apart = std::abs(shown.secsTo(QTime::currentTime()));
    EXPECT_TRUE(apart <= 1 || apart >= 86399) << later;  // (across midnight)
}

class LogLocation : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
        QStandardPaths::setTestModeEnabled(false);
    }
    QString dataLog() const {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .filePath("temp.log");
    }
    QTemporaryDir dir;
};

TEST_F(LogLocation, IsBesideTheProgramWhenThatDirectoryCanBeWritten) {
    EXPECT_EQ(WorkingLogPathFor(dir.path()), dir.filePath("temp.log"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        << "finding out leaves nothing behind";
    EXPECT_EQ(WorkingLogPath(), QDir(QCoreApplication::applicationDirPath()).filePath("temp.log"));
}

TEST_F(LogLocation, FallsBackToTheUserDataDirectoryWhenItCannotWriteThere) {
    // Below a regular file nothing can be created, even as root.
    QFile file(dir.filePath("program"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString path = WorkingLogPathFor(dir.filePath("program"));
    EXPECT_EQ(path, dataLog());
    EXPECT_TRUE(QFileInfo(path).dir().exists()) << "the data directory is created";

    // A "temp.log" that cannot be appended to counts as unwritable too.
    ASSERT_TRUE(QDir(dir.path()).mkdir("temp.log"));
    EXPECT_EQ(WorkingLogPathFor(dir.path()), dataLog());
}

}  // namespace
}  // namespace veltra
