#pragma once
// Where the read-me is. A build tree and a copy of the program run from a
// folder keep "readme.txt" beside the program; an installation puts it where
// the file-system hierarchy wants documentation, under share/doc beside bin.

#include <optional>
#include <string>

namespace veltra {

// The first of `programDir` + "/readme.txt" and
// `programDir` + "/../share/doc/veltrascope/readme.txt" (without the "..")
// that is a file; nothing when neither is.
std::optional<std::string> FindReadme(const std::string& programDir);

}  // namespace veltra
