#pragma once
// A page of a tab control whose controls are placed by design positions in
// twips (1/1440 inch), measured from the top-left corner of the whole tab
// control rather than of the page. The page itself sits below the tab strip
// by a distance that depends on the style, so the children are placed again
// whenever the page is laid out.

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

namespace veltra::settings_dialog {

// A rectangle in twips to pixels at `device`'s logical resolution, the
// design enlarged by `scale`.
QRect TwipsToPixels(const QRect& twips, const QPaintDevice& device, double scale = 1.0);

class TabPage : public QWidget {
    Q_OBJECT
public:
    // `tabControl` is the tab control that shows this page.
    explicit TabPage(QWidget* tabControl);

    // Makes `child` a child of the page at `twips` (left, top, width, height).
    // With `mustFit`, the child's caption must show whole (see fittingScale).
    void place(QWidget* child, const QRect& twips, bool mustFit = false);

    // The least enlargement of the design at which every child placed with
    // `mustFit` gets the room its caption needs in the current font. The
    // design's measures suit a narrower font than ours; enlarging the whole
    // page evenly keeps its proportions and never cuts a caption short.
    double fittingScale() const;
    // Enlarges every design position and size by `scale` (at least 1).
    void setScale(double scale);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void relayout();

    QPointer<QWidget> tabControl_;
    double scale_ = 1.0;
    struct Placed {
        QPointer<QWidget> child;
        QRect twips;
        bool mustFit;
    };
    std::vector<Placed> placed_;
};

}  // namespace veltra::settings_dialog
