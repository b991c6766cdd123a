#pragma once
// A main window wired to stand-ins: settings in memory, a recording serial
// port, scripted message boxes and save dialog, and a temporary directory for
// the working log and the read-me. Dialogs the window would run modally are
// handed to the test instead.

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "link/frame_encoder.h"
#include "shell/qt/face_widget.h"
#include "support/fake_serial_port.h"
#include "support/fakes.h"
#include "support/qt_wait.h"

namespace veltra::test {

// The connection sets the line speed on the port's descriptor, so an open
// port hands out a real terminal (a pty) that accepts it.
class TerminalFakePort : public FakeSerialPort {
public:
    TerminalFakePort() { openpty(&master_, &slave_, nullptr, nullptr, nullptr); }
    ~TerminalFakePort() override {
        for (int fd : {master_, slave_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    int nativeHandle() const override { return isOpen() ? slave_ : -1; }

private:
    int master_ = -1;
    int slave_ = -1;
};

class ScriptedSaveDialog : public SaveLogDialog {
public:
    std::optional<std::string> ChooseSavePath() override {
        ++asked;
        return answer;
    }
    std::optional<std::string> answer;
    int asked = 0;
};

// Polls with the event loop running until `done` holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000) {
    return test::WaitUntil(done, timeoutMs);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    MainWindow& make() {
        MainWindowPlatform p;
        p.store = &store;
        p.port = &port;
        p.prompt = &prompt;
        p.saveDialog = &saveDialog;
        p.workingLog = workingLog();
        p.execDialog = [this](QDialog& d) {
            dialogs.push_back(d.objectName());
            return onDialog ? onDialog(d) : int(QDialog::Rejected);
        };
        p.openFile = [this](const QString& path) {
            opened.push_back(path);
            return viewerOpens;
        };
        p.programDir = dir.path();
        form = std::make_unique<MainWindow>(p);
        return *form;
    }
    // Starts the window as the program does, including what start-up posts
    // for the event loop.
    MainWindow& load() {
        make().restoreSettings();
        QCoreApplication::processEvents();
        return *form;
    }

    template <class W = QWidget>
    W* child(const char* name) {
        W* w = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QWidget* face() { return &form->face(); }

    // The detector sends `state`; a frame is complete when the next one
    // starts, so the frame goes out twice.
    void send(const DisplayState& state) {
        const auto frame = EncodeFrame(state);
        port.receive(frame);
        port.receive(frame);
    }
    static DisplayState KaAlert() {
        DisplayState s;
        s.Band[kKa] = true;
        s.FrontArrow = true;
        s.Signal[0] = s.Signal[1] = true;
        return s;
    }

    // Resizes the window so that its client area (the face) gets `size`.
    bool resizeFace(QSize size) {
        const QSize extra = form->size() - face()->size();
        form->resize(size + extra);
        return WaitFor([&] { return face()->size() == size; });
    }

    std::string workingLog() const {
        return dir.filePath(QStringLiteral("temp.log")).toStdString();
    }

    QTemporaryDir dir;
    MemorySettingsStore store;
    TerminalFakePort port;
    FakePrompt prompt;
    ScriptedSaveDialog saveDialog;
    std::vector<QString> dialogs;
    std::vector<QString> opened;
    // What the desktop's viewer answers: false as on a desktop without one.
    bool viewerOpens = true;
    std::function<int(QDialog&)> onDialog;
    // Last, so the window goes before everything it was given.
    std::unique_ptr<MainWindow> form;
};

}  // namespace veltra::test
