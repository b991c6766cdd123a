#pragma once
// The main window's face: the replica of the detector's display, the mute
// button and the minimise box for the frameless mode. Every part is placed
// absolutely from the design measures (twips) and draws itself to fill its
// box, so the proportional layout can move and resize each one freely.

#include <QLabel>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "link/display_decoder.h"
#include "link/display_state.h"
#include "shell/qt/face_art.h"

namespace veltra {

class FaceCaption;
class FacePanel;
class FacePicture;
class SegmentLine;

class FaceWidget : public QWidget, public DisplayView {
    Q_OBJECT
public:
    // `logicalDpi` 0 takes the screen's logical DPI.
    explicit FaceWidget(QWidget* parent = nullptr, double logicalDpi = 0);
    ~FaceWidget() override;

    // Lights exactly the elements that are lit in `state`.
    void ShowState(const DisplayState& state) override;
    // What the elements show, read back from the widgets themselves.
    DisplayState shownState() const;

    // The mute button's pressed (darker) or released face.
    void setMuteFace(bool pressed);
    bool muteFacePressed() const;
    // The raw-message label below the visible display.
    void setRawText(const QString& text);
    // displayPanel grows to uncover the raw-message label, or shrinks back.
    void setRawVisible(bool visible);
    // The minimise box is shown only while the window has no frame.
    void setFrameless(bool frameless);

    double logicalDpi() const { return dpi_; }
    QSize sizeHint() const override;

signals:
    void faceMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos);
    void faceMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint globalPos);
    void faceMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos);
    void muteMouseDown(Qt::MouseButton button);
    void muteMouseUp(Qt::MouseButton button);
    void minimiseClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect twips(double left, double top, double width, double height) const;
    FacePicture* picture(QWidget* parent, const QString& name, QRect box, FacePictureArt art);
    FaceCaption* caption(QWidget* parent, const QString& name, QRect box, const QString& text,
                         Qt::Alignment alignment);
    void buildMuteStrip();
    void buildDigit();
    void buildMeter();
    void buildBands();
    void buildArrows();
    void buildTemplates();
    void buildMinimiseBox();
    void forward(QWidget* control);
    bool forwardMouse(QEvent* event);

    double dpi_;
    FacePanel* displayPanel_ = nullptr;
    QLabel* muteStripOffset_ = nullptr;
    QLabel* rawMessageLabel_ = nullptr;
    FacePanel* minimiseBox_ = nullptr;
    FacePicture* minimiseGlyph_ = nullptr;
    FacePicture* muteButton_ = nullptr;

    // Display elements and the hidden templates whose pictures they copy.
    FacePicture* frontArrow_ = nullptr;
    FacePicture* sideArrow_ = nullptr;
    FacePicture* rearArrow_ = nullptr;
    std::array<SegmentLine*, 8> lines_{};  // Line1..Line7; index 0 unused
    std::array<FacePicture*, 8> imgSig_{};
    std::array<FacePicture*, 4> imgBand_{};
    FacePicture* frontArrowLit_ = nullptr;
    FacePicture* rearArrowLit_ = nullptr;
    FacePicture* sideArrowLit_ = nullptr;
    std::array<FacePicture*, 3> arrowUnlit_{};  // front, side, rear
    FacePicture* dotLit_ = nullptr;
    FacePicture* dotUnlit_ = nullptr;
    FacePicture* lampLit_ = nullptr;
    FacePicture* lampUnlit_ = nullptr;
    FacePicture* muteButtonUp_ = nullptr;
    FacePicture* muteButtonDown_ = nullptr;

    std::vector<QWidget*> forwarders_;
    // The state the elements were last set to; none yet at first.
    std::optional<DisplayState> lastShown_;
};

}  // namespace veltra
