#pragma once
// A seconds box: at most two digits, typed or pasted. Characters other than
// digits and backspace are dropped before they reach the box; any other edit
// (paste, drop, input method, undo) that would leave something other than at
// most two digits is taken back. A text set by the program may be anything
// (a stored value); edits can then still remove characters from it.
// When the box loses the focus a number above 99 becomes "99".

#include <QLineEdit>

namespace veltra::settings_dialog {

class TimeBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TimeBox(QWidget* parent = nullptr);

    // Sets the text without the editing rules.
    void setTimeText(const QString& text);

signals:
    // Every change of the text that the box kept.
    void timeTextChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextChanged(const QString& text);

    QString accepted_;
    bool byProgram_ = false;
    bool reverting_ = false;
};

}  // namespace veltra::settings_dialog
