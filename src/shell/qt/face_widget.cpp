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
constexpr double kDisplayPanelHeight = 3570;
constexpr double kDisplayPanelHeightRaw = 5775, kDisplayPanelHeightNoRaw = 5190;

// The digit's segments within digitPanel: from (x, y) to (x, y), index = segment.
struct Segment {
    double x1, y1, x2, y2;
};
constexpr Segment kSegments[8] = {
    {0, 0, 0, 0},         {675, 135, 1021, 135}, {555, 675, 901, 675},   {450, 1215, 796, 1215},
    {530, 225, 450, 571}, {395, 765, 315, 1111}, {1160, 225, 1080, 571}, {1025, 765, 945, 1111},
};
constexpr int kSegmentPixels = 8;

// Signal dots: a row in meterPanel; band lamps: a column in bandPanel.
constexpr double kDotLeft = 90, kDotTop = 60, kDotPitch = 405, kDotSize = 315;
constexpr double kLampLeft = 1230, kLampTop = 60, kLampPitch = 495, kLampSize = 450;
// bandNames and bandLegend hold the texts beside the lamps.
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

    displayPanel_ = new FacePanel(Qt::black, this);
    displayPanel_->setObjectName(QStringLiteral("displayPanel"));
    displayPanel_->setGeometry(twips(0, 0, kClientWidth, kDisplayPanelHeight));
    forward(displayPanel_);

    auto* banner =
        caption(displayPanel_, QStringLiteral("bannerCaption"), twips(-270, 0, 6630, 510),
                QStringLiteral("Veltra Scope"), Qt::AlignRight);
    banner->setItalic(true);
    banner->setInk(Qt::white);

    buildMuteStrip();
    buildDigit();
    buildMeter();
    buildBands();
    buildArrows();
    buildTemplates();

    rawMessageLabel_ = new QLabel(displayPanel_);
    rawMessageLabel_->setObjectName(QStringLiteral("rawMessageLabel"));
    rawMessageLabel_->setGeometry(twips(135, 5265, 8745, 390));
    rawMessageLabel_->setStyleSheet(
        QStringLiteral("color: rgb(214, 214, 214); background: black;"));
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSizeF(9);
    rawMessageLabel_->setFont(mono);

    buildMinimiseBox();

    // Outside displayPanel, left of the visible area: its Left is how far the face
    // shifts when the mute strip is cut off.
    muteStripOffset_ = new QLabel(this);
    muteStripOffset_->setObjectName(QStringLiteral("muteStripOffset"));
    muteStripOffset_->setGeometry(twips(-2200, 3690, 780, 240));

    for (QWidget* dead :
         {static_cast<QWidget*>(muteStripOffset_), static_cast<QWidget*>(rawMessageLabel_)}) {
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
    muteButton_ = picture(displayPanel_, QStringLiteral("muteButton"), twips(450, 1035, 1530, 1530),
                          Art(FaceArt::MuteButton, FaceLook::Bright));
    muteButton_->installEventFilter(this);
    muteButton_->setContextMenuPolicy(Qt::PreventContextMenu);
    caption(displayPanel_, QStringLiteral("muteCaption"), twips(630, 585, 1350, 330),
            QStringLiteral("Mute/Mode"), Qt::AlignLeft);
    forward(picture(displayPanel_, QStringLiteral("speakerIcon"), twips(360, 570, 240, 360),
                    Art(FaceArt::Speaker, FaceLook::Bright)));
}

void FaceWidget::buildDigit() {
    auto* digitPanel = new FacePanel(Qt::black, displayPanel_);
    digitPanel->setObjectName(QStringLiteral("digitPanel"));
    digitPanel->setGeometry(twips(2250, 675, 1455, 1815));
    forward(digitPanel);
    for (int i = 1; i <= 7; ++i) {
        const Segment& s = kSegments[i];
        auto* line = new SegmentLine(digitPanel);
        line->setObjectName(QStringLiteral("Line%1").arg(i));
        line->setBorderWidth(kSegmentPixels);
        line->setLine(TwipsToPixels(s.x1, dpi_), TwipsToPixels(s.y1, dpi_),
                      TwipsToPixels(s.x2, dpi_), TwipsToPixels(s.y2, dpi_));
        line->setBorderColor(kDarkRed);
        lines_[i] = line;
    }
    caption(digitPanel, QStringLiteral("digitCaption"), twips(90, 1485, 1260, 270),
            QStringLiteral("Count/Mode"), Qt::AlignHCenter);
}

