#pragma once
// The program's own command-line options. Everything else on the command
// line is left for Qt, which takes its standard options (-platform,
// -display, -style...) from there.

#include <span>
#include <string>
#include <string_view>

namespace veltra {

enum class CommandLineAction { Run, ShowHelp, ShowVersion };

// The first of --help (-h) and --version decides; "--" ends the options.
CommandLineAction ParseCommandLine(std::span<const std::string_view> args);

std::string ProgramHelpText();

}  // namespace veltra
