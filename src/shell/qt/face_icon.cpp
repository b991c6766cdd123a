#include "shell/qt/face_icon.h"

#include <QString>

// The resources live in a static library, which needs an explicit
// registration before first use; it must be called outside any namespace.
static void RegisterIconResource() {
    Q_INIT_RESOURCE(veltrascope);
}

namespace veltra {

QIcon ProgramIcon() {
    static const bool registered = [] {
        RegisterIconResource();
        return true;
    }();
    (void)registered;
    return QIcon(QString::fromLatin1(kProgramIconResource));
}

}  // namespace veltra
