#include "settings_dialog/qt/settings_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QSpinBox>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "settings_dialog/qt/spinner.h"
#include "settings_dialog/qt/tab_page.h"
#include "settings_dialog/qt/time_box.h"
#include "settings_dialog/qt/toggle_check_box.h"
#include "support/fakes.h"

namespace veltra::settings_dialog {
namespace {

using test::FakeWindow;
using test::MemorySettingsStore;

const std::vector<std::string> kWriteOrder = {
    "AutoHide", "AutoHideTime", "AutoMute", "AutoMuteTime", "OnTop", "AutoConnect", "AutoMinimize",
    "HideTitlebar", "HideMute", "KeepAspectRatio",
    // The drive recorder's row, below the ten original options.
    "RecordDrives", "DrivesLimitMB"};
// The recorder's row makes the tab, and what lies under it, one row taller.
constexpr int kDriveRow = 540;

// Notes whether the dialog was still on screen when the main window was
// put into or out of the topmost band.
class WatchingWindow : public FakeWindow {
public:
    void SetTopMost() override {
        FakeWindow::SetTopMost();
        dialogShownAtCall.push_back(dialog && dialog->isVisible());
    }
    void SetNotTopMost() override {
        FakeWindow::SetNotTopMost();
        dialogShownAtCall.push_back(dialog && dialog->isVisible());
    }
    QWidget* dialog = nullptr;
    std::vector<bool> dialogShownAtCall;
};

class SettingsDialogTest : public ::testing::Test {
protected:
    void open() {
        dialog = std::make_unique<SettingsDialog>(store, window);
        window.dialog = dialog.get();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <class W>
    W* child(const char* name) {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    ToggleCheckBox* check(const char* name) { return child<ToggleCheckBox>(name); }
    QString focusName() {
        QWidget* w = QApplication::focusWidget();
        if (!w) {
            return QStringLiteral("<none>");
        }
        // The tab strip is the tab control's focus proxy.
        if (qobject_cast<QTabBar*>(w) && w->parentWidget()) {
            return w->parentWidget()->objectName();
        }
        return w->objectName();
    }
    void type(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w, key, mods);
    }

    MemorySettingsStore store;
    WatchingWindow window;
    std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, HasItsCaptionsFixedSizeAndOneGeneralTab) {
    open();
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(
        dialog->size(),
        TwipsToPixels(QRect(0, 0, 6240, 6105 + kDriveRow), *dialog, dialog->layoutScale()).size());
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);

    auto* tab = child<QTabWidget>("optionTabs");
    ASSERT_EQ(tab->count(), 1);
    EXPECT_EQ(tab->tabText(0), "General");
    EXPECT_EQ(tab->geometry(), TwipsToPixels(QRect(270, 180, 5685, 5055 + kDriveRow), *dialog,
                                             dialog->layoutScale()));

    const std::pair<const char*, const char*> captions[] = {
        {"autoHideBox", "Auto-Minimize after alert terminates: wait"},
        {"autoMuteBox", "Auto-Mute detector after alert is in progress for"},
        {"onTopBox", "Keep Veltra Scope On Top"},
        {"autoConnectBox", "Auto-Connect on program start"},
        {"autoMinimizeBox", "Auto-Minimize on program start"},
        {"hideTitleBarBox", "Hide TitleBar"},
        {"hideMuteBox", "Hide Mute Button (Next Time Program Starts)"},
        {"keepAspectBox", "Keep Aspect Ratio When Resizing"}};
    for (auto [name, caption] : captions) {
        auto* c = child<ToggleCheckBox>(name);
        EXPECT_EQ(c->text(), caption);
        EXPECT_TRUE(tab->widget(0)->isAncestorOf(c)) << name;
    }
    EXPECT_EQ(child<QLabel>("hideSecondsLabel")->text(), "Seconds");
    EXPECT_EQ(child<QLabel>("muteSecondsLabel")->text(), "Seconds");

