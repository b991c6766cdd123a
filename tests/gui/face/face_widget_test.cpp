// The face's widget tree: names and design geometry, the wiring of every
// display element, and which controls move the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>

#include "shell/qt/face_caption.h"
#include "shell/qt/face_picture.h"
#include "shell/qt/face_segment_line.h"
#include "shell/qt/face_widget.h"

namespace veltra {
namespace {

constexpr double kDpi = 96;  // 15 twips per pixel

int Px(double twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}
QRect PxRect(double l, double t, double w, double h) {
    return QRect(Px(l), Px(t), Px(w), Px(h));
}

template <typename T = QWidget>
T* Find(const QWidget& face, const QString& name) {
    auto* w = face.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

TEST(FaceLayout, ElementsSitAtTheirDesignPlaces) {
    FaceWidget face(nullptr, kDpi);
    struct Place {
        const char* name;
        const char* parent;
        QRect rect;
    };
    const Place places[] = {
        {"displayPanel", "FaceWidget", PxRect(0, 0, 9015, 3570)},
        {"muteStripOffset", "FaceWidget", PxRect(-2200, 3690, 780, 240)},
        {"minimiseBox", "displayPanel", PxRect(8685, 0, 330, 330)},
        {"muteButton", "displayPanel", PxRect(450, 1035, 1530, 1530)},
        {"muteCaption", "displayPanel", PxRect(630, 585, 1350, 330)},
        {"speakerIcon", "displayPanel", PxRect(360, 570, 240, 360)},
        {"bannerCaption", "displayPanel", PxRect(-270, 0, 6630, 510)},
        {"digitPanel", "displayPanel", PxRect(2250, 675, 1455, 1815)},
        {"digitCaption", "digitPanel", PxRect(90, 1485, 1260, 270)},
        {"meterPanel", "displayPanel", PxRect(2250, 2610, 3345, 735)},
        {"meterCaption", "meterPanel", PxRect(90, 450, 990, 300)},
        {"bandPanel", "displayPanel", PxRect(3915, 540, 2310, 2040)},
        {"bandNames", "bandPanel", PxRect(90, 45, 1110, 1830)},
        {"bandLegend", "bandPanel", PxRect(1710, 135, 525, 1830)},
        {"arrowPanel", "displayPanel", PxRect(6390, 135, 2490, 3120)},
        {"frontArrow", "arrowPanel", PxRect(135, 135, 2205, 1440)},
        {"sideArrow", "arrowPanel", PxRect(135, 1665, 2190, 480)},
        {"rearArrow", "arrowPanel", PxRect(135, 2160, 2190, 795)},
    };
    for (const Place& p : places) {
        QWidget* w = Find(face, QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(p.parent)) << p.name;
        EXPECT_EQ(w->geometry(), p.rect) << p.name;
    }

    // Dots in one row left to right, lamps in one column top to bottom.
    for (int i = 0; i < 8; ++i) {
        QWidget* dot = Find(face, QStringLiteral("ImgSig(%1)").arg(i));
        ASSERT_NE(dot, nullptr);
        EXPECT_EQ(dot->parentWidget()->objectName(), "meterPanel");
        EXPECT_EQ(dot->size(), QSize(Px(315), Px(315)));
        EXPECT_EQ(dot->x() - Find(face, "ImgSig(0)")->x(), Px(405 * i));
        EXPECT_EQ(dot->y(), Find(face, "ImgSig(0)")->y());
    }
    for (int i = 0; i < 4; ++i) {
        QWidget* lamp = Find(face, QStringLiteral("ImgBand(%1)").arg(i));
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->parentWidget()->objectName(), "bandPanel");
        EXPECT_EQ(lamp->size(), QSize(Px(450), Px(450)));
        EXPECT_EQ(lamp->y() - Find(face, "ImgBand(0)")->y(), Px(495 * i));
        EXPECT_EQ(lamp->x(), Find(face, "ImgBand(0)")->x());
    }
    EXPECT_EQ(Find<FaceCaption>(face, "bandNames")->lines(),
              QStringList({"Laser", "Ka", "K", "X"}));

    // The minimise box: hidden until the window goes frameless.
    QWidget* minimiseBox = Find(face, "minimiseBox");
    QWidget* glyph = Find(face, "minimiseGlyph");
    EXPECT_EQ(glyph->parentWidget(), minimiseBox);
    EXPECT_EQ(glyph->size(), QSize(20, 19));
    EXPECT_TRUE(minimiseBox->isHidden());
    face.setFrameless(true);
    EXPECT_FALSE(minimiseBox->isHidden());
    face.setFrameless(false);
    EXPECT_TRUE(minimiseBox->isHidden());

    // Templates and the raw-message label lie below the visible height.
    const QStringList below = {"frontArrowLit",  "rearArrowLit",  "sideArrowLit", "arrowUnlit(0)",
                               "arrowUnlit(1)",  "arrowUnlit(2)", "dotLit",       "dotUnlit",
                               "lampLit",        "lampUnlit",     "muteButtonUp", "muteButtonDown",
                               "rawMessageLabel"};
    for (const QString& name : below) {
        QWidget* w = Find(face, name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), "displayPanel") << name.toStdString();
        EXPECT_GE(w->y(), Px(3570)) << name.toStdString();
        if (name != "rawMessageLabel") {
            EXPECT_TRUE(w->isHidden()) << name.toStdString();
        }
    }
    QWidget* displayPanel = Find(face, "displayPanel");
    QWidget* rawMessageLabel = Find(face, "rawMessageLabel");
    face.setRawVisible(true);
    EXPECT_EQ(displayPanel->height(), Px(5775));
    EXPECT_LE(rawMessageLabel->geometry().bottom(), displayPanel->height());
    face.setRawVisible(false);
    EXPECT_EQ(displayPanel->height(), Px(5190));
    EXPECT_GE(rawMessageLabel->y(), displayPanel->height());
    EXPECT_EQ(displayPanel->width(), Px(9015));
}

TEST(FaceLayout, SegmentsAreSlantedLinesInTheDigitPanel) {
    FaceWidget face(nullptr, kDpi);
    struct Seg {
        double x1, y1, x2, y2;
    };
    const Seg segs[8] = {{},
                         {675, 135, 1021, 135},
                         {555, 675, 901, 675},
                         {450, 1215, 796, 1215},
                         {530, 225, 450, 571},
                         {395, 765, 315, 1111},
                         {1160, 225, 1080, 571},
                         {1025, 765, 945, 1111}};
    for (int i = 1; i <= 7; ++i) {
        auto* line = Find<SegmentLine>(face, QStringLiteral("Line%1").arg(i));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->parentWidget()->objectName(), "digitPanel");
        EXPECT_EQ(line->property("veltraType").toString(), "Line");
        EXPECT_EQ(line->property("X1").toInt(), Px(segs[i].x1)) << i;
        EXPECT_EQ(line->property("Y1").toInt(), Px(segs[i].y1)) << i;
        EXPECT_EQ(line->property("X2").toInt(), Px(segs[i].x2)) << i;
        EXPECT_EQ(line->property("Y2").toInt(), Px(segs[i].y2)) << i;
        EXPECT_EQ(line->property("BorderWidth").toInt(), 8);
        EXPECT_TRUE(line->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
}

TEST(FaceLayout, SegmentLineFollowsItsEndPointsAndWidth) {
    QWidget container;
    SegmentLine line(&container);
    line.setBorderWidth(8);
    line.setLine(40, 10, 20, 50);
    // The box covers both ends with half the stroke width around them.
    EXPECT_EQ(line.geometry(), QRect(16, 6, 28, 48));

    // The proportional layout writes the properties one at a time.
    line.setProperty("X1", 80);
    line.setProperty("Y2", 100);
    EXPECT_EQ(line.geometry(), QRect(16, 6, 68, 98));
    line.setProperty("BorderWidth", 3);
    EXPECT_EQ(line.geometry(), QRect(18, 8, 64, 94));
    // A width below one pixel is refused; the line keeps its width.
    line.setProperty("BorderWidth", 0);
    EXPECT_EQ(line.borderWidth(), 3);
    EXPECT_EQ(line.geometry(), QRect(18, 8, 64, 94));
}

// Where each element of the display state is shown, and the picture that
// means "lit" there (none for a segment: its colour says it).
struct Wire {
    const char* widget;
    const char* litTemplate;
    std::function<bool&(DisplayState&)> field;
};

std::vector<Wire> Wires() {
    std::vector<Wire> wires = {
        {"frontArrow", "frontArrowLit", [](DisplayState& s) -> bool& { return s.FrontArrow; }},
        {"sideArrow", "sideArrowLit", [](DisplayState& s) -> bool& { return s.SideArrow; }},
        {"rearArrow", "rearArrowLit", [](DisplayState& s) -> bool& { return s.RearArrow; }},
    };
    static const char* const kLines[8] = {"",      "Line1", "Line2", "Line3",
                                          "Line4", "Line5", "Line6", "Line7"};
    for (int i = 1; i <= 7; ++i) {
        wires.push_back(
            {kLines[i], nullptr, [i](DisplayState& s) -> bool& { return s.Segment[i]; }});
    }
    static const char* const kDots[8] = {"ImgSig(0)", "ImgSig(1)", "ImgSig(2)", "ImgSig(3)",
                                         "ImgSig(4)", "ImgSig(5)", "ImgSig(6)", "ImgSig(7)"};
    for (int i = 0; i < 8; ++i) {
        wires.push_back(
            {kDots[i], "dotLit", [i](DisplayState& s) -> bool& { return s.Signal[i]; }});
    }
    static const char* const kLamps[4] = {"ImgBand(0)", "ImgBand(1)", "ImgBand(2)", "ImgBand(3)"};
    for (int i = 0; i < 4; ++i) {
        wires.push_back(
            {kLamps[i], "lampLit", [i](DisplayState& s) -> bool& { return s.Band[i]; }});
    }
    return wires;
}

bool ShowsLit(const FaceWidget& face, const Wire& wire) {
    if (wire.litTemplate == nullptr) {
        return Find<SegmentLine>(face, wire.widget)->borderColor() == QColor(255, 0, 0);
    }
    return Find<FacePicture>(face, wire.widget)->picture() ==
           Find<FacePicture>(face, wire.litTemplate)->picture();
}

TEST(FaceState, EachElementLightsItsOwnWidgetAndReadsBack) {
    FaceWidget face(nullptr, kDpi);
    const std::vector<Wire> wires = Wires();
    ASSERT_EQ(wires.size(), 22u);
    for (const Wire& lit : wires) {
        DisplayState state;
        lit.field(state) = true;
        face.ShowState(state);
        EXPECT_EQ(face.shownState(), state) << lit.widget;
        for (const Wire& w : wires) {
            EXPECT_EQ(ShowsLit(face, w), &w == &lit) << "lit " << lit.widget << ", " << w.widget;
        }
    }
    // Unlit segments are the dark red of the detector.
    face.ShowState(DisplayState{});
    EXPECT_EQ(Find<SegmentLine>(face, "Line3")->borderColor(), QColor(64, 0, 0));
    EXPECT_EQ(face.shownState(), DisplayState{});
}

TEST(FaceState, MuteButtonShowsThePressedOrReleasedFace) {
    FaceWidget face(nullptr, kDpi);
    auto* button = Find<FacePicture>(face, "muteButton");
    auto* released = Find<FacePicture>(face, "muteButtonUp");
    auto* pressed = Find<FacePicture>(face, "muteButtonDown");
    EXPECT_EQ(button->picture(), released->picture());
    EXPECT_NE(released->picture(), pressed->picture());
    face.setMuteFace(true);
    EXPECT_EQ(button->picture(), pressed->picture());
    EXPECT_TRUE(face.muteFacePressed());
    face.setMuteFace(false);
    EXPECT_EQ(button->picture(), released->picture());
    EXPECT_FALSE(face.muteFacePressed());
}

// A press through the window, so that hit-testing picks the receiver as it
// would for a real click.
class FaceMouse : public ::testing::Test {
protected:
    void SetUp() override {
        face.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&face));
    }
    void press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(face.windowHandle(), button, {}, w->mapTo(&face, at));
    }
    void release(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(face.windowHandle(), button, {}, w->mapTo(&face, at));
    }
    void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
        press(w, w->rect().center(), button);
        release(w, w->rect().center(), button);
    }

    FaceWidget face{nullptr, kDpi};
    QSignalSpy down{&face, &FaceWidget::faceMouseDown};
    QSignalSpy up{&face, &FaceWidget::faceMouseUp};
    QSignalSpy muteDown{&face, &FaceWidget::muteMouseDown};
    QSignalSpy muteUp{&face, &FaceWidget::muteMouseUp};
    QSignalSpy minimise{&face, &FaceWidget::minimiseClicked};
};

