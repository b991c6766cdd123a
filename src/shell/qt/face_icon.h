#pragma once
// The program icon (window, notification area, About box). The same SVG is
// installed as the desktop icon: src/shell/qt/icons/veltrascope.svg.

#include <QIcon>

namespace veltra {

inline constexpr char kProgramIconResource[] = ":/icons/veltrascope.svg";

// The icon, rendered from the SVG at whatever size is asked for.
QIcon ProgramIcon();

}  // namespace veltra
