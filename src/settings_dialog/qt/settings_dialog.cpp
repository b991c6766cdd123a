#include "settings_dialog/qt/settings_dialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "settings_dialog/qt/drive_settings_row.h"
#include "settings_dialog/qt/spinner.h"
#include "settings_dialog/qt/tab_page.h"
#include "settings_dialog/qt/time_box.h"
#include "settings_dialog/qt/toggle_check_box.h"
#include "settings_dialog/settings_form.h"
#include "settings_dialog/time_box_rules.h"
#include "shell/modal_guard.h"

namespace veltra::settings_dialog {

namespace {

// Design measures in twips.
// The drive recorder's row sits below the original options; the tab and
// everything under it moved down by one row (540 twips) to make room.
constexpr int kDriveRow = 540;
constexpr QSize kClientSize(6240, 6105 + kDriveRow);
constexpr QRect kTabRect(270, 180, 5685, 5055 + kDriveRow);
constexpr QRect kOkRect(1785, 5445 + kDriveRow, 1275, 375);
constexpr QRect kCancelRect(3180, 5445 + kDriveRow, 1275, 375);

template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

SettingsDialog::SettingsDialog(SettingsStore& store, TopMostOps& mainWindow, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      store_(store),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);
    setSizeGripEnabled(false);
    BuildControls();
    PlaceControls();
    SetTabOrder();
    restoreSettings();
    okButton->setFocus(Qt::OtherFocusReason);
}

void SettingsDialog::BuildControls() {
    optionTabs = Named(new QTabWidget(this), "optionTabs");
    auto* page = new TabPage(optionTabs);
    general_ = Named(page, "General");
    optionTabs->addTab(page, QStringLiteral("General"));

    autoConnectBox = Named(new ToggleCheckBox(QStringLiteral("Auto-Connect on program start")),
                           "autoConnectBox");
    autoMinimizeBox = Named(new ToggleCheckBox(QStringLiteral("Auto-Minimize on program start")),
                            "autoMinimizeBox");
    onTopBox = Named(new ToggleCheckBox(QStringLiteral("Keep Veltra Scope On Top")), "onTopBox");
    hideTitleBarBox = Named(new ToggleCheckBox(QStringLiteral("Hide TitleBar")), "hideTitleBarBox");
    hideMuteBox =
        Named(new ToggleCheckBox(QStringLiteral("Hide Mute Button (Next Time Program Starts)")),
              "hideMuteBox");
    keepAspectBox = Named(new ToggleCheckBox(QStringLiteral("Keep Aspect Ratio When Resizing")),
                          "keepAspectBox");
    autoHideBox =
        Named(new ToggleCheckBox(QStringLiteral("Auto-Minimize after alert terminates: wait")),
              "autoHideBox");
    hideSecondsBox = Named(new TimeBox, "hideSecondsBox");
    hideSecondsSpinner = Named(new Spinner, "hideSecondsSpinner");
    hideSecondsLabel = Named(new QLabel(QStringLiteral("Seconds")), "hideSecondsLabel");
    autoMuteBox = Named(
        new ToggleCheckBox(QStringLiteral("Auto-Mute detector after alert is in progress for")),
        "autoMuteBox");
    muteSecondsBox = Named(new TimeBox, "muteSecondsBox");
    muteSecondsSpinner = Named(new Spinner, "muteSecondsSpinner");
    muteSecondsLabel = Named(new QLabel(QStringLiteral("Seconds")), "muteSecondsLabel");
    driveRow_ = new DriveSettingsRow(this);

    // Neither button answers Enter, and the dialog ignores Escape (see
    // keyPressEvent): a stray key must neither store nor drop the edits.
    okButton = Named(new QPushButton(QStringLiteral("&OK"), this), "okButton");
    cancelButton = Named(new QPushButton(QStringLiteral("&Cancel"), this), "cancelButton");
    for (QPushButton* b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(okButton, &QPushButton::clicked, this, &SettingsDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &SettingsDialog::onCancelClicked);
    connect(hideSecondsBox, &TimeBox::timeTextChanged, this, &SettingsDialog::onHideSecondsEdited);
    connect(muteSecondsBox, &TimeBox::timeTextChanged, this, &SettingsDialog::onMuteSecondsEdited);
    connect(hideSecondsSpinner, &Spinner::spinValueChanged, this,
            &SettingsDialog::onHideSecondsSpun);
    connect(muteSecondsSpinner, &Spinner::spinValueChanged, this,
            &SettingsDialog::onMuteSecondsSpun);
}

void SettingsDialog::PlaceControls() {
    auto* page = static_cast<TabPage*>(general_);
    page->place(autoConnectBox, QRect(225, 675, 2985, 240), true);
    page->place(autoMinimizeBox, QRect(225, 1215, 2985, 240), true);
    page->place(onTopBox, QRect(225, 1710, 2355, 285), true);
    page->place(hideTitleBarBox, QRect(225, 2250, 2535, 285), true);
    page->place(hideMuteBox, QRect(225, 2790, 3525, 285), true);
    page->place(keepAspectBox, QRect(225, 3240, 3525, 420), true);
    page->place(autoHideBox, QRect(225, 3825, 3120, 285), true);
    page->place(hideSecondsBox, QRect(3375, 3825, 510, 330));
    page->place(hideSecondsSpinner, QRect(3870, 3825, 330, 330));
    page->place(hideSecondsLabel, QRect(4275, 3870, 690, 240), true);
    page->place(autoMuteBox, QRect(225, 4365, 3570, 285), true);
    page->place(muteSecondsBox, QRect(3825, 4365, 510, 330));
    page->place(muteSecondsSpinner, QRect(4320, 4365, 330, 330));
    page->place(muteSecondsLabel, QRect(4725, 4410, 735, 240), true);
    driveRow_->placeOn(*page, 4365 + kDriveRow);

    scale_ = page->fittingScale();
    page->setScale(scale_);
    setFixedSize(TwipsToPixels(QRect(QPoint(0, 0), kClientSize), *this, scale_).size());
    optionTabs->setGeometry(TwipsToPixels(kTabRect, *this, scale_));
    okButton->setGeometry(TwipsToPixels(kOkRect, *this, scale_));
    cancelButton->setGeometry(TwipsToPixels(kCancelRect, *this, scale_));
}

void SettingsDialog::SetTabOrder() {
    const QList<QWidget*> order = {okButton,
                                   cancelButton,
                                   optionTabs,
                                   keepAspectBox,
                                   hideMuteBox,
                                   hideTitleBarBox,
                                   onTopBox,
                                   autoConnectBox,
                                   autoMinimizeBox,
                                   muteSecondsSpinner,
                                   hideSecondsSpinner,
                                   autoMuteBox,
                                   muteSecondsBox,
                                   autoHideBox,
                                   hideSecondsBox,
                                   driveRow_->recordCheck(),
                                   driveRow_->limitBox()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void SettingsDialog::restoreSettings() {
    SettingsForm f = LoadSettingsForm(store_);
    autoHideBox->setState(f.autoHide);
    hideSecondsBox->setTimeText(Q(f.autoHideTime));
    autoMuteBox->setState(f.autoMute);
    muteSecondsBox->setTimeText(Q(f.autoMuteTime));
    onTopBox->setState(f.onTop);
    autoConnectBox->setState(f.autoConnect);
    autoMinimizeBox->setState(f.autoMinimize);
    hideTitleBarBox->setState(f.hideTitlebar);
    hideMuteBox->setState(f.hideMute);
    keepAspectBox->setState(f.keepAspectRatio);
    driveRow_->load(store_);
}

void SettingsDialog::onOkClicked() {
    SettingsForm f;
    f.autoHide = autoHideBox->state();
    f.autoHideTime = hideSecondsBox->text().toStdString();
    f.autoMute = autoMuteBox->state();
    f.autoMuteTime = muteSecondsBox->text().toStdString();
    f.onTop = onTopBox->state();
    f.autoConnect = autoConnectBox->state();
    f.autoMinimize = autoMinimizeBox->state();
    f.hideTitlebar = hideTitleBarBox->state();
    f.hideMute = hideMuteBox->state();
    f.keepAspectRatio = keepAspectBox->state();
    SaveSettingsForm(store_, f);
    driveRow_->save(store_);
    if (f.onTop == kChecked) {
        mainWindow_.SetTopMost();
    } else {
        mainWindow_.SetNotTopMost();
    }
    accept();
}

void SettingsDialog::onCancelClicked() {
    reject();
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void SettingsDialog::onHideSecondsEdited(const QString& text) {
    hideSecondsSpinner->setSpinValue(SpinnerValueFor(text.toStdString()));
}

void SettingsDialog::onMuteSecondsEdited(const QString& text) {
    muteSecondsSpinner->setSpinValue(SpinnerValueFor(text.toStdString()));
}

void SettingsDialog::onHideSecondsSpun(int value) {
    if (auto text = TextAfterSpinnerMove(hideSecondsBox->text().toStdString(), value)) {
        hideSecondsBox->setTimeText(Q(*text));
    }
}

void SettingsDialog::onMuteSecondsSpun(int value) {
    if (auto text = TextAfterSpinnerMove(muteSecondsBox->text().toStdString(), value)) {
        muteSecondsBox->setTimeText(Q(*text));
    }
}

bool RunSettingsDialog(QWidget* parent, SettingsStore& store, TopMostOps& mainWindow) {
    return ModalGuard(mainWindow, store, [&] {
        SettingsDialog dialog(store, mainWindow, parent);
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace veltra::settings_dialog
