#include "shell/qt/face_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "shell/qt/face_caption.h"
#include "shell/qt/face_panel.h"
#include "shell/qt/face_picture.h"
#include "shell/qt/face_segment_line.h"
#include "shell/qt/twips.h"

namespace veltra {
namespace {

// Design measures, in twips.
constexpr double kClientWidth = 9015, kClientHeight = 3540;
constexpr double kFrame1Height = 3570;
constexpr double kFrame1HeightRaw = 5775, kFrame1HeightNoRaw = 5190;

// The digit's segments within Frame5: from (x, y) to (x, y), index = segment.
struct Segment {
    double x1, y1, x2, y2;
};
constexpr Segment kSegments[8] = {
    {0, 0, 0, 0},         {675, 135, 1021, 135}, {555, 675, 901, 675},   {450, 1215, 796, 1215},
    {530, 225, 450, 571}, {395, 765, 315, 1111}, {1160, 225, 1080, 571}, {1025, 765, 945, 1111},
};
constexpr int kSegmentPixels = 8;

// Signal dots: a row in Frame2; band lamps: a column in Frame3.
constexpr double kDotLeft = 90, kDotTop = 60, kDotPitch = 405, kDotSize = 315;
constexpr double kLampLeft = 1230, kLampTop = 60, kLampPitch = 495, kLampSize = 450;
// Image20 and Image12 hold the texts beside the lamps.
constexpr double kBandNamesTop = 45, kBandLegendTop = 135, kBandTextHeight = 1830;

constexpr FacePictureArt Art(FaceArt art, FaceLook look) {
    return FacePictureArt{art, look};
}

QString Indexed(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

}  // namespace

FaceWidget::FaceWidget(QWidget* parent, double logicalDpi)
    : QWidget(parent), dpi_(logicalDpi > 0 ? logicalDpi : ScreenLogicalDpi()) {
    setObjectName(QStringLiteral("FaceWidget"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(FaceWidget::sizeHint());

    frame1_ = new FacePanel(Qt::black, this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(twips(0, 0, kClientWidth, kFrame1Height));
    forward(frame1_);

    auto* banner = caption(frame1_, QStringLiteral("Image18"), twips(-270, 0, 6630, 510),
                           QStringLiteral("Veltra Scope"), Qt::AlignRight);
    banner->setItalic(true);
    banner->setInk(Qt::white);

    buildMuteStrip();
    buildDigit();
    buildMeter();
    buildBands();
    buildArrows();
    buildTemplates();

    label2_ = new QLabel(frame1_);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(twips(135, 5265, 8745, 390));
    label2_->setStyleSheet(QStringLiteral("color: rgb(214, 214, 214); background: black;"));
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSizeF(9);
    label2_->setFont(mono);

    buildMinimiseBox();

    // Outside Frame1, left of the visible area: its Left is how far the face
    // shifts when the mute strip is cut off.
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twips(-2200, 3690, 780, 240));

    for (QWidget* dead : {static_cast<QWidget*>(label1_), static_cast<QWidget*>(label2_)}) {
        dead->installEventFilter(this);
        dead->setContextMenuPolicy(Qt::PreventContextMenu);
    }
}

FaceWidget::~FaceWidget() = default;

QSize FaceWidget::sizeHint() const {
    return TwipsSize(kClientWidth, kClientHeight, dpi_);
}

QRect FaceWidget::twips(double left, double top, double width, double height) const {
    return TwipsRect(left, top, width, height, dpi_);
}

FacePicture* FaceWidget::picture(QWidget* parent, const QString& name, QRect box,
                                 FacePictureArt art) {
    auto* p = new FacePicture(art, parent);
    p->setObjectName(name);
    p->setGeometry(box);
    return p;
}

FaceCaption* FaceWidget::caption(QWidget* parent, const QString& name, QRect box,
                                 const QString& text, Qt::Alignment alignment) {
    auto* c = text.isEmpty() ? new FaceCaption(alignment, parent)
                             : new FaceCaption(text, alignment, parent);
    c->setObjectName(name);
    c->setGeometry(box);
    forward(c);
    return c;
}

void FaceWidget::buildMuteStrip() {
    image15_ = picture(frame1_, QStringLiteral("Image15"), twips(450, 1035, 1530, 1530),
                       Art(FaceArt::MuteButton, FaceLook::Bright));
    image15_->installEventFilter(this);
    image15_->setContextMenuPolicy(Qt::PreventContextMenu);
    caption(frame1_, QStringLiteral("Image17"), twips(630, 585, 1350, 330),
            QStringLiteral("Mute/Mode"), Qt::AlignLeft);
    forward(picture(frame1_, QStringLiteral("Image16"), twips(360, 570, 240, 360),
                    Art(FaceArt::Speaker, FaceLook::Bright)));
}

void FaceWidget::buildDigit() {
    auto* frame5 = new FacePanel(Qt::black, frame1_);
    frame5->setObjectName(QStringLiteral("Frame5"));
    frame5->setGeometry(twips(2250, 675, 1455, 1815));
    forward(frame5);
    for (int i = 1; i <= 7; ++i) {
        const Segment& s = kSegments[i];
        auto* line = new SegmentLine(frame5);
        line->setObjectName(QStringLiteral("Line%1").arg(i));
        line->setBorderWidth(kSegmentPixels);
        line->setLine(TwipsToPixels(s.x1, dpi_), TwipsToPixels(s.y1, dpi_),
                      TwipsToPixels(s.x2, dpi_), TwipsToPixels(s.y2, dpi_));
        line->setBorderColor(kDarkRed);
        lines_[i] = line;
    }
    caption(frame5, QStringLiteral("Image19"), twips(90, 1485, 1260, 270),
            QStringLiteral("Count/Mode"), Qt::AlignHCenter);
}

void FaceWidget::buildMeter() {
    auto* frame2 = new FacePanel(Qt::black, frame1_);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(twips(2250, 2610, 3345, 735));
    forward(frame2);
    caption(frame2, QStringLiteral("Image21"), twips(90, 450, 990, 300), QStringLiteral("Strength"),
            Qt::AlignLeft);
    for (int i = 0; i < 8; ++i) {
        imgSig_[i] = picture(frame2, Indexed("ImgSig", i),
                             twips(kDotLeft + i * kDotPitch, kDotTop, kDotSize, kDotSize),
                             Art(FaceArt::Dot, FaceLook::Dark));
        forward(imgSig_[i]);
    }
}

void FaceWidget::buildBands() {
    auto* frame3 = new FacePanel(Qt::black, frame1_);
    frame3->setObjectName(QStringLiteral("Frame3"));
    frame3->setGeometry(twips(3915, 540, 2310, 2040));
    forward(frame3);

    auto* names = caption(frame3, QStringLiteral("Image20"),
                          twips(90, kBandNamesTop, 1110, kBandTextHeight), {}, Qt::AlignRight);
    auto* legend = caption(frame3, QStringLiteral("Image12"),
                           twips(1710, kBandLegendTop, 525, kBandTextHeight), {}, Qt::AlignLeft);
    // What each lamp stands for, beside it: its name, and the band's
    // wavelength or frequency in small print.
    struct BandText {
        const char* name;
        const char* value;
        const char* unit;
    };
    constexpr BandText kBands[4] = {
        {"Laser", "904", "nm"}, {"Ka", "34.7", "GHz"}, {"K", "24.1", "GHz"}, {"X", "10.5", "GHz"}};
    for (int i = 0; i < 4; ++i) {
        const double top = kLampTop + i * kLampPitch;
        imgBand_[i] =
            picture(frame3, Indexed("ImgBand", i), twips(kLampLeft, top, kLampSize, kLampSize),
                    Art(FaceArt::Lamp, FaceLook::Dark));
        forward(imgBand_[i]);
        const double centre = top + kLampSize / 2;
        names->addLine(QString::fromLatin1(kBands[i].name),
                       (centre - kBandNamesTop) / kBandTextHeight, 0.105);
        legend->addLine(QString::fromLatin1(kBands[i].value),
                        (centre - 70 - kBandLegendTop) / kBandTextHeight, 0.06);
        legend->addLine(QString::fromLatin1(kBands[i].unit),
                        (centre + 70 - kBandLegendTop) / kBandTextHeight, 0.06);
    }
}

void FaceWidget::buildArrows() {
    auto* frame4 = new FacePanel(Qt::black, frame1_);
    frame4->setObjectName(QStringLiteral("Frame4"));
    frame4->setGeometry(twips(6390, 135, 2490, 3120));
    forward(frame4);
    image4_ = picture(frame4, QStringLiteral("Image4"), twips(135, 135, 2205, 1440),
                      Art(FaceArt::FrontArrow, FaceLook::Dark));
    image6_ = picture(frame4, QStringLiteral("Image6"), twips(135, 1665, 2190, 480),
                      Art(FaceArt::SideArrow, FaceLook::Dark));
    image5_ = picture(frame4, QStringLiteral("Image5"), twips(135, 2160, 2190, 795),
                      Art(FaceArt::RearArrow, FaceLook::Dark));
    for (QWidget* arrow : {image4_, image6_, image5_}) {
        forward(arrow);
    }
}

void FaceWidget::buildTemplates() {
    // The pictures the elements copy, kept in a row below the visible height.
    double left = 0;
    constexpr double kTop = 3705;
    auto make = [&](const QString& name, double w, double h, FacePictureArt art) {
        FacePicture* p = picture(frame1_, name, twips(left, kTop, w, h), art);
        p->hide();
        left += w + 60;
        return p;
    };
    image1_ =
        make(QStringLiteral("Image1"), 2205, 1440, Art(FaceArt::FrontArrow, FaceLook::Bright));
    image3_[0] = make(Indexed("Image3", 0), 2205, 1440, Art(FaceArt::FrontArrow, FaceLook::Dark));
    image7_ = make(QStringLiteral("Image7"), 2190, 480, Art(FaceArt::SideArrow, FaceLook::Bright));
    image3_[1] = make(Indexed("Image3", 1), 2190, 480, Art(FaceArt::SideArrow, FaceLook::Dark));
    image2_ = make(QStringLiteral("Image2"), 2190, 795, Art(FaceArt::RearArrow, FaceLook::Bright));
    image3_[2] = make(Indexed("Image3", 2), 2190, 795, Art(FaceArt::RearArrow, FaceLook::Dark));
    image8_ =
        make(QStringLiteral("Image8"), kDotSize, kDotSize, Art(FaceArt::Dot, FaceLook::Bright));
    image9_ = make(QStringLiteral("Image9"), kDotSize, kDotSize, Art(FaceArt::Dot, FaceLook::Dark));
    image10_ =
        make(QStringLiteral("Image10"), kLampSize, kLampSize, Art(FaceArt::Lamp, FaceLook::Bright));
    image11_ =
        make(QStringLiteral("Image11"), kLampSize, kLampSize, Art(FaceArt::Lamp, FaceLook::Dark));
    image13_ =
        make(QStringLiteral("Image13"), 1530, 1530, Art(FaceArt::MuteButton, FaceLook::Bright));
    image14_ =
        make(QStringLiteral("Image14"), 1530, 1530, Art(FaceArt::MuteButton, FaceLook::Dark));
    // Hidden, so they never see the mouse; they forward like their siblings
    // would if ever shown.
    forward(image1_);
    forward(image2_);
}

void FaceWidget::buildMinimiseBox() {
    frame7_ = new FacePanel(QColor(28, 28, 28), frame1_);
    frame7_->setObjectName(QStringLiteral("Frame7"));
    frame7_->setGeometry(twips(8685, 0, 330, 330));
    // The glyph is a 20 x 19 pixel picture, centred in the box.
    const QSize glyph(20, 19);
    image22_ = picture(frame7_, QStringLiteral("Image22"),
                       QRect(QPoint((frame7_->width() - glyph.width()) / 2,
                                    (frame7_->height() - glyph.height()) / 2),
                             glyph),
                       Art(FaceArt::MinimiseGlyph, FaceLook::Bright));
    for (QWidget* w : {static_cast<QWidget*>(frame7_), static_cast<QWidget*>(image22_)}) {
        w->installEventFilter(this);
        w->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    frame7_->raise();
    frame7_->hide();
}

void FaceWidget::forward(QWidget* control) {
    control->installEventFilter(this);
    forwarders_.push_back(control);
}

void FaceWidget::ShowState(const DisplayState& state) {
    // Most frames repeat the last one; the elements only ever change here.
    if (lastShown_ == state) {
        return;
    }
    lastShown_ = state;
    auto show = [](FacePicture* element, bool lit, const FacePicture* bright,
                   const FacePicture* dark) {
        element->setPicture((lit ? bright : dark)->picture());
    };
    show(image4_, state.FrontArrow, image1_, image3_[0]);
    show(image6_, state.SideArrow, image7_, image3_[1]);
    show(image5_, state.RearArrow, image2_, image3_[2]);
    for (int i = 1; i <= 7; ++i) {
        lines_[i]->setBorderColor(state.Segment[i] ? kLitRed : kDarkRed);
    }
    for (int i = 0; i < 8; ++i) {
        show(imgSig_[i], state.Signal[i], image8_, image9_);
    }
    for (int i = 0; i < 4; ++i) {
        show(imgBand_[i], state.Band[i], image10_, image11_);
    }
}

DisplayState FaceWidget::shownState() const {
    auto lit = [](const FacePicture* element, const FacePicture* bright) {
        return element->picture() == bright->picture();
    };
    DisplayState s;
    s.FrontArrow = lit(image4_, image1_);
    s.SideArrow = lit(image6_, image7_);
    s.RearArrow = lit(image5_, image2_);
    for (int i = 1; i <= 7; ++i) {
        s.Segment[i] = lines_[i]->borderColor() == kLitRed;
    }
    for (int i = 0; i < 8; ++i) {
        s.Signal[i] = lit(imgSig_[i], image8_);
    }
    for (int i = 0; i < 4; ++i) {
        s.Band[i] = lit(imgBand_[i], image10_);
    }
    return s;
}

void FaceWidget::setMuteFace(bool pressed) {
    image15_->setPicture((pressed ? image14_ : image13_)->picture());
}

bool FaceWidget::muteFacePressed() const {
    return image15_->picture() == image14_->picture();
}

void FaceWidget::setRawText(const QString& text) {
    label2_->setText(text);
}

void FaceWidget::setRawVisible(bool visible) {
    frame1_->resize(frame1_->width(),
                    TwipsToPixels(visible ? kFrame1HeightRaw : kFrame1HeightNoRaw, dpi_));
}

void FaceWidget::setFrameless(bool frameless) {
    frame7_->setVisible(frameless);
    if (frameless) {
        frame7_->raise();
    }
}

bool FaceWidget::forwardMouse(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            emit faceMouseDown(mouse->button(), mouse->modifiers(), global);
            return true;
        case QEvent::MouseMove:
            emit faceMouseMove(mouse->buttons(), mouse->modifiers(), global);
            return true;
        case QEvent::MouseButtonRelease:
            emit faceMouseUp(mouse->button(), mouse->modifiers(), global);
            return true;
        default:
            return false;
    }
}

bool FaceWidget::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return QWidget::eventFilter(watched, event);
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == image15_) {
        // The mute button answers any button and does not move the window.
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            emit muteMouseDown(mouse->button());
        } else if (type == QEvent::MouseButtonRelease) {
            emit muteMouseUp(mouse->button());
        }
        return true;
    }
    if (watched == frame7_ || watched == image22_) {
        // A click: the left button let go over the box it was pressed on.
        auto* box = static_cast<QWidget*>(watched);
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
            box->rect().contains(mouse->position().toPoint())) {
            emit minimiseClicked();
        }
        return true;
    }
    if (std::find(forwarders_.begin(), forwarders_.end(), watched) != forwarders_.end()) {
        return forwardMouse(event);
    }
    // Labels keep their presses to themselves, as the panel does not own them.
    return watched == label1_ || watched == label2_;
}

void FaceWidget::mousePressEvent(QMouseEvent* event) {
    forwardMouse(event);
}
void FaceWidget::mouseMoveEvent(QMouseEvent* event) {
    forwardMouse(event);
}
void FaceWidget::mouseReleaseEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void FaceWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
}

}  // namespace veltra
