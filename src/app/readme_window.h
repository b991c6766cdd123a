#pragma once
// The read-me in a plain window of the program's own, for desktops that have
// no viewer to open it with: the user always gets to read it.

#include <QWidget>

class QPlainTextEdit;

namespace veltra {

class ReadmeWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window that stays with `owner` (above it, closed with it).
    explicit ReadmeWindow(QWidget* owner);

    // Shows the file's text; when it cannot be read, says so in its place.
    void load(const QString& path);

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace veltra
