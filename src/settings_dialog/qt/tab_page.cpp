#include "settings_dialog/qt/tab_page.h"

#include <algorithm>

#include "shell/qt/twips.h"

namespace veltra::settings_dialog {

QRect TwipsToPixels(const QRect& twips, const QPaintDevice& device, double scale) {
    const int dx = device.logicalDpiX();
    const int dy = device.logicalDpiY();
    return QRect(veltra::TwipsToPixels(twips.x() * scale, dx),
                 veltra::TwipsToPixels(twips.y() * scale, dy),
                 veltra::TwipsToPixels(twips.width() * scale, dx),
                 veltra::TwipsToPixels(twips.height() * scale, dy));
}

TabPage::TabPage(QWidget* tabControl) : tabControl_(tabControl) {}

void TabPage::place(QWidget* child, const QRect& twips, bool mustFit) {
    child->setParent(this);
    placed_.push_back({child, twips, mustFit});
    relayout();
}

double TabPage::fittingScale() const {
    double scale = 1.0;
    for (const Placed& p : placed_) {
        if (!p.child || !p.mustFit) {
            continue;
        }
        QRect designed = TwipsToPixels(p.twips, *this);
        QSize needed = p.child->sizeHint();
        if (designed.width() > 0) {
            scale = std::max(scale, double(needed.width()) / designed.width());
        }
        if (designed.height() > 0) {
            scale = std::max(scale, double(needed.height()) / designed.height());
        }
    }
    return scale;
}

void TabPage::setScale(double scale) {
    scale_ = std::max(1.0, scale);
    relayout();
}

void TabPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void TabPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    relayout();
}

void TabPage::relayout() {
    QPoint origin;
    if (tabControl_ && tabControl_->isAncestorOf(this)) {
        origin = mapTo(tabControl_, QPoint(0, 0));
    }
    for (const Placed& p : placed_) {
        if (p.child) {
            p.child->setGeometry(TwipsToPixels(p.twips, *this, scale_).translated(-origin));
        }
    }
}

}  // namespace veltra::settings_dialog
