// What a frame costs on screen: only elements whose look changed are
// repainted, and a look painted again from kept pixels is exactly what
// drawing it afresh gives, also after the element was resized.

#include <gtest/gtest.h>

#include <QBackingStore>
#include <QImage>
#include <QWidget>
#include <map>

#include "shell/qt/face_panel.h"
#include "shell/qt/face_picture.h"
#include "shell/qt/face_widget.h"
#include "support/qt_wait.h"

namespace veltra {
namespace {

// Counts the paint events of every widget below the face.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& root) {
        for (QWidget* w : root.findChildren<QWidget*>()) {
            w->installEventFilter(this);
        }
    }
    std::map<QString, int> painted;
    int total() const {
        int n = 0;
        for (const auto& [name, count] : painted) {
            n += count;
        }
        return n;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++painted[watched->objectName()];
        }
        return false;
    }
};

// Runs the event loop until pending repaints have reached the window.
void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

TEST(FaceRepaint, AFrameThatChangesNothingRepaintsNothingAndAChangeOnlyItsElement) {
    FaceWidget face(nullptr, 96);
    face.show();
    ASSERT_TRUE(test::WaitUntil([&] { return face.windowHandle()->isExposed(); }));
    DisplayState s;
    s.Signal[0] = true;
    face.ShowState(s);
    Settle();

    PaintCounter counter(face);
    face.ShowState(s);
    face.ShowState(s);
    Settle();
    EXPECT_EQ(counter.total(), 0) << "an unchanged frame repainted something";

    s.Signal[1] = true;
    face.ShowState(s);
    Settle();
    EXPECT_EQ(counter.painted[QStringLiteral("ImgSig(1)")], 1);
    for (const auto& [name, count] : counter.painted) {
        // The dot is opaque: nothing beneath or beside it needs drawing.
        EXPECT_TRUE(name == QStringLiteral("ImgSig(1)") || count == 0) << name.toStdString();
    }
}

// A picture inside a window at an odd place, as on the face.
struct Stage {
    QWidget window;
    FacePicture* picture;
    explicit Stage(QRect box) {
        window.resize(200, 120);
        picture = new FacePicture({FaceArt::Lamp, FaceLook::Bright}, &window);
        picture->setGeometry(box);
        window.show();
    }
    // What the window's image holds where the picture is.
    QImage shown() {
        window.repaint();
        const auto* image = static_cast<const QImage*>(window.backingStore()->paintDevice());
        return image->copy(picture->geometry());
    }
};

TEST(FaceRepaint, KeptPixelsMatchAFreshDrawingAcrossLooksAndSizes) {
    Stage stage(QRect(7, 5, 31, 31));
    ASSERT_TRUE(test::WaitUntil([&] { return stage.window.windowHandle()->isExposed(); }));
    const QImage litFresh = stage.shown();
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Dark});
    const QImage darkFresh = stage.shown();
    ASSERT_NE(litFresh, darkFresh);
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Bright});
    EXPECT_EQ(stage.shown(), litFresh) << "the kept lit look differs from drawing it";
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Dark});
    EXPECT_EQ(stage.shown(), darkFresh);

    // Resized, the kept pixels no longer fit; the picture is drawn for its
    // new size, like a picture that was never drawn before.
    stage.picture->setGeometry(QRect(9, 6, 45, 45));
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Bright});
    const QImage bigger = stage.shown();
    Stage fresh(QRect(9, 6, 45, 45));
    ASSERT_TRUE(test::WaitUntil([&] { return fresh.window.windowHandle()->isExposed(); }));
    EXPECT_EQ(bigger, fresh.shown());
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Dark});
    stage.shown();
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Bright});
    EXPECT_EQ(stage.shown(), fresh.shown());
}

// Kept pixels go only where the paint system asked for them: repainting
// part of a picture must leave a widget lying over the rest untouched.
TEST(FaceRepaint, KeptPixelsStayWithinTheRegionBeingRepainted) {
    Stage stage(QRect(7, 5, 31, 31));
    ASSERT_TRUE(test::WaitUntil([&] { return stage.window.windowHandle()->isExposed(); }));
    stage.shown();
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Dark});
    stage.shown();
    stage.picture->setPicture({FaceArt::Lamp, FaceLook::Bright});
    const QImage lit = stage.shown();

    // Both looks are kept now. A cover comes over the picture's right part.
    auto* cover = new FacePanel(Qt::green, &stage.window);
    cover->setGeometry(QRect(25, 0, 40, 60));
    cover->show();
    const auto* image = static_cast<const QImage*>(stage.window.backingStore()->paintDevice());
    const QColor green(Qt::green);
    ASSERT_TRUE(test::WaitUntil([&] { return QColor(image->pixel(30, 20)) == green; }));

    PaintCounter counter(stage.window);
    stage.picture->update(QRect(0, 0, 10, 31));
    ASSERT_TRUE(test::WaitUntil([&] { return counter.total() > 0; }));
    for (int y = 5; y < 36; ++y) {
        for (int x = 25; x < 38; ++x) {
            ASSERT_EQ(QColor(image->pixel(x, y)), green) << "at " << x << "," << y;
        }
    }
    EXPECT_EQ(image->copy(QRect(7, 5, 18, 31)), lit.copy(0, 0, 18, 31));
}

}  // namespace
}  // namespace veltra
