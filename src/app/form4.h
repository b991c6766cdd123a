#pragma once
// The About box: the program's name, version and licence.

#include <QDialog>

namespace veltra {

class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

private:
    void Form_Load();
};

}  // namespace veltra
