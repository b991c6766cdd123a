#include "shell/qt/qt_prompt.h"

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
    QPointer<QMessageBox> box =
        new QMessageBox(ToQt(icon), QString::fromStdString(title), body,
                        yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent_);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    if (yesNo) {
        box->setEscapeButton(QMessageBox::No);
    }
    const int result = box->exec();
    delete box.data();
    if (!yesNo) {
        return PromptAnswer::Ok;
    }
    return result == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
}

}  // namespace veltra
