#include "shell/qt/qt_prompt.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace veltra {

namespace {

QMessageBox::Icon ToQt(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Exclamation:
            return QMessageBox::Warning;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// QMessageBox takes its No button for Escape and the close box when it has
// no Cancel button. A question whose No throws data away must not be
// answered by a key that means "never mind": here both close the box with
// no button chosen.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    // QMessageBox's own handler would press the No button: skip it.
    void closeEvent(QCloseEvent* event) override {
        QDialog::closeEvent(event);  // NOLINT(bugprone-parent-virtual-call)
    }
};

}  // namespace

QtPrompt::QtPrompt(QWidget* parent) : parent_(parent) {}

PromptAnswer QtPrompt::show(const std::string& title, const std::string& text, PromptIcon icon,
                            PromptButtons buttons) {
    QString body = QString::fromStdString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(u'\r', u'\n');

    const bool yesNo = buttons == PromptButtons::YesNo;
    // On the heap with a guarded pointer: if the parent window is destroyed
    // while the box is up (events keep running), the box goes with it.
    QPointer<QMessageBox> box;
    if (yesNo) {
        box = new QuestionBox(ToQt(icon), QString::fromStdString(title), body,
                              QMessageBox::Yes | QMessageBox::No, parent_);
    } else {
        box = new QMessageBox(ToQt(icon), QString::fromStdString(title), body, QMessageBox::Ok,
                              parent_);
    }
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int result = box->exec();
    delete box.data();
    if (!yesNo) {
        return PromptAnswer::Ok;
    }
    switch (result) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Dismissed;
    }
}

}  // namespace veltra