TEST_F(FaceMouse, DisplayControlsForwardPressesAndMoves) {
    const QStringList controls = {"displayPanel", "meterPanel",  "bandPanel",    "arrowPanel",
                                  "digitPanel",   "frontArrow",  "rearArrow",    "sideArrow",
                                  "bandLegend",   "speakerIcon", "muteCaption",  "bannerCaption",
                                  "digitCaption", "bandNames",   "meterCaption", "ImgSig(0)",
                                  "ImgSig(7)",    "ImgBand(0)",  "ImgBand(3)"};
    for (const QString& name : controls) {
        QWidget* w = Find(face, name);
        ASSERT_NE(w, nullptr);
        // A corner of the control, away from any child it holds.
        const QPoint at =
            name.startsWith("Frame") ? QPoint(2, w->height() - 3) : w->rect().center();
        down.clear();
        press(w, at, Qt::RightButton);
        ASSERT_EQ(down.size(), 1) << name.toStdString();
        EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::RightButton);
        EXPECT_EQ(down[0][2].toPoint(), face.mapToGlobal(w->mapTo(&face, at)));
        release(w, at, Qt::RightButton);
    }

    // A press on a segment reaches the digit panel, which forwards it.
    auto* line = Find<SegmentLine>(face, "Line2");
    down.clear();
    up.clear();
    press(line->parentWidget(), QPoint(line->x1(), line->y1()));
    release(line->parentWidget(), QPoint(line->x1(), line->y1()));
    EXPECT_EQ(down.size(), 1);
    EXPECT_EQ(up.size(), 1);

    // A drag by the left button reports the held buttons on every move.
    QSignalSpy move(&face, &FaceWidget::faceMouseMove);
    QWidget* dot = Find(face, "ImgSig(3)");
    const QPoint from = dot->mapToGlobal(dot->rect().center());
    QMouseEvent drag(QEvent::MouseMove, dot->rect().center() + QPoint(5, 0), from + QPoint(5, 0),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dot, &drag);
    ASSERT_EQ(move.size(), 1);
    EXPECT_EQ(move[0][0].value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::LeftButton));
    EXPECT_EQ(move[0][2].toPoint(), from + QPoint(5, 0));
}

TEST_F(FaceMouse, MuteButtonAndMinimiseBoxDoNotMoveTheWindow) {
    auto* button = Find(face, "muteButton");
    click(button, Qt::RightButton);
    ASSERT_EQ(muteDown.size(), 1);
    EXPECT_EQ(muteDown[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    ASSERT_EQ(muteUp.size(), 1);
    EXPECT_EQ(muteUp[0][0].value<Qt::MouseButton>(), Qt::RightButton);

    face.setFrameless(true);
    click(Find(face, "minimiseGlyph"));
    QWidget* minimiseBox = Find(face, "minimiseBox");
    // Its corner, outside the glyph.
    const QPoint corner(0, minimiseBox->height() - 1);
    press(minimiseBox, corner);
    release(minimiseBox, corner);
    click(minimiseBox);
    EXPECT_EQ(minimise.size(), 3);
    // Pressed on the box but let go elsewhere: no click.
    press(minimiseBox, corner);
    release(minimiseBox, QPoint(-30, 40));
    EXPECT_EQ(minimise.size(), 3);

    EXPECT_EQ(down.size(), 0);
    EXPECT_EQ(up.size(), 0);
}

}  // namespace
}  // namespace veltra
