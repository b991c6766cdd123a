#include "app/readme_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace veltra {

ReadmeWindow::ReadmeWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("readmeWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Ends in the program's name, so the platform adds nothing to it.
    setWindowTitle(QStringLiteral("readme.txt \u2014 Veltra Scope"));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("readmeText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The read-me lines its tables up in columns of characters.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("readmeClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);

    const QFontMetrics metrics(text_->font());
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 84, metrics.lineSpacing() * 32);
}

void ReadmeWindow::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        text_->setPlainText(tr("Cannot read %1: %2").arg(path, file.errorString()));
        return;
    }
    text_->setPlainText(QString::fromUtf8(file.readAll()));
}

}  // namespace veltra
