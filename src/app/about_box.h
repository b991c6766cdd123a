#pragma once
// The About box: the program's name, version and licence.

#include <QDialog>

namespace veltra {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

private:
    void showVersion();
};

}  // namespace veltra
