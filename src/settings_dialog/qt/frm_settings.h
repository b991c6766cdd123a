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

class frmSettings : public QDialog {
    Q_OBJECT
public:
    // `parent` is the window it opens over (for placement only). `store` and
    // `mainWindow` must outlive the dialog.
    frmSettings(SettingsStore& store, TopMostOps& mainWindow, QWidget* parent = nullptr);

    // How much the design is enlarged so that every caption shows whole in
    // the current font; 1 when the design's own measures suffice.
    double layoutScale() const { return scale_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void PlaceControls();
    void SetTabOrder();
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Text1_Change(const QString& text);
    void Text2_Change(const QString& text);
    void VScroll1_Change(int value);
    void VScroll2_Change(int value);

    SettingsStore& store_;
    TopMostOps& mainWindow_;
    double scale_ = 1.0;

    QTabWidget* SSTab1 = nullptr;
    QWidget* general_ = nullptr;
    ToggleCheckBox* Check1 = nullptr;
    ToggleCheckBox* Check2 = nullptr;
    ToggleCheckBox* Check3 = nullptr;
    ToggleCheckBox* Check4 = nullptr;
    ToggleCheckBox* Check5 = nullptr;
    ToggleCheckBox* Check6 = nullptr;
    ToggleCheckBox* Check7 = nullptr;
    ToggleCheckBox* Check8 = nullptr;
    TimeBox* Text1 = nullptr;
    TimeBox* Text2 = nullptr;
    Spinner* VScroll1 = nullptr;
    Spinner* VScroll2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    DriveSettingsRow* driveRow_ = nullptr;
};

// Shows the dialog modally over `parent`, with the main window out of the
// topmost band meanwhile and back in it afterwards when "OnTop" is stored
// as 1. Returns whether the user pressed OK. The caller then re-applies the
// frame options (LoadSettings), however the dialog closed.
bool RunSettingsDialog(QWidget* parent, SettingsStore& store, TopMostOps& mainWindow);

}  // namespace veltra::settings_dialog
