// The save flow with Qt's own file dialog, driven as a user would, on real
// files in a temporary directory.
#include "alerts/qt/save_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "alerts/save_log.h"
#include "support/fakes.h"

namespace veltra {
namespace {

using test::FakePrompt;
using test::FakeWindow;
using test::MemorySettingsStore;

const QByteArray kLog = "9:41:07 PM  Ka  ####----\r\n9:41:08 PM  K  ##------\r\n";

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Waits for the file dialog to come up modally, then acts on it. Any other
// modal box that comes up afterwards (a second confirmation, say) is counted
// and rejected, so that a test fails instead of hanging.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(QFileDialog*)> act) : act_(std::move(act)) {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal || !modal->isVisible()) {
                return;
            }
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog && seen == 0) {
                ++seen;
                act_(dialog);
            } else {
                ++strays;
                modal->reject();
            }
        });
        poll_.start();
    }
    int seen = 0;
    int strays = 0;

private:
    std::function<void(QFileDialog*)> act_;
    QTimer poll_;
};

// Types into the name field as a user does: with the dialog active and the
// field focused. Without focus the dialog keeps every list entry that a
// prefix of the typed text selected on the way (typing ".../chosen/saved.txt"
// passes ".../chosen"), and a selected folder wins over the typed name: Save
// then opens the folder instead of saving. Whether the entry is selectable
// by then depends on the dialog's background directory scan, which made the
// outcome vary from run to run.
void TypeAndSave(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    edit->clear();
    QTest::keyClicks(edit, name);
    auto* box = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) {
        if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) {
            ASSERT_TRUE(b->isEnabled());
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    }
    FAIL() << "no Save button";
}

class SaveFlowTest : public ::testing::Test {
protected:
    SaveFlowTest() : previous(QDir::currentPath()) {
        QDir::setCurrent(dir.path());
        Write(working, kLog);
    }
    ~SaveFlowTest() override { QDir::setCurrent(previous); }
    QString at(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString previous;
    QString working = dir.filePath(QStringLiteral("temp.log"));
    QtSaveDialog dialog{nullptr, /*nativeDialog=*/false};
    FakePrompt prompt;
    FakeWindow window;
    MemorySettingsStore store;
    DiskLogFiles files;
    LogSaver saver{dialog, prompt, window, store, files, working.toStdString()};
    std::string lastLogLine = "9:41:08 PM  K";
};

TEST_F(SaveFlowTest, ANameWithoutExtensionIsSavedAsTextFromTheCurrentDirectory) {
    DialogDriver driver([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Save As..."));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d->nameFilters(), (QStringList{QStringLiteral("Text Files (*.txt)"),
                                                 QStringLiteral("All Files (*.*)")}));
        EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("Text Files (*.txt)"));
        EXPECT_EQ(d->defaultSuffix(), QStringLiteral("txt"));
        EXPECT_EQ(QDir(d->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));
        TypeAndSave(d, QStringLiteral("drive home"));
    });
    saver.SaveAlertData(lastLogLine);
    EXPECT_EQ(driver.seen, 1);
    EXPECT_EQ(Read(at(QStringLiteral("drive home.txt"))), kLog);
    EXPECT_FALSE(QFile::exists(working));
    EXPECT_TRUE(lastLogLine.empty());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SaveFlowTest, ReplacingAnExistingFileIsAskedOnce) {
    const QString target = at(QStringLiteral("saved.txt"));
    Write(target, "kept until the user agrees");
    DialogDriver driver([&](QFileDialog* d) { TypeAndSave(d, QStringLiteral("saved")); });
    prompt.duringShow = [&] { EXPECT_EQ(Read(target), "kept until the user agrees"); };
    saver.SaveAlertData(lastLogLine);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Save As...");
    EXPECT_NE(prompt.shown[0].text.find(target.toStdString()), std::string::npos);
    EXPECT_EQ(driver.strays, 0);
    EXPECT_EQ(Read(target), kLog);
    EXPECT_FALSE(QFile::exists(working));
}

TEST_F(SaveFlowTest, CancellingKeepsTheWorkingLogAndTheLoggedData) {
    DialogDriver driver([](QFileDialog* d) { d->reject(); });
    saver.SaveAlertData(lastLogLine);
    EXPECT_EQ(driver.seen, 1);
    EXPECT_EQ(Read(working), kLog);
    EXPECT_EQ(lastLogLine, "9:41:08 PM  K");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("temp.log")});
}

TEST_F(SaveFlowTest, AnUnwritableTargetIsReportedAndNothingIsLost) {
    // The folder the user chose turns into a plain file between choosing and
    // saving (a drive unmounted, a folder replaced): nothing can be written
    // there, even as root.
    const QString folder = at(QStringLiteral("chosen"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/saved.txt");
    DialogDriver driver([&](QFileDialog* d) {
        TypeAndSave(d, target);
        ASSERT_TRUE(QDir(folder).removeRecursively());
        Write(folder, "a regular file");
    });
    saver.SaveAlertData(lastLogLine);
    EXPECT_EQ(driver.seen, 1);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Veltra Scope");
    EXPECT_NE(prompt.shown[0].text.find(target.toStdString()), std::string::npos);
    EXPECT_EQ(Read(working), kLog);
    EXPECT_FALSE(lastLogLine.empty());
}

}  // namespace
}  // namespace veltra
