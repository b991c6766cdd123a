#include "shell/command_line.h"

namespace veltra {

CommandLineAction ParseCommandLine(std::span<const std::string_view> args) {
    for (const std::string_view arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            return CommandLineAction::ShowHelp;
        }
        if (arg == "--version") {
            return CommandLineAction::ShowVersion;
        }
    }
    return CommandLineAction::Run;
}

std::string ProgramHelpText() {
    return "Usage: veltrascope [OPTION]... [RECORDING]\n"
           "Shows the front-panel display of a radar and laser detector, read from its\n"
           "serial line, in a small window; mutes the detector during an alert, hides\n"
           "the window in the notification area after one, and can log every change\n"
           "of the display.\n"
           "\n"
           "      --replay FILE  replay a recorded drive (also: a RECORDING given\n"
           "                     alone, as a file manager passes it)\n"
           "      --speed N      replay at N times the real pace\n"
           "  -h, --help         display this help and exit\n"
           "      --version      output version information and exit\n"
           "\n"
           "Qt's standard options, such as -platform NAME and -display DISPLAY, are\n"
           "passed on to Qt.\n"
           "\n"
           "The options are kept in ~/.config/Veltrascope/Veltrascope.ini. With\n"
           "Options > Log Alert Data on, display changes go to \"temp.log\" beside the\n"
           "program, or in ~/.local/share/Veltrascope/Veltrascope/ when that folder\n"
           "cannot be written. Every drive is recorded in\n"
           "~/.local/share/Veltrascope/drives/ unless \"Record drives\" is off in the\n"
           "settings.\n"
           "Help > ReadMe... explains every option.\n"
           "\n"
           "Exit status: 0 when the program ends normally, 2 when no display can be\n"
           "reached.\n";
}

}  // namespace veltra