    auto* ok = child<QPushButton>("okButton");
    auto* cancel = child<QPushButton>("cancelButton");
    EXPECT_EQ(ok->text(), "&OK");
    EXPECT_EQ(cancel->text(), "&Cancel");
    EXPECT_EQ(ok->geometry(), TwipsToPixels(QRect(1785, 5445 + kDriveRow, 1275, 375), *dialog,
                                            dialog->layoutScale()));
    EXPECT_EQ(cancel->geometry(), TwipsToPixels(QRect(3180, 5445 + kDriveRow, 1275, 375), *dialog,
                                                dialog->layoutScale()));
    for (QPushButton* b : {ok, cancel}) {
        EXPECT_FALSE(b->isDefault());
        EXPECT_FALSE(b->autoDefault());
    }
    // Fixed pitch: a narrow and a wide letter take the same room.
    QFontMetrics fixed(child<TimeBox>("hideSecondsBox")->font());
    EXPECT_EQ(fixed.horizontalAdvance(QLatin1Char('i')), fixed.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(child<TimeBox>("hideSecondsBox")->font().pointSize(), 9);
}

// Positions are measured from the tab control's corner, tab strip included,
// so every option must lie inside the page, below the strip.
TEST_F(SettingsDialogTest, OptionsSitAtTheirPlacesInsideThePage) {
    open();
    auto* tab = child<QTabWidget>("optionTabs");
    QWidget* page = tab->widget(0);
    QRect inTab = TwipsToPixels(QRect(3375, 3825, 510, 330), *dialog, dialog->layoutScale());
    auto* hideSecondsBox = child<TimeBox>("hideSecondsBox");
    EXPECT_EQ(QRect(hideSecondsBox->mapTo(tab, QPoint(0, 0)), hideSecondsBox->size()), inTab);
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(page->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
}

TEST_F(SettingsDialogTest, EmptyStoreShowsTheDefaultsWithAutoMuteChecked) {
    open();
    for (const char* name : {"autoHideBox", "autoMuteBox", "autoConnectBox", "keepAspectBox"}) {
        EXPECT_EQ(check(name)->state(), 1) << name;
    }
    for (const char* name : {"onTopBox", "autoMinimizeBox", "hideTitleBarBox", "hideMuteBox"}) {
        EXPECT_EQ(check(name)->state(), 0) << name;
    }
    EXPECT_EQ(child<TimeBox>("hideSecondsBox")->text(), "5");
    EXPECT_EQ(child<TimeBox>("muteSecondsBox")->text(), "5");
    EXPECT_EQ(child<Spinner>("hideSecondsSpinner")->spinValue(), 5);
    EXPECT_EQ(child<Spinner>("muteSecondsSpinner")->spinValue(), 5);

    // A plain OK keeps auto-mute on, as the alert logic already had it.
    QTest::mouseClick(child<QPushButton>("okButton"), Qt::LeftButton);
    EXPECT_EQ(store.get("AutoMute"), "1");
}

TEST_F(SettingsDialogTest, TimeBoxTakesOnlyTwoDigitsAndBackspace) {
    open();
    auto* text = child<TimeBox>("hideSecondsBox");
    text->setFocus();
    for (Qt::Key k : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Space, Qt::Key_Return,
                      Qt::Key_Enter, Qt::Key_Escape}) {
        type(text, k);
        EXPECT_EQ(text->text(), "5") << k;
    }
    EXPECT_TRUE(dialog->isVisible());  // neither Enter nor Escape closed it

    type(text, Qt::Key_Backspace);
    EXPECT_EQ(text->text(), "");
    QTest::keyClicks(text, "123");
    EXPECT_EQ(text->text(), "12");  // the third digit is refused
    EXPECT_EQ(child<Spinner>("hideSecondsSpinner")->spinValue(), 12);
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(SettingsDialogTest, PasteIsHeldToTheSameRule) {
    open();
    auto* text = child<TimeBox>("muteSecondsBox");
    auto* spin = child<Spinner>("muteSecondsSpinner");
    text->setFocus();
    text->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("1a2"));
    type(text, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text->text(), "5");
    EXPECT_EQ(spin->spinValue(), 5);

    QApplication::clipboard()->setText(QStringLiteral("123"));
    text->paste();
    EXPECT_EQ(text->text(), "5");

    text->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("42"));
    text->paste();
    EXPECT_EQ(text->text(), "42");
    EXPECT_EQ(spin->spinValue(), 42);
}

TEST_F(SettingsDialogTest, ClearedBoxMovesSpinnerToZeroAndStoresEmptyText) {
    open();
    auto* text = child<TimeBox>("hideSecondsBox");
    text->setFocus();
    text->selectAll();
    type(text, Qt::Key_Backspace);
    EXPECT_EQ(text->text(), "");
    EXPECT_EQ(child<Spinner>("hideSecondsSpinner")->spinValue(), 0);

    // "0" then "7": the spinner moves to 7 and writes its own form back.
    QTest::keyClicks(text, "0");
    EXPECT_EQ(text->text(), "0");
    QTest::keyClicks(text, "7");
    EXPECT_EQ(text->text(), "7");
    EXPECT_EQ(child<Spinner>("hideSecondsSpinner")->spinValue(), 7);

    text->selectAll();
    type(text, Qt::Key_Backspace);
    QTest::mouseClick(child<QPushButton>("okButton"), Qt::LeftButton);
    EXPECT_EQ(store.get("AutoHideTime"), "");
}

TEST_F(SettingsDialogTest, SpinnerArrowsStepWithinZeroToNinetyNine) {
    store.set("AutoHideTime", "98");
    store.set("AutoMuteTime", "1");
    open();
    auto* spin1 = child<Spinner>("hideSecondsSpinner");
    auto* spin2 = child<Spinner>("muteSecondsSpinner");
    auto up = [](Spinner* s) {
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 2));
    };
    auto down = [](Spinner* s) {
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 3));
    };
    up(spin1);
    EXPECT_EQ(spin1->spinValue(), 99);
    EXPECT_EQ(child<TimeBox>("hideSecondsBox")->text(), "99");
    up(spin1);
    EXPECT_EQ(spin1->spinValue(), 99);
    EXPECT_EQ(child<TimeBox>("hideSecondsBox")->text(), "99");

    down(spin2);
    EXPECT_EQ(child<TimeBox>("muteSecondsBox")->text(), "0");
    down(spin2);
    EXPECT_EQ(spin2->spinValue(), 0);
    EXPECT_EQ(child<TimeBox>("muteSecondsBox")->text(), "0");
    spin2->setFocus();
    type(spin2, Qt::Key_Up);
    EXPECT_EQ(child<TimeBox>("muteSecondsBox")->text(), "1");
}

