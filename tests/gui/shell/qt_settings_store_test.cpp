#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <vector>

#include "gui/shell/temp_config_home.h"
#include "shell/qt/ini_text_format.h"
#include "shell/qt/qt_settings_store.h"

namespace veltra {
namespace {

QString ConfigFile() {
    return test::TempConfigHome() + QStringLiteral("/Veltrascope/Veltrascope.ini");
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file as an editor would, later than anything written before:
// each version gets its own, newer time stamp, as a hand edit made a moment
// after the program's last write would have.
void EditFile(const QByteArray& content) {
    static int version = 0;
    QDir().mkpath(test::TempConfigHome() + QStringLiteral("/Veltrascope"));
    QFile f(ConfigFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    // Written out first: the write would otherwise set the time again on close.
    ASSERT_TRUE(f.flush());
    f.setFileTime(QDateTime::currentDateTime().addSecs(++version),
                  QFileDevice::FileModificationTime);
}

// What a fresh reader of the file (a later run of the program) sees.
QSettings::SettingsMap ParseFile() {
    QFile f(ConfigFile());
    QSettings::SettingsMap map;
    if (f.open(QIODevice::ReadOnly)) {
        ReadIniText(f, map);
    }
    return map;
}

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { EditFile(""); }
};

// "k<i>", appended: "k" + std::to_string(i) trips a false -Wrestrict in
// g++ 12 at -O3.
std::string Key(size_t i) {
    std::string key = "k";
    key += std::to_string(i);
    return key;
}

TEST_F(QtSettingsStoreTest, KeepsEveryValueAsTextInTheUsersConfigFile) {
    QtSettingsStore store;
    EXPECT_EQ(store.fileName(), ConfigFile());
    EXPECT_EQ(store.value("Settings", "CommPort"), std::nullopt);

    const std::vector<std::string> texts = {
        "1,2",          "a;b # not a comment", "@ByteArray(x)", "x = y",
        "  padded ",    "\"quoted\"",          "say \"hi\"",    "back\\slash",
        "two\r\nlines", "tab\there\x01",       "ünïcode",       "",
        "\"",           "[Section]",           "/dev/ttyUSB0",
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        store.setValue("Settings", Key(i), texts[i]);
    }
    store.setValue("Ports", "COM3", "/dev/serial/by-id/usb-A,B");

    const QSettings::SettingsMap fresh = ParseFile();
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string key = Key(i);
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(store.value("Settings", key), texts[i]);
        EXPECT_EQ(fresh.value(QStringLiteral("Settings/") + QString::fromStdString(key))
                      .toString()
                      .toStdString(),
                  texts[i]);
    }
    EXPECT_EQ(store.value("Ports", "COM3"), "/dev/serial/by-id/usb-A,B");

    // Readable by a person: one line per key, ordinary text unquoted.
    const QString file = QString::fromUtf8(ReadFile(ConfigFile()));
    EXPECT_TRUE(file.contains(QStringLiteral("[Ports]\nCOM3=/dev/serial/by-id/usb-A,B\n")));
    EXPECT_TRUE(file.contains(QStringLiteral("\nk0=1,2\n")));
    EXPECT_TRUE(file.contains(QStringLiteral("\nk10=ünïcode\n")));
    EXPECT_TRUE(file.contains(QStringLiteral("\nk4=\"  padded \"\n")));
    // "[Ports]", its key, a blank line, "[Settings]" and its keys.
    EXPECT_EQ(file.count(u'\n'), 4 + static_cast<int>(texts.size()));
}

TEST_F(QtSettingsStoreTest, ReadsAHandEditedFileAsTheUserWroteItAndKeepsItOnWrite) {
    EditFile(
        "\xEF\xBB\xBF; Veltra Scope options\r\n"
        "# edited by hand\r\n"
        "[Settings]\r\n"
        "  CommPort =  3 \r\n"
        "AutoMuteTime=1,2\r\n"
        "AutoHideTime=1, 2 ,3\r\n"
        "OnTop=1;comment?\r\n"
        "Odd=@Variant(\\0\\0\\0\\x7f)\r\n"
        "Quoted=\"a,b\"\r\n"
        "not a setting\r\n"
        "Empty=\r\n"
        "\r\n"
        "[Ports]\r\n"
        "COM1=/dev/ttyUSB0\r\n");
    QtSettingsStore store;
    EXPECT_EQ(store.value("Settings", "CommPort"), "3");
    EXPECT_EQ(store.value("Settings", "AutoMuteTime"), "1,2");
    EXPECT_EQ(store.value("Settings", "AutoHideTime"), "1, 2 ,3");
    EXPECT_EQ(store.value("Settings", "OnTop"), "1;comment?");
    EXPECT_EQ(store.value("Settings", "Odd"), "@Variant(\\0\\0\\0\\x7f)");
    EXPECT_EQ(store.value("Settings", "Quoted"), "a,b");
    EXPECT_EQ(store.value("Settings", "Empty"), "");
    EXPECT_EQ(store.value("Settings", "not a setting"), std::nullopt);
    EXPECT_EQ(store.value("Ports", "COM1"), "/dev/ttyUSB0");

    // Writing one key saves the others exactly as they were.
    store.setValue("Settings", "Width", "4800");
    const QSettings::SettingsMap fresh = ParseFile();
    EXPECT_EQ(fresh.value("Settings/AutoHideTime").toString(), "1, 2 ,3");
    EXPECT_EQ(fresh.value("Settings/OnTop").toString(), "1;comment?");
    EXPECT_EQ(fresh.value("Settings/Odd").toString(), "@Variant(\\0\\0\\0\\x7f)");
    EXPECT_EQ(fresh.value("Settings/Quoted").toString(), "a,b");
    EXPECT_EQ(fresh.value("Settings/Width").toString(), "4800");
    EXPECT_EQ(fresh.value("Ports/COM1").toString(), "/dev/ttyUSB0");
}

TEST_F(QtSettingsStoreTest, SeesAHandEditMadeWhileRunning) {
    QtSettingsStore store;
    store.setValue("Settings", "OnTop", "0");
    EditFile("[Settings]\nOnTop=1\n");
    EXPECT_EQ(store.value("Settings", "OnTop"), "1");
}

TEST_F(QtSettingsStoreTest, ReportsAWriteThatCannotBeSavedAndSavesItOnceItCan) {
    QtSettingsStore store;
    std::vector<std::string> failures;
    store.setOnWriteFailed([&](const std::string& m) { failures.push_back(m); });

    // The folder's name taken by a regular file: nothing can be written
    // below it, whoever runs the test.
    const QString folder = test::TempConfigHome() + QStringLiteral("/Veltrascope");
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    store.setValue("Settings", "CommPort", "4");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("\"CommPort\""), std::string::npos);
    EXPECT_NE(failures[0].find(ConfigFile().toStdString()), std::string::npos);
    EXPECT_EQ(store.value("Settings", "CommPort"), "4");  // still in use for this run

    ASSERT_TRUE(QFile::remove(folder));
    store.setValue("Settings", "OnTop", "1");
    EXPECT_EQ(failures.size(), 1u);
    const QSettings::SettingsMap fresh = ParseFile();
    EXPECT_EQ(fresh.value("Settings/OnTop").toString(), "1");
    EXPECT_EQ(fresh.value("Settings/CommPort").toString(), "4");
}

}  // namespace
}  // namespace veltra
