#include "alerts/qt/save_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace veltra {

namespace {

const QString kTextFiles = QStringLiteral("Text Files (*.txt)");
const QString kAllFiles = QStringLiteral("All Files (*.*)");
const QString kDefaultSuffix = QStringLiteral("txt");

}  // namespace

QtSaveDialog::QtSaveDialog(QWidget* parent, bool nativeDialog)
    : parent_(parent), nativeDialog_(nativeDialog) {}

std::optional<std::string> QtSaveDialog::ChooseSavePath() {
    QFileDialog dialog(parent_, QStringLiteral("Save As..."), QDir::currentPath());
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kTextFiles, kAllFiles});
    dialog.selectNameFilter(kTextFiles);
    dialog.setDefaultSuffix(kDefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !nativeDialog_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        return std::nullopt;
    }
    QString path = chosen.first();
    // Qt's own dialog adds the suffix; a platform dialog may not.
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.'))) {
        path += QLatin1Char('.') + kDefaultSuffix;
    }
    return QFile::encodeName(path).toStdString();
}

}  // namespace veltra
