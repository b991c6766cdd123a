#pragma once
// veltrascope-decode --alerts: the alert list of a recorded drive, the same
// list the program shows under "Alerts...".

#include <ostream>
#include <string>

namespace veltra::decode {

// Prints the list (a table, or CSV with `csv`) of the recording at `file`;
// the exit status.
int PrintAlerts(const std::string& file, bool csv, std::ostream& out, std::ostream& errors);

}  // namespace veltra::decode