void FaceWidget::buildMeter() {
    auto* meterPanel = new FacePanel(Qt::black, displayPanel_);
    meterPanel->setObjectName(QStringLiteral("meterPanel"));
    meterPanel->setGeometry(twips(2250, 2610, 3345, 735));
    forward(meterPanel);
    caption(meterPanel, QStringLiteral("meterCaption"), twips(90, 450, 990, 300),
            QStringLiteral("Strength"), Qt::AlignLeft);
    for (int i = 0; i < 8; ++i) {
        imgSig_[i] = picture(meterPanel, Indexed("ImgSig", i),
                             twips(kDotLeft + i * kDotPitch, kDotTop, kDotSize, kDotSize),
                             Art(FaceArt::Dot, FaceLook::Dark));
        forward(imgSig_[i]);
    }
}

void FaceWidget::buildBands() {
    auto* bandPanel = new FacePanel(Qt::black, displayPanel_);
    bandPanel->setObjectName(QStringLiteral("bandPanel"));
    bandPanel->setGeometry(twips(3915, 540, 2310, 2040));
    forward(bandPanel);

    auto* names = caption(bandPanel, QStringLiteral("bandNames"),
                          twips(90, kBandNamesTop, 1110, kBandTextHeight), {}, Qt::AlignRight);
    auto* legend = caption(bandPanel, QStringLiteral("bandLegend"),
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
            picture(bandPanel, Indexed("ImgBand", i), twips(kLampLeft, top, kLampSize, kLampSize),
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
    auto* arrowPanel = new FacePanel(Qt::black, displayPanel_);
    arrowPanel->setObjectName(QStringLiteral("arrowPanel"));
    arrowPanel->setGeometry(twips(6390, 135, 2490, 3120));
    forward(arrowPanel);
    frontArrow_ = picture(arrowPanel, QStringLiteral("frontArrow"), twips(135, 135, 2205, 1440),
                          Art(FaceArt::FrontArrow, FaceLook::Dark));
    sideArrow_ = picture(arrowPanel, QStringLiteral("sideArrow"), twips(135, 1665, 2190, 480),
                         Art(FaceArt::SideArrow, FaceLook::Dark));
    rearArrow_ = picture(arrowPanel, QStringLiteral("rearArrow"), twips(135, 2160, 2190, 795),
                         Art(FaceArt::RearArrow, FaceLook::Dark));
    for (QWidget* arrow : {frontArrow_, sideArrow_, rearArrow_}) {
        forward(arrow);
    }
}

void FaceWidget::buildTemplates() {
    // The pictures the elements copy, kept in a row below the visible height.
    double left = 0;
    constexpr double kTop = 3705;
    auto make = [&](const QString& name, double w, double h, FacePictureArt art) {
        FacePicture* p = picture(displayPanel_, name, twips(left, kTop, w, h), art);
        p->hide();
        left += w + 60;
        return p;
    };
    frontArrowLit_ = make(QStringLiteral("frontArrowLit"), 2205, 1440,
                          Art(FaceArt::FrontArrow, FaceLook::Bright));
    arrowUnlit_[0] =
        make(Indexed("arrowUnlit", 0), 2205, 1440, Art(FaceArt::FrontArrow, FaceLook::Dark));
    sideArrowLit_ =
        make(QStringLiteral("sideArrowLit"), 2190, 480, Art(FaceArt::SideArrow, FaceLook::Bright));
    arrowUnlit_[1] =
        make(Indexed("arrowUnlit", 1), 2190, 480, Art(FaceArt::SideArrow, FaceLook::Dark));
    rearArrowLit_ =
        make(QStringLiteral("rearArrowLit"), 2190, 795, Art(FaceArt::RearArrow, FaceLook::Bright));
    arrowUnlit_[2] =
        make(Indexed("arrowUnlit", 2), 2190, 795, Art(FaceArt::RearArrow, FaceLook::Dark));
    dotLit_ =
        make(QStringLiteral("dotLit"), kDotSize, kDotSize, Art(FaceArt::Dot, FaceLook::Bright));
    dotUnlit_ =
        make(QStringLiteral("dotUnlit"), kDotSize, kDotSize, Art(FaceArt::Dot, FaceLook::Dark));
    lampLit_ =
        make(QStringLiteral("lampLit"), kLampSize, kLampSize, Art(FaceArt::Lamp, FaceLook::Bright));
    lampUnlit_ =
        make(QStringLiteral("lampUnlit"), kLampSize, kLampSize, Art(FaceArt::Lamp, FaceLook::Dark));
    muteButtonUp_ = make(QStringLiteral("muteButtonUp"), 1530, 1530,
                         Art(FaceArt::MuteButton, FaceLook::Bright));
    muteButtonDown_ = make(QStringLiteral("muteButtonDown"), 1530, 1530,
                           Art(FaceArt::MuteButton, FaceLook::Dark));
    // Hidden, so they never see the mouse; they forward like their siblings
    // would if ever shown.
    forward(frontArrowLit_);
    forward(rearArrowLit_);
}

void FaceWidget::buildMinimiseBox() {
    minimiseBox_ = new FacePanel(QColor(28, 28, 28), displayPanel_);
    minimiseBox_->setObjectName(QStringLiteral("minimiseBox"));
    minimiseBox_->setGeometry(twips(8685, 0, 330, 330));
    // The glyph is a 20 x 19 pixel picture, centred in the box.
    const QSize glyph(20, 19);
    minimiseGlyph_ = picture(minimiseBox_, QStringLiteral("minimiseGlyph"),
                             QRect(QPoint((minimiseBox_->width() - glyph.width()) / 2,
                                          (minimiseBox_->height() - glyph.height()) / 2),
                                   glyph),
                             Art(FaceArt::MinimiseGlyph, FaceLook::Bright));
    for (QWidget* w :
         {static_cast<QWidget*>(minimiseBox_), static_cast<QWidget*>(minimiseGlyph_)}) {
        w->installEventFilter(this);
        w->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    minimiseBox_->raise();
    minimiseBox_->hide();
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
    show(frontArrow_, state.FrontArrow, frontArrowLit_, arrowUnlit_[0]);
    show(sideArrow_, state.SideArrow, sideArrowLit_, arrowUnlit_[1]);
    show(rearArrow_, state.RearArrow, rearArrowLit_, arrowUnlit_[2]);
    for (int i = 1; i <= 7; ++i) {
        lines_[i]->setBorderColor(state.Segment[i] ? kLitRed : kDarkRed);
    }
    for (int i = 0; i < 8; ++i) {
        show(imgSig_[i], state.Signal[i], dotLit_, dotUnlit_);
    }
    for (int i = 0; i < 4; ++i) {
        show(imgBand_[i], state.Band[i], lampLit_, lampUnlit_);
    }
}

DisplayState FaceWidget::shownState() const {
    auto lit = [](const FacePicture* element, const FacePicture* bright) {
        return element->picture() == bright->picture();
    };
    DisplayState s;
    s.FrontArrow = lit(frontArrow_, frontArrowLit_);
    s.SideArrow = lit(sideArrow_, sideArrowLit_);
    s.RearArrow = lit(rearArrow_, rearArrowLit_);
    for (int i = 1; i <= 7; ++i) {
        s.Segment[i] = lines_[i]->borderColor() == kLitRed;
    }
    for (int i = 0; i < 8; ++i) {
        s.Signal[i] = lit(imgSig_[i], dotLit_);
    }
    for (int i = 0; i < 4; ++i) {
        s.Band[i] = lit(imgBand_[i], lampLit_);
    }
    return s;
}

void FaceWidget::setMuteFace(bool pressed) {
    muteButton_->setPicture((pressed ? muteButtonDown_ : muteButtonUp_)->picture());
}

bool FaceWidget::muteFacePressed() const {
    return muteButton_->picture() == muteButtonDown_->picture();
}

void FaceWidget::setRawText(const QString& text) {
    rawMessageLabel_->setText(text);
}

void FaceWidget::setRawVisible(bool visible) {
    displayPanel_->resize(
        displayPanel_->width(),
        TwipsToPixels(visible ? kDisplayPanelHeightRaw : kDisplayPanelHeightNoRaw, dpi_));
}

void FaceWidget::setFrameless(bool frameless) {
    minimiseBox_->setVisible(frameless);
    if (frameless) {
        minimiseBox_->raise();
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
    if (watched == muteButton_) {
        // The mute button answers any button and does not move the window.
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            emit muteMouseDown(mouse->button());
        } else if (type == QEvent::MouseButtonRelease) {
            emit muteMouseUp(mouse->button());
        }
        return true;
    }
    if (watched == minimiseBox_ || watched == minimiseGlyph_) {
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
    return watched == muteStripOffset_ || watched == rawMessageLabel_;
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
