#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "shell/qt/qt_prompt.h"
#include "shell/qt/qt_timer.h"
#include "shell/qt/qt_top_most.h"
#include "support/on_modal.h"

namespace veltra {
namespace {

using namespace std::chrono_literals;

TEST(QtTimerTest, StartingARunningTimerKeepsItsNextTick) {
    QtTimer timer(nullptr, 150ms);
    int ticks = 0;
    timer.setOnTick([&] { ++ticks; });
    timer.start();
    EXPECT_TRUE(timer.isActive());
    // Start it over and over: were each start a restart, no tick would come.
    QElapsedTimer since;
    since.start();
    while (ticks == 0 && since.elapsed() < 5000) {
        timer.start();
        QCoreApplication::processEvents();
    }
    EXPECT_GE(ticks, 1);
    timer.stop();
    EXPECT_FALSE(timer.isActive());
}

TEST(QtTimerTest, DefaultsToOneSecond) {
    EXPECT_EQ(QtTimer().interval(), 1000ms);
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
    QWidget* parent = nullptr;
};

// Shows a box through QtPrompt, records how it looks, and closes it with
// `close` (a standard button to click, or NoButton to press Escape).
PromptAnswer ShowAndClose(QtPrompt& prompt, const std::string& text, PromptIcon icon,
                          PromptButtons buttons, QMessageBox::StandardButton close, SeenBox& seen) {
    test::OnModal closer([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(),     box->text(),       box->icon(),
                box->standardButtons(), box->textFormat(), box->parentWidget()};
        if (close == QMessageBox::NoButton) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(close)->click();
        }
    });
    PromptAnswer answer = prompt.show("Veltra Scope", text, icon, buttons);
    EXPECT_TRUE(closer.done());
    return answer;
}

TEST(QtPromptTest, ShowsTheExactBoxAndReturnsThePressedButton) {
    QWidget owner;
    QtPrompt prompt(&owner);
    SeenBox seen;

    EXPECT_EQ(ShowAndClose(prompt, "Save logged alert data?\r\nIt will be lost otherwise.",
                           PromptIcon::Question, PromptButtons::YesNo, QMessageBox::No, seen),
              PromptAnswer::No);
    EXPECT_EQ(seen.title, "Veltra Scope");
    EXPECT_EQ(seen.text, "Save logged alert data?\nIt will be lost otherwise.");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.parent, &owner);

    EXPECT_EQ(ShowAndClose(prompt, "x", PromptIcon::Question, PromptButtons::YesNo,
                           QMessageBox::Yes, seen),
              PromptAnswer::Yes);
    // Escape is no answer: No may throw data away.
    EXPECT_EQ(ShowAndClose(prompt, "x", PromptIcon::Question, PromptButtons::YesNo,
                           QMessageBox::NoButton, seen),
              PromptAnswer::Dismissed);

    // Error texts carry device paths and system messages: never markup.
    EXPECT_EQ(ShowAndClose(prompt, "Error 8002: <b>/dev/ttyS9</b> & co", PromptIcon::Exclamation,
                           PromptButtons::Ok, QMessageBox::Ok, seen),
              PromptAnswer::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, "Error 8002: <b>/dev/ttyS9</b> & co");
}

TEST(QtPromptTest, SurvivesItsWindowClosingWhileTheBoxIsUp) {
    auto owner = std::make_unique<QWidget>();
    QtPrompt prompt(owner.get());
    test::OnModal destroyer([&](QWidget*) { owner.reset(); });
    EXPECT_EQ(prompt.show("t", "x", PromptIcon::Question, PromptButtons::YesNo),
              PromptAnswer::Dismissed);
    EXPECT_TRUE(destroyer.done());
}

TEST(QtTopMostTest, TogglesKeepAboveInPlaceAndKeepsItThroughRecreation) {
    QWidget window;
    window.setGeometry(120, 140, 300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const WId id = window.winId();
    const QRect geometry = window.geometry();
    QtTopMost topMost(&window);

    topMost.SetTopMost();
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.winId(), id);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), geometry);

    // Any later change that re-creates the native window keeps the state.
    window.setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    topMost.SetNotTopMost();
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(QtTopMostTest, ActsOnTheTopLevelWindowAndIgnoresAGoneOne) {
    auto window = std::make_unique<QWidget>();
    auto* child = new QLabel(window.get());
    QtTopMost topMost(child);
    topMost.SetTopMost();  // before the window exists: applied when it is shown
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    window.reset();
    topMost.SetNotTopMost();  // must not touch freed memory
}

}  // namespace
}  // namespace veltra
