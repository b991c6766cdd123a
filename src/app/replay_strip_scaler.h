#pragma once
// Keeps the replay strip's text and icons in proportion with the face, as
// the proportional layout keeps the face's own captions.

#include <QObject>

namespace veltra {

class MainWindow;

namespace recorder {
class ReplayStrip;
}

class ReplayStripScaler : public QObject {
    Q_OBJECT
public:
    ReplayStripScaler(MainWindow& form, recorder::ReplayStrip& strip);

    // The factor the strip was last given.
    double factor() const { return factor_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    MainWindow& form_;
    recorder::ReplayStrip& strip_;
    double factor_ = 1;
    bool aspectQueued_ = false;
};

}  // namespace veltra
