// The face rescales with the window in proportion to the layout taken at
// start-up, and comes back exactly when the window does.

#include <QLabel>

#include "main_window_harness.h"
#include "shell/qt/twips.h"

namespace veltra::test {
namespace {

// What the layout may change on one control of the face.
struct Placed {
    QString name;
    bool line = false;
    QRect geometry;       // position and size, for all but segment lines
    QLine ends;           // X1, Y1, X2, Y2 of a segment line
    int borderWidth = 0;  // of a segment line
    double points = 0;

    bool operator==(const Placed&) const = default;
};

std::vector<Placed> Snapshot(QWidget* face) {
    std::vector<Placed> out;
    for (QWidget* w : face->findChildren<QWidget*>()) {
        Placed p;
        p.name = w->objectName();
        p.line = w->property("veltraType").toString() == QStringLiteral("Line");
        if (p.line) {
            p.ends = QLine(w->property("X1").toInt(), w->property("Y1").toInt(),
                           w->property("X2").toInt(), w->property("Y2").toInt());
            p.borderWidth = w->property("BorderWidth").toInt();
        } else {
            p.geometry = w->geometry();
        }
        p.points = w->font().pointSizeF();
        out.push_back(p);
    }
    return out;
}

std::ostream& operator<<(std::ostream& os, const Placed& p) {
    os << p.name.toStdString() << ' ';
    if (p.line) {
        return os << '(' << p.ends.x1() << ',' << p.ends.y1() << ")-(" << p.ends.x2() << ','
                  << p.ends.y2() << ") w" << p.borderWidth << ' ' << p.points << "pt";
    }
    return os << p.geometry.x() << ',' << p.geometry.y() << ' ' << p.geometry.width() << 'x'
              << p.geometry.height() << ' ' << p.points << "pt";
}

class MainWindowLayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // The aspect rule would change the height the test asks for.
        store.set("KeepAspectRatio", "0");
    }
};

TEST_F(MainWindowLayoutTest, DoublingTheWindowDoublesTheFaceAndReturningRestoresItExactly) {
    load();
    const QSize design = face()->size();
    const std::vector<Placed> recorded = Snapshot(face());
    ASSERT_GT(recorded.size(), 40u);

    ASSERT_TRUE(resizeFace(design * 2));
    const std::vector<Placed> doubled = Snapshot(face());
    ASSERT_EQ(doubled.size(), recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        const Placed& r = recorded[i];
        Placed want = r;
        if (r.line) {
            want.ends = QLine(r.ends.p1() * 2, r.ends.p2() * 2);
            want.borderWidth = r.borderWidth * 2;
        } else {
            want.geometry = QRect(r.geometry.topLeft() * 2, r.geometry.size() * 2);
        }
        want.points = r.points > 0 ? r.points * 2 : r.points;
        EXPECT_EQ(doubled[i], want) << "recorded " << r;
    }
    EXPECT_EQ(child("displayPanel")->width(), TwipsToPx(9015) * 2);

    // Through an uneven size and back: rounding never accumulates.
    ASSERT_TRUE(resizeFace(QSize(design.width() * 3 / 5 + 1, design.height() * 7 / 10)));
    ASSERT_TRUE(resizeFace(design));
    const std::vector<Placed> back = Snapshot(face());
    ASSERT_EQ(back.size(), recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(back[i], recorded[i]) << "now " << back[i];
    }
}

TEST_F(MainWindowLayoutTest, FontsFollowTheSmallerFactor) {
    make();
    auto* rawMessageLabel = child<QLabel>("rawMessageLabel");
    QFont font = rawMessageLabel->font();
    font.setPointSizeF(9.75);
    rawMessageLabel->setFont(font);
    form->restoreSettings();
    const QSize design = face()->size();
    ASSERT_EQ(design.height() % 2, 0) << "a height of 1.5 times the design must be whole";

    ASSERT_TRUE(resizeFace(QSize(design.width() * 2, design.height() * 3 / 2)));
    EXPECT_EQ(rawMessageLabel->font().pointSizeF(), 14.625);
    ASSERT_TRUE(resizeFace(QSize(design.width(), design.height() / 2)));
    EXPECT_EQ(rawMessageLabel->font().pointSizeF(), 4.875);
}

TEST_F(MainWindowLayoutTest, WithoutTheMuteStripTheShiftedDisplayIsTheReference) {
    store.set("HideMute", "1");
    load();
    QWidget* displayPanel = child("displayPanel");
    const int shifted = displayPanel->x();
    ASSERT_EQ(shifted, TwipsToPx(-2200));

    ASSERT_TRUE(resizeFace(face()->size() * 2));
    EXPECT_EQ(displayPanel->x(), shifted * 2);
    // The display's right edge stays at the window's right edge.
    EXPECT_NEAR(displayPanel->geometry().right(), face()->width(), 2);
}

}  // namespace
}  // namespace veltra::test