TEST_F(SettingsDialogTest, StoredTimeAboveRangeIsBoundedWhenFocusLeaves) {
    store.set("AutoMuteTime", "150");
    open();
    auto* text = child<TimeBox>("muteSecondsBox");
    EXPECT_EQ(text->text(), "150");
    EXPECT_EQ(child<Spinner>("muteSecondsSpinner")->spinValue(), 99);

    text->setFocus();
    QTRY_VERIFY(text->hasFocus());
    QTest::keyClicks(text, "7");  // no room for another digit
    EXPECT_EQ(text->text(), "150");
    child<QPushButton>("cancelButton")->setFocus();
    QTRY_COMPARE(text->text(), QStringLiteral("99"));
    EXPECT_EQ(child<Spinner>("muteSecondsSpinner")->spinValue(), 99);
    EXPECT_TRUE(store.writes.empty());
}

// A store full of garbage: every check box shows a state it can have, each
// spinner a position within its range (clamped where the text has a number,
// the bottom where it has none), and leaving a time box settles it to a time
// the spinner can show.
TEST_F(SettingsDialogTest, GarbageInTheStoreShowsSaneValues) {
    struct Case {
        std::string stored;
        int spinner;  // the position shown on opening
    };
    for (const Case& c : {Case{"1e30", 99}, Case{"-5", 0}, Case{"nan", 0}, Case{"inf", 0},
                          Case{"\x01\xff\xfe junk", 0}, Case{std::string(1 << 20, '9'), 99},
                          Case{"1e400", 99}, Case{"7.5", 8}}) {
        SCOPED_TRACE(c.stored.substr(0, 12));
        store = MemorySettingsStore();
        for (const char* key :
             {"AutoHide", "AutoMute", "OnTop", "AutoConnect", "AutoMinimize", "HideTitlebar",
              "HideMute", "KeepAspectRatio", "AutoHideTime", "AutoMuteTime"}) {
            store.set(key, c.stored);
        }
        open();
        for (const char* name :
             {"autoHideBox", "autoMuteBox", "onTopBox", "autoConnectBox", "autoMinimizeBox",
              "hideTitleBarBox", "hideMuteBox", "keepAspectBox"}) {
            const int state = check(name)->state();
            EXPECT_TRUE(state == 0 || state == 1 || state == 2) << name << ": " << state;
        }
        EXPECT_EQ(child<Spinner>("hideSecondsSpinner")->spinValue(), c.spinner);
        EXPECT_EQ(child<Spinner>("muteSecondsSpinner")->spinValue(), c.spinner);
        for (const char* name : {"hideSecondsBox", "muteSecondsBox"}) {
            auto* text = child<TimeBox>(name);
            text->setFocus();
            QTRY_VERIFY(text->hasFocus());
            child<QPushButton>("cancelButton")->setFocus();
            QTRY_VERIFY(!text->hasFocus());
            // Whatever stays in the box is what its spinner shows when the
            // text is a number; a number above the range became "99".
            if (c.spinner == 99) {
                EXPECT_EQ(text->text(), "99") << name;
            }
        }
        // Opening and looking writes nothing.
        EXPECT_TRUE(store.writes.empty());
        dialog.reset();
    }
}

