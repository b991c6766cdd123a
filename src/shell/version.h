#pragma once
// The program's version, shown by the About box as "v<Major>.<Minor>.<Revision>".

#include <string>

namespace veltra {

inline constexpr int Major = 1;
inline constexpr int Minor = 2;
inline constexpr int Revision = 0;

inline std::string VersionText() {
    return "v" + std::to_string(Major) + "." + std::to_string(Minor) + "." +
           std::to_string(Revision);
}

}  // namespace veltra
