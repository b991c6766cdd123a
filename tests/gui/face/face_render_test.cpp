// What the face looks like: lit elements glow bright red, unlit ones are dark
// red, and the pressed mute button is darker than the released one. With
// VELTRA_FACE_SHOTS set to a folder, the pictures for the documentation are
// written there as well:
//   VELTRA_FACE_SHOTS=docs QT_SCALE_FACTOR=2 gui_face --gtest_filter='FaceLook.*'

#include <gtest/gtest.h>

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "link/frame_encoder.h"
#include "shell/qt/face_icon.h"
#include "shell/qt/face_segment_line.h"
#include "shell/qt/face_widget.h"

namespace veltra {
namespace {

DisplayState AllLit() {
    DisplayState s;
    s.FrontArrow = s.SideArrow = s.RearArrow = true;
    s.Segment.fill(true);
    s.Segment[0] = false;
    s.Signal.fill(true);
    s.Band.fill(true);
    return s;
}

// A Ka alert from the front at five dots, the digit counting 3.
DisplayState KaAlert() {
    DisplayState s;
    s.FrontArrow = true;
    s.Segment = *SegmentsFor('3');
    for (int i = 0; i < 5; ++i) {
        s.Signal[i] = true;
    }
    s.Band[kKa] = true;
    return s;
}

void SaveShot(const QImage& image, const char* file) {
    const QByteArray dir = qgetenv("VELTRA_FACE_SHOTS");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(image.save(QDir(QString::fromLocal8Bit(dir)).filePath(file)));
    }
}

// The colour at the middle of an element, as drawn on the whole face.
QColor CentreOf(const FaceWidget& face, const QImage& shot, const char* name) {
    const QWidget* w = face.findChild<QWidget*>(name);
    EXPECT_NE(w, nullptr) << name;
    QPoint at = w->mapTo(&face, w->rect().center());
    if (auto* line = qobject_cast<const SegmentLine*>(w)) {
        // The middle of the stroke, in its container.
        at = line->parentWidget()->mapTo(
            &face, QPoint((line->x1() + line->x2()) / 2, (line->y1() + line->y2()) / 2));
    }
    // The picture may be grabbed at a device pixel ratio above 1.
    return shot.pixelColor((QPointF(at) * shot.devicePixelRatio()).toPoint());
}

const char* const kElements[] = {"frontArrow", "sideArrow", "rearArrow", "Line1",      "Line2",
                                 "Line3",      "Line4",     "Line5",     "Line6",      "Line7",
                                 "ImgSig(0)",  "ImgSig(1)", "ImgSig(2)", "ImgSig(3)",  "ImgSig(4)",
                                 "ImgSig(5)",  "ImgSig(6)", "ImgSig(7)", "ImgBand(0)", "ImgBand(1)",
                                 "ImgBand(2)", "ImgBand(3)"};

TEST(FaceLook, LitElementsAreBrightRedAndUnlitOnesDarkRed) {
    FaceWidget face(nullptr, 96);

    face.ShowState(AllLit());
    const QImage lit = face.grab().toImage();
    SaveShot(lit, "face-lit.png");
    for (const char* name : kElements) {
        const QColor c = CentreOf(face, lit, name);
        EXPECT_GE(c.red(), 230) << name;
        EXPECT_LE(c.green(), 90) << name;
        EXPECT_LE(c.blue(), 90) << name;
    }

    face.ShowState(DisplayState{});
    const QImage unlit = face.grab().toImage();
    SaveShot(unlit, "face-unlit.png");
    for (const char* name : kElements) {
        const QColor c = CentreOf(face, unlit, name);
        EXPECT_GE(c.red(), 40) << name;
        EXPECT_LE(c.red(), 110) << name;
        EXPECT_LE(c.green(), 40) << name;
        EXPECT_LE(c.blue(), 40) << name;
    }

    face.ShowState(KaAlert());
    SaveShot(face.grab().toImage(), "face-alert.png");
}

double MeanLightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += image.pixelColor(x, y).lightnessF();
        }
    }
    return sum / (image.width() * image.height());
}

TEST(FaceLook, PressedMuteButtonIsDarker) {
    FaceWidget face(nullptr, 96);
    QWidget* button = face.findChild<QWidget*>("muteButton");
    ASSERT_NE(button, nullptr);
    const double released = MeanLightness(button->grab().toImage());
    face.setMuteFace(true);
    const double pressed = MeanLightness(button->grab().toImage());
    EXPECT_GT(released, 0.2);
    EXPECT_LT(pressed, released - 0.05);
}

TEST(FaceLook, ProgramIconRendersFromItsResource) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(QSize(64, 64), 1.0).toImage();
    ASSERT_EQ(image.size(), QSize(64, 64));
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.alpha() > 200;
        }
    }
    EXPECT_GT(red, 50);  // the lamp and the arrow
}

}  // namespace
}  // namespace veltra