TEST_F(SettingsDialogTest, ClicksToggleBetweenClearAndChecked) {
    store.set("HideMute", "2");
    open();
    auto* c = check("hideMuteBox");
    EXPECT_EQ(c->state(), 2);
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_EQ(c->state(), 1);
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_EQ(c->state(), 0);
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_EQ(c->state(), 1);
}

TEST_F(SettingsDialogTest, OkWritesTheTenKeysInOrderThenSetsTopMostBeforeClosing) {
    store.set("HideMute", "2");
    open();
    QTest::mouseClick(check("onTopBox"), Qt::LeftButton);
    QTest::mouseClick(check("autoConnectBox"), Qt::LeftButton);  // no auto-connect
    auto* muteSecondsBox = child<TimeBox>("muteSecondsBox");
    muteSecondsBox->selectAll();
    QTest::keyClicks(muteSecondsBox, "42");
    QTest::mouseClick(child<QPushButton>("okButton"), Qt::LeftButton);

    EXPECT_EQ(store.writes, kWriteOrder);
    EXPECT_EQ(store.get("AutoHide"), "1");
    EXPECT_EQ(store.get("AutoHideTime"), "5");
    EXPECT_EQ(store.get("AutoMute"), "1");
    EXPECT_EQ(store.get("AutoMuteTime"), "42");
    EXPECT_EQ(store.get("OnTop"), "1");
    EXPECT_EQ(store.get("AutoConnect"), "0");
    EXPECT_EQ(store.get("AutoMinimize"), "0");
    EXPECT_EQ(store.get("HideTitlebar"), "0");
    EXPECT_EQ(store.get("HideMute"), "2");
    EXPECT_EQ(store.get("KeepAspectRatio"), "1");

    EXPECT_EQ(window.log, std::vector<std::string>{"topmost"});
    EXPECT_EQ(window.dialogShownAtCall, std::vector<bool>{true});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(SettingsDialogTest, OkWithOnTopClearLeavesTheBand) {
    store.set("OnTop", "1");
    open();
    QTest::mouseClick(check("onTopBox"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("okButton"), Qt::LeftButton);
    EXPECT_EQ(store.get("OnTop"), "0");
    EXPECT_EQ(window.log, std::vector<std::string>{"nottopmost"});
}

TEST_F(SettingsDialogTest, CancelAndCloseBoxWriteNothing) {
    for (bool viaCloseBox : {false, true}) {
        open();
        QTest::mouseClick(check("onTopBox"), Qt::LeftButton);
        child<TimeBox>("hideSecondsBox")->selectAll();
        QTest::keyClicks(child<TimeBox>("hideSecondsBox"), "9");
        if (viaCloseBox) {
            dialog->close();
        } else {
            QTest::mouseClick(child<QPushButton>("cancelButton"), Qt::LeftButton);
        }
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_TRUE(store.writes.empty());
        EXPECT_TRUE(window.log.empty());
    }
}

TEST_F(SettingsDialogTest, FocusStartsOnOkAndTabFollowsTheDesignedOrder) {
    open();
    QTRY_COMPARE(focusName(), QStringLiteral("okButton"));
    const QStringList expected = {"cancelButton", "optionTabs", "keepAspectBox", "hideMuteBox",
                                  "hideTitleBarBox", "onTopBox", "autoConnectBox",
                                  "autoMinimizeBox", "muteSecondsSpinner", "hideSecondsSpinner",
                                  "autoMuteBox", "muteSecondsBox", "autoHideBox", "hideSecondsBox",
                                  // The drive recorder's row, last as it is lowest.
                                  "recordDrivesCheck", "drivesLimitBox", "okButton"};
    QStringList seen;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << focusName();
    }
    EXPECT_EQ(seen, expected);
}

// The caller's whole round: out of the band while the dialog is open, back
// in afterwards when the stored option says so.
TEST_F(SettingsDialogTest, RunningTheDialogGuardsTheTopmostBand) {
    bool pressedOk = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        QTest::mouseClick(d->findChild<ToggleCheckBox*>("onTopBox"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    pressedOk = RunSettingsDialog(nullptr, store, window);
    EXPECT_TRUE(pressedOk);
    EXPECT_EQ(window.log, (std::vector<std::string>{"nottopmost", "topmost", "topmost"}));

    window.log.clear();
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->close();
    });
    EXPECT_FALSE(RunSettingsDialog(nullptr, store, window));
    EXPECT_EQ(window.log, (std::vector<std::string>{"nottopmost", "topmost"}));
}

TEST_F(SettingsDialogTest, DriveRowShowsItsDefaultsBelowTheOptionsAndWritesOnOk) {
    open();
    auto* record = child<QCheckBox>("recordDrivesCheck");
    auto* limit = child<QSpinBox>("drivesLimitBox");
    EXPECT_TRUE(record->isChecked());
    EXPECT_EQ(limit->value(), 200);
    // Below every original option, inside the page.
    EXPECT_GT(record->geometry().top(), child<QWidget>("muteSecondsLabel")->geometry().bottom());
    EXPECT_LE(limit->geometry().bottom(), child<QWidget>("General")->height());
    record->setChecked(false);
    limit->setValue(50);
    QTest::mouseClick(child<QPushButton>("okButton"), Qt::LeftButton);
    EXPECT_EQ(store.get("RecordDrives"), "0");
    EXPECT_EQ(store.get("DrivesLimitMB"), "50");

    // A hand-edited limit out of range shows, and stays, the default.
    store.set("DrivesLimitMB", "-3");
    open();
    EXPECT_EQ(child<QSpinBox>("drivesLimitBox")->value(), 200);
    EXPECT_FALSE(child<QCheckBox>("recordDrivesCheck")->isChecked());
}

}  // namespace
}  // namespace veltra::settings_dialog
