#pragma once
// The Save As dialog as the log saver asks for it.

#include <optional>
#include <string>

namespace veltra {

class SaveLogDialog {
public:
    virtual ~SaveLogDialog() = default;
    // Shows the dialog modally; the chosen path (with the default extension
    // added when the user typed none), or nothing when it was cancelled.
    virtual std::optional<std::string> ChooseSavePath() = 0;
};

}  // namespace veltra
