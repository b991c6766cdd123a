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
        {"Frame1", "FaceWidget", PxRect(0, 0, 9015, 3570)},
        {"Label1", "FaceWidget", PxRect(-2200, 3690, 780, 240)},
        {"Frame7", "Frame1", PxRect(8685, 0, 330, 330)},
        {"Image15", "Frame1", PxRect(450, 1035, 1530, 1530)},
        {"Image17", "Frame1", PxRect(630, 585, 1350, 330)},
        {"Image16", "Frame1", PxRect(360, 570, 240, 360)},
        {"Image18", "Frame1", PxRect(-270, 0, 6630, 510)},
        {"Frame5", "Frame1", PxRect(2250, 675, 1455, 1815)},
        {"Image19", "Frame5", PxRect(90, 1485, 1260, 270)},
        {"Frame2", "Frame1", PxRect(2250, 2610, 3345, 735)},
        {"Image21", "Frame2", PxRect(90, 450, 990, 300)},
        {"Frame3", "Frame1", PxRect(3915, 540, 2310, 2040)},
        {"Image20", "Frame3", PxRect(90, 45, 1110, 1830)},
        {"Image12", "Frame3", PxRect(1710, 135, 525, 1830)},
        {"Frame4", "Frame1", PxRect(6390, 135, 2490, 3120)},
        {"Image4", "Frame4", PxRect(135, 135, 2205, 1440)},
        {"Image6", "Frame4", PxRect(135, 1665, 2190, 480)},
        {"Image5", "Frame4", PxRect(135, 2160, 2190, 795)},
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
        EXPECT_EQ(dot->parentWidget()->objectName(), "Frame2");
        EXPECT_EQ(dot->size(), QSize(Px(315), Px(315)));
        EXPECT_EQ(dot->x() - Find(face, "ImgSig(0)")->x(), Px(405 * i));
        EXPECT_EQ(dot->y(), Find(face, "ImgSig(0)")->y());
    }
    for (int i = 0; i < 4; ++i) {
        QWidget* lamp = Find(face, QStringLiteral("ImgBand(%1)").arg(i));
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->parentWidget()->objectName(), "Frame3");
        EXPECT_EQ(lamp->size(), QSize(Px(450), Px(450)));
        EXPECT_EQ(lamp->y() - Find(face, "ImgBand(0)")->y(), Px(495 * i));
        EXPECT_EQ(lamp->x(), Find(face, "ImgBand(0)")->x());
    }
    EXPECT_EQ(Find<FaceCaption>(face, "Image20")->lines(), QStringList({"Laser", "Ka", "K", "X"}));

    // The minimise box: hidden until the window goes frameless.
    QWidget* frame7 = Find(face, "Frame7");
    QWidget* glyph = Find(face, "Image22");
    EXPECT_EQ(glyph->parentWidget(), frame7);
    EXPECT_EQ(glyph->size(), QSize(20, 19));
    EXPECT_TRUE(frame7->isHidden());
    face.setFrameless(true);
    EXPECT_FALSE(frame7->isHidden());
    face.setFrameless(false);
    EXPECT_TRUE(frame7->isHidden());

    // Templates and the raw-message label lie below the visible height.
    const QStringList below = {"Image1",    "Image2",  "Image7", "Image3(0)", "Image3(1)",
                               "Image3(2)", "Image8",  "Image9", "Image10",   "Image11",
                               "Image13",   "Image14", "Label2"};
    for (const QString& name : below) {
        QWidget* w = Find(face, name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), "Frame1") << name.toStdString();
        EXPECT_GE(w->y(), Px(3570)) << name.toStdString();
        if (name != "Label2") {
            EXPECT_TRUE(w->isHidden()) << name.toStdString();
        }
    }
    QWidget* frame1 = Find(face, "Frame1");
    QWidget* label2 = Find(face, "Label2");
    face.setRawVisible(true);
    EXPECT_EQ(frame1->height(), Px(5775));
    EXPECT_LE(label2->geometry().bottom(), frame1->height());
    face.setRawVisible(false);
    EXPECT_EQ(frame1->height(), Px(5190));
    EXPECT_GE(label2->y(), frame1->height());
    EXPECT_EQ(frame1->width(), Px(9015));
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
        EXPECT_EQ(line->parentWidget()->objectName(), "Frame5");
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
        {"Image4", "Image1", [](DisplayState& s) -> bool& { return s.FrontArrow; }},
        {"Image6", "Image7", [](DisplayState& s) -> bool& { return s.SideArrow; }},
        {"Image5", "Image2", [](DisplayState& s) -> bool& { return s.RearArrow; }},
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
            {kDots[i], "Image8", [i](DisplayState& s) -> bool& { return s.Signal[i]; }});
    }
    static const char* const kLamps[4] = {"ImgBand(0)", "ImgBand(1)", "ImgBand(2)", "ImgBand(3)"};
    for (int i = 0; i < 4; ++i) {
        wires.push_back(
            {kLamps[i], "Image10", [i](DisplayState& s) -> bool& { return s.Band[i]; }});
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
    auto* button = Find<FacePicture>(face, "Image15");
    auto* released = Find<FacePicture>(face, "Image13");
    auto* pressed = Find<FacePicture>(face, "Image14");
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
    const QStringList controls = {"Frame1",    "Frame2",    "Frame3",     "Frame4",    "Frame5",
                                  "Image4",    "Image5",    "Image6",     "Image12",   "Image16",
                                  "Image17",   "Image18",   "Image19",    "Image20",   "Image21",
                                  "ImgSig(0)", "ImgSig(7)", "ImgBand(0)", "ImgBand(3)"};
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
    auto* button = Find(face, "Image15");
    click(button, Qt::RightButton);
    ASSERT_EQ(muteDown.size(), 1);
    EXPECT_EQ(muteDown[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    ASSERT_EQ(muteUp.size(), 1);
    EXPECT_EQ(muteUp[0][0].value<Qt::MouseButton>(), Qt::RightButton);

    face.setFrameless(true);
    click(Find(face, "Image22"));
    QWidget* frame7 = Find(face, "Frame7");
    // Its corner, outside the glyph.
    const QPoint corner(0, frame7->height() - 1);
    press(frame7, corner);
    release(frame7, corner);
    click(frame7);
    EXPECT_EQ(minimise.size(), 3);
    // Pressed on the box but let go elsewhere: no click.
    press(frame7, corner);
    release(frame7, QPoint(-30, 40));
    EXPECT_EQ(minimise.size(), 3);

    EXPECT_EQ(down.size(), 0);
    EXPECT_EQ(up.size(), 0);
}

}  // namespace
}  // namespace veltra
