#pragma once
// The program's version, shown by the About box as "v<Major>.<Minor>.<Revision>"
// and by every program's --version. CMakeLists.txt refuses to configure when
// the project version there says otherwise, so packages and metadata agree.

#include <string>
#include <string_view>

namespace veltra {

inline constexpr int Major = 1;
inline constexpr int Minor = 2;
inline constexpr int Revision = 0;

inline std::string VersionNumber() {
    return std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Revision);
}

inline std::string VersionText() {
    // Appended, not "v" + VersionNumber(): prepending to a temporary trips a
    // false -Wrestrict in g++ 12 at -O3.
    std::string text = "v";
    text += VersionNumber();
    return text;
}

// What `program --version` prints, in the GNU layout: name and version on the
// first line, then the copyright and the licence.
inline std::string VersionBanner(std::string_view program) {
    return std::string(program) + " (Veltra Scope) " + VersionNumber() +
           "\n"
           "Copyright (c) the Veltra Scope developers.\n"
           "License MIT: <https://opensource.org/licenses/MIT>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace veltra
