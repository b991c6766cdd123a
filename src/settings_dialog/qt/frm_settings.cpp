#include "settings_dialog/qt/frm_settings.h"

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

frmSettings::frmSettings(SettingsStore& store, TopMostOps& mainWindow, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      store_(store),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);
    setSizeGripEnabled(false);
    BuildControls();
    PlaceControls();
    SetTabOrder();
    Form_Load();
    Command1->setFocus(Qt::OtherFocusReason);
}

void frmSettings::BuildControls() {
    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    auto* page = new TabPage(SSTab1);
    general_ = Named(page, "General");
    SSTab1->addTab(page, QStringLiteral("General"));

    Check4 = Named(new ToggleCheckBox(QStringLiteral("Auto-Connect on program start")), "Check4");
    Check5 = Named(new ToggleCheckBox(QStringLiteral("Auto-Minimize on program start")), "Check5");
    Check3 = Named(new ToggleCheckBox(QStringLiteral("Keep Veltra Scope On Top")), "Check3");
    Check6 = Named(new ToggleCheckBox(QStringLiteral("Hide TitleBar")), "Check6");
    Check7 =
        Named(new ToggleCheckBox(QStringLiteral("Hide Mute Button (Next Time Program Starts)")),
              "Check7");
    Check8 = Named(new ToggleCheckBox(QStringLiteral("Keep Aspect Ratio When Resizing")), "Check8");
    Check1 = Named(new ToggleCheckBox(QStringLiteral("Auto-Minimize after alert terminates: wait")),
                   "Check1");
    Text1 = Named(new TimeBox, "Text1");
    VScroll1 = Named(new Spinner, "VScroll1");
    Label1 = Named(new QLabel(QStringLiteral("Seconds")), "Label1");
    Check2 = Named(
        new ToggleCheckBox(QStringLiteral("Auto-Mute detector after alert is in progress for")),
        "Check2");
    Text2 = Named(new TimeBox, "Text2");
    VScroll2 = Named(new Spinner, "VScroll2");
    Label2 = Named(new QLabel(QStringLiteral("Seconds")), "Label2");
    driveRow_ = new DriveSettingsRow(this);

    // Neither button answers Enter, and the dialog ignores Escape (see
    // keyPressEvent): a stray key must neither store nor drop the edits.
    Command1 = Named(new QPushButton(QStringLiteral("&OK"), this), "Command1");
    Command2 = Named(new QPushButton(QStringLiteral("&Cancel"), this), "Command2");
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(Command1, &QPushButton::clicked, this, &frmSettings::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSettings::Command2_Click);
    connect(Text1, &TimeBox::timeTextChanged, this, &frmSettings::Text1_Change);
    connect(Text2, &TimeBox::timeTextChanged, this, &frmSettings::Text2_Change);
    connect(VScroll1, &Spinner::spinValueChanged, this, &frmSettings::VScroll1_Change);
    connect(VScroll2, &Spinner::spinValueChanged, this, &frmSettings::VScroll2_Change);
}

void frmSettings::PlaceControls() {
    auto* page = static_cast<TabPage*>(general_);
    page->place(Check4, QRect(225, 675, 2985, 240), true);
    page->place(Check5, QRect(225, 1215, 2985, 240), true);
    page->place(Check3, QRect(225, 1710, 2355, 285), true);
    page->place(Check6, QRect(225, 2250, 2535, 285), true);
    page->place(Check7, QRect(225, 2790, 3525, 285), true);
    page->place(Check8, QRect(225, 3240, 3525, 420), true);
    page->place(Check1, QRect(225, 3825, 3120, 285), true);
    page->place(Text1, QRect(3375, 3825, 510, 330));
    page->place(VScroll1, QRect(3870, 3825, 330, 330));
    page->place(Label1, QRect(4275, 3870, 690, 240), true);
    page->place(Check2, QRect(225, 4365, 3570, 285), true);
    page->place(Text2, QRect(3825, 4365, 510, 330));
    page->place(VScroll2, QRect(4320, 4365, 330, 330));
    page->place(Label2, QRect(4725, 4410, 735, 240), true);
    driveRow_->placeOn(*page, 4365 + kDriveRow);

    scale_ = page->fittingScale();
    page->setScale(scale_);
    setFixedSize(TwipsToPixels(QRect(QPoint(0, 0), kClientSize), *this, scale_).size());
    SSTab1->setGeometry(TwipsToPixels(kTabRect, *this, scale_));
    Command1->setGeometry(TwipsToPixels(kOkRect, *this, scale_));
    Command2->setGeometry(TwipsToPixels(kCancelRect, *this, scale_));
}

void frmSettings::SetTabOrder() {
    const QList<QWidget*> order = {Command1,
                                   Command2,
                                   SSTab1,
                                   Check8,
                                   Check7,
                                   Check6,
                                   Check3,
                                   Check4,
                                   Check5,
                                   VScroll2,
                                   VScroll1,
                                   Check2,
                                   Text2,
                                   Check1,
                                   Text1,
                                   driveRow_->recordCheck(),
                                   driveRow_->limitBox()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void frmSettings::Form_Load() {
    SettingsForm f = LoadSettingsForm(store_);
    Check1->setState(f.autoHide);
    Text1->setTimeText(Q(f.autoHideTime));
    Check2->setState(f.autoMute);
    Text2->setTimeText(Q(f.autoMuteTime));
    Check3->setState(f.onTop);
    Check4->setState(f.autoConnect);
    Check5->setState(f.autoMinimize);
    Check6->setState(f.hideTitlebar);
    Check7->setState(f.hideMute);
    Check8->setState(f.keepAspectRatio);
    driveRow_->load(store_);
}

void frmSettings::Command1_Click() {
    SettingsForm f;
    f.autoHide = Check1->state();
    f.autoHideTime = Text1->text().toStdString();
    f.autoMute = Check2->state();
    f.autoMuteTime = Text2->text().toStdString();
    f.onTop = Check3->state();
    f.autoConnect = Check4->state();
    f.autoMinimize = Check5->state();
    f.hideTitlebar = Check6->state();
    f.hideMute = Check7->state();
    f.keepAspectRatio = Check8->state();
    SaveSettingsForm(store_, f);
    driveRow_->save(store_);
    if (f.onTop == kChecked) {
        mainWindow_.SetTopMost();
    } else {
        mainWindow_.SetNotTopMost();
    }
    accept();
}

void frmSettings::Command2_Click() {
    reject();
}

void frmSettings::keyPressEvent(QKeyEvent* event) {
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

void frmSettings::Text1_Change(const QString& text) {
    VScroll1->setSpinValue(SpinnerValueFor(text.toStdString()));
}

void frmSettings::Text2_Change(const QString& text) {
    VScroll2->setSpinValue(SpinnerValueFor(text.toStdString()));
}

void frmSettings::VScroll1_Change(int value) {
    if (auto text = TextAfterSpinnerMove(Text1->text().toStdString(), value)) {
        Text1->setTimeText(Q(*text));
    }
}

void frmSettings::VScroll2_Change(int value) {
    if (auto text = TextAfterSpinnerMove(Text2->text().toStdString(), value)) {
        Text2->setTimeText(Q(*text));
    }
}

bool RunSettingsDialog(QWidget* parent, SettingsStore& store, TopMostOps& mainWindow) {
    return ModalGuard(mainWindow, store, [&] {
        frmSettings dialog(store, mainWindow, parent);
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace veltra::settings_dialog
