#include "autoresize/qt/widget_parent.h"

#include <QLayout>
#include <QMainWindow>

#include <cmath>

#include "shell/qt/twips.h"

namespace veltra {
namespace {

bool LayoutHolds(const QLayout* layout, const QWidget* w) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w) {
            return true;
        }
        if (item->layout() != nullptr && LayoutHolds(item->layout(), w)) {
            return true;
        }
    }
    return false;
}

bool PlacedByLayout(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    return parent != nullptr && parent->layout() != nullptr && LayoutHolds(parent->layout(), w);
}

// Twips to whole pixels; nothing when the result is no usable size.
std::optional<int> OuterPixels(double twips, int dpi) {
    const double px = std::round(twips * dpi / kTwipsPerInch);
    if (!std::isfinite(px) || px < 0 || px > QWIDGETSIZE_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(px);
}

}  // namespace

WidgetParent::WidgetParent(QWidget* window) : window_(window) {}

QWidget* WidgetParent::inner() const {
    if (!window_) {
        return nullptr;
    }
    if (auto* main = qobject_cast<QMainWindow*>(window_.data())) {
        return main->centralWidget();
    }
    return window_;
}

QSize WidgetParent::InnerSize() const {
    QWidget* client = inner();
    if (client == nullptr) {
        return {};
    }
    // A window not shown yet places its central widget only when shown or
    // when its layout is brought up to date; the layout is taken earlier.
    if (client != window_ && !window_->isVisible() && window_->layout() != nullptr) {
        window_->layout()->invalidate();
        window_->layout()->activate();
    }
    return client->size();
}

double WidgetParent::InnerWidth() const {
    return InnerSize().width();
}
double WidgetParent::InnerHeight() const {
    return InnerSize().height();
}

double WidgetParent::OuterWidth() const {
    return window_ ? PixelsToTwips(window_->frameGeometry().width(), window_->logicalDpiX()) : 0;
}

double WidgetParent::OuterHeight() const {
    return window_ ? PixelsToTwips(window_->frameGeometry().height(), window_->logicalDpiY()) : 0;
}

bool WidgetParent::SetOuterWidth(double twips) {
    const auto outer = window_ ? OuterPixels(twips, window_->logicalDpiX()) : std::nullopt;
    if (!outer) {
        return false;
    }
    const int frame = window_->frameGeometry().width() - window_->width();
    window_->resize(std::max(*outer - frame, 0), window_->height());
    return true;
}

bool WidgetParent::SetOuterHeight(double twips) {
    const auto outer = window_ ? OuterPixels(twips, window_->logicalDpiY()) : std::nullopt;
    if (!outer) {
        return false;
    }
    const int frame = window_->frameGeometry().height() - window_->height();
    window_->resize(window_->width(), std::max(*outer - frame, 0));
    return true;
}

WindowState WidgetParent::State() const {
    if (!window_) {
        return WindowState::Normal;
    }
    const Qt::WindowStates s = window_->windowState();
    if (s & Qt::WindowMinimized) {
        return WindowState::Minimised;
    }
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return WindowState::Maximised;
    }
    return WindowState::Normal;
}

void WidgetParent::Collect(QWidget* container) {
    for (QObject* child : container->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || w->isWindow()) {
            continue;
        }
        if (!w->objectName().startsWith(QLatin1String("qt_")) && !PlacedByLayout(w)) {
            controls_.push_back(std::make_unique<WidgetControl>(w));
        }
        Collect(w);
    }
}

int WidgetParent::ControlCount() {
    controls_.clear();
    if (QWidget* client = inner()) {
        Collect(client);
    }
    return static_cast<int>(controls_.size());
}

LayoutControl* WidgetParent::Control(int index) {
    if (index < 0 || index >= static_cast<int>(controls_.size()) ||
        controls_[index]->widget() == nullptr) {
        return nullptr;
    }
    return controls_[index].get();
}

std::vector<QWidget*> WidgetParent::controls() const {
    std::vector<QWidget*> out;
    for (const auto& c : controls_) {
        out.push_back(c->widget());
    }
    return out;
}

bool WidgetParent::SetControlVisible(std::string_view name, bool visible) {
    QWidget* w = window_ ? window_->findChild<QWidget*>(QString::fromUtf8(name.data(), name.size()))
                         : nullptr;
    if (w == nullptr) {
        return false;
    }
    w->setVisible(visible);
    return true;
}

}  // namespace veltra
