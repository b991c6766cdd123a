#include "app/main_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QUrl>

#include "alerts/qt/save_dialog.h"
#include "alerts/qt/working_log.h"
#include "port/qt/qt_serial_port.h"
#include "shell/qt/qt_prompt.h"
#include "shell/qt/qt_settings_store.h"
#include "shell/store_write_notice.h"

namespace veltra {

// The real parts for whatever the caller left empty; tests pass their own.
void MainWindow::buildPlatform(MainWindowPlatform& p) {
    if (p.store == nullptr) {
        auto store = std::make_unique<QtSettingsStore>();
        // Built before the prompt it uses; no write happens until start-up.
        store->setOnWriteFailed([this](const std::string& message) {
            if (storeNotice_) {
                storeNotice_->onWriteFailed(message);
            }
        });
        p.store = store.get();
        ownStore_ = std::move(store);
    }
    store_ = p.store;
    if (p.port == nullptr) {
        p.port = new QtSerialPort(*store_, this);
    }
    port_ = p.port;
    if (p.prompt == nullptr) {
        ownPrompt_ = std::make_unique<QtPrompt>(this);
        p.prompt = ownPrompt_.get();
    }
    prompt_ = p.prompt;
    if (p.saveDialog == nullptr) {
        ownSaveDialog_ = std::make_unique<QtSaveDialog>(this);
        p.saveDialog = ownSaveDialog_.get();
    }
    if (p.logFiles == nullptr) {
        ownLogFiles_ = std::make_unique<DiskLogFiles>();
        p.logFiles = ownLogFiles_.get();
    }
    if (p.workingLog.empty()) {
        p.workingLog = WorkingLogPath().toStdString();
    }
    if (!p.execDialog) {
        p.execDialog = [](QDialog& d) { return d.exec(); };
    }
    if (!p.openFile) {
        p.openFile = [](const QString& path) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        };
    }
    if (p.programDir.isEmpty()) {
        p.programDir = QCoreApplication::applicationDirPath();
    }
}

}  // namespace veltra
