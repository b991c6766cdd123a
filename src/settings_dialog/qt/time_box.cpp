#include "settings_dialog/qt/time_box.h"

#include <QFontDatabase>
#include <QKeyEvent>

#include "settings_dialog/time_box_rules.h"

namespace veltra::settings_dialog {

namespace {

// The characters a key press types into the box, or an empty string when it
// types none: shortcuts (paste, undo...), cursor movement and Delete edit the
// box without typing, and are held to the editing rule afterwards instead.
std::u32string TypedCharacters(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {};
    }
    switch (event->key()) {
        case Qt::Key_Backspace:
            return std::u32string(1, kBackspace);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return U"\r";
        case Qt::Key_Escape:
            return U"\x1b";
        case Qt::Key_Delete:
            return {};
        default:
            break;
    }
    return event->text().toStdU32String();
}

}  // namespace

TimeBox::TimeBox(QWidget* parent) : QLineEdit(parent) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(9);
    setFont(fixed);
    setInputMethodHints(Qt::ImhDigitsOnly);
    connect(this, &QLineEdit::textChanged, this, &TimeBox::onTextChanged);
}

void TimeBox::setTimeText(const QString& text) {
    bool outer = byProgram_;
    byProgram_ = true;
    setText(text);
    byProgram_ = outer;
}

void TimeBox::keyPressEvent(QKeyEvent* event) {
    std::u32string typed = TypedCharacters(event);
    for (char32_t c : typed) {
        if (!KeyPasses(c)) {
            // Dropped here, so Enter and Escape never reach the dialog either.
            event->accept();
            return;
        }
    }
    if (!typed.empty() && typed.front() != kBackspace) {
        QString after = text();
        if (hasSelectedText()) {
            after.remove(selectionStart(), static_cast<int>(selectedText().size()));
            after.insert(selectionStart(), event->text());
        } else {
            after.insert(cursorPosition(), event->text());
        }
        if (!EditAllowed(text().toStdString(), after.toStdString())) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TimeBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (auto bounded = TextOnFocusOut(text().toStdString())) {
        setTimeText(QString::fromStdString(*bounded));
    }
}

void TimeBox::onTextChanged(const QString& text) {
    if (reverting_) {
        return;
    }
    if (!byProgram_ && !EditAllowed(accepted_.toStdString(), text.toStdString())) {
        reverting_ = true;
        setText(accepted_);
        reverting_ = false;
        return;
    }
    accepted_ = text;
    emit timeTextChanged(text);
}

}  // namespace veltra::settings_dialog
