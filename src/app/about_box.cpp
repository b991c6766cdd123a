#include "app/about_box.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "shell/qt/face_icon.h"
#include "shell/qt/twips.h"
#include "shell/version.h"

namespace veltra {

namespace {

const char* const kLicence =
    "Veltra Scope\n"
    "Copyright (c) the Veltra Scope developers.\n"
    "\n"
    "Permission is hereby granted, free of charge, to any person obtaining a copy of this "
    "software and associated documentation files (the \"Software\"), to deal in the Software "
    "without restriction, including without limitation the rights to use, copy, modify, merge, "
    "publish, distribute, sublicense, and/or sell copies of the Software, and to permit persons "
    "to whom the Software is furnished to do so, subject to the following conditions:\n"
    "\n"
    "The above copyright notice and this permission notice shall be included in all copies or "
    "substantial portions of the Software.\n"
    "\n"
    "THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, "
    "INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR "
    "PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE "
    "FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR "
    "OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER "
    "DEALINGS IN THE SOFTWARE.\n"
    "\n"
    "Veltra Scope is a companion display. It does not replace watching the road: drive "
    "attentively and obey the law where you drive.\n";

template <class W>
W* Place(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height));
    return w;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About..."));
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(TwipsToPx(5205), TwipsToPx(3555));

    auto* icon = Place<QLabel>(this, "programIcon", 855, 270, 480, 480);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignCenter);

    auto* name = Place<QLabel>(this, "programName", 1485, 270, 2850, 420);
    name->setText(QStringLiteral("Veltra Scope"));
    QFont nameFont(QStringLiteral("Arial"));
    nameFont.setPointSizeF(20.25);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->adjustSize();

    auto* version = Place<QLabel>(this, "versionLabel", 3915, 765, 510, 195);
    version->setText(QStringLiteral("Beta 1"));

    auto* credit = Place<QLabel>(this, "creditLabel", 1485, 1125, 2535, 240);
    credit->setText(QStringLiteral("by the Veltra Scope developers"));
    QFont creditFont(QStringLiteral("Arial"));
    creditFont.setPointSizeF(9.75);
    creditFont.setBold(true);
    credit->setFont(creditFont);
    credit->adjustSize();

    auto* licence = Place<QPlainTextEdit>(this, "licenceText", 135, 1530, 4965, 1320);
    licence->setPlainText(QString::fromLatin1(kLicence));
    licence->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* ok = Place<QPushButton>(this, "okButton", 2055, 3060, 1095, 330);
    ok->setText(QStringLiteral("&OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    showVersion();
}

void AboutBox::showVersion() {
    auto* version = findChild<QLabel*>(QStringLiteral("versionLabel"));
    version->setText(QString::fromStdString(VersionText()));
    version->adjustSize();
    // Locked: the text can be selected and scrolled but not changed.
    findChild<QPlainTextEdit*>(QStringLiteral("licenceText"))->setReadOnly(true);
}

}  // namespace veltra
