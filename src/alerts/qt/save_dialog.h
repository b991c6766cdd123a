#pragma once
// The Save As dialog for the alert log.

#include <optional>
#include <string>

#include "alerts/save_log_dialog.h"

class QWidget;

namespace veltra {

class QtSaveDialog : public SaveLogDialog {
public:
    // `parent` is the window the dialog belongs to (may be null). With
    // `nativeDialog` false Qt's own dialog is used, which tests can drive.
    explicit QtSaveDialog(QWidget* parent, bool nativeDialog = true);

    // Titled "Save As...", offering text files first and all files second,
    // starting in the current directory; a name typed without an extension
    // gets ".txt". It does not ask about replacing a file: the log saver
    // asks that itself, once.
    std::optional<std::string> ChooseSavePath() override;

private:
    QWidget* parent_;
    bool nativeDialog_;
};

}  // namespace veltra
