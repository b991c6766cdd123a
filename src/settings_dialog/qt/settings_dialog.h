#pragma once
// The settings dialog: the ten options on one "General" tab, written to the
// store on OK; Cancel and the close box write nothing. OK also puts the main
// window into or out of the topmost band at once.

#include <QDialog>

#include "platform/settings_store.h"
#include "platform/window.h"

class QPushButton;
class QTabWidget;
class QLabel;

namespace veltra::settings_dialog {

class DriveSettingsRow;
class Spinner;
class TimeBox;
class ToggleCheckBox;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `parent` is the window it opens over (for placement only). `store` and
    // `mainWindow` must outlive the dialog.
    SettingsDialog(SettingsStore& store, TopMostOps& mainWindow, QWidget* parent = nullptr);

    // How much the design is enlarged so that every caption shows whole in
    // the current font; 1 when the design's own measures suffice.
    double layoutScale() const { return scale_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void PlaceControls();
    void SetTabOrder();
    void restoreSettings();
    void onOkClicked();
    void onCancelClicked();
    void onHideSecondsEdited(const QString& text);
    void onMuteSecondsEdited(const QString& text);
    void onHideSecondsSpun(int value);
    void onMuteSecondsSpun(int value);

    SettingsStore& store_;
    TopMostOps& mainWindow_;
    double scale_ = 1.0;

    QTabWidget* optionTabs = nullptr;
    QWidget* general_ = nullptr;
    ToggleCheckBox* autoHideBox = nullptr;
    ToggleCheckBox* autoMuteBox = nullptr;
    ToggleCheckBox* onTopBox = nullptr;
    ToggleCheckBox* autoConnectBox = nullptr;
    ToggleCheckBox* autoMinimizeBox = nullptr;
    ToggleCheckBox* hideTitleBarBox = nullptr;
    ToggleCheckBox* hideMuteBox = nullptr;
    ToggleCheckBox* keepAspectBox = nullptr;
    TimeBox* hideSecondsBox = nullptr;
    TimeBox* muteSecondsBox = nullptr;
    Spinner* hideSecondsSpinner = nullptr;
    Spinner* muteSecondsSpinner = nullptr;
    QLabel* hideSecondsLabel = nullptr;
    QLabel* muteSecondsLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    DriveSettingsRow* driveRow_ = nullptr;
};

// Shows the dialog modally over `parent`, with the main window out of the
// topmost band meanwhile and back in it afterwards when "OnTop" is stored
// as 1. Returns whether the user pressed OK. The caller then re-applies the
// frame options (LoadSettings), however the dialog closed.
bool RunSettingsDialog(QWidget* parent, SettingsStore& store, TopMostOps& mainWindow);

}  // namespace veltra::settings_dialog
