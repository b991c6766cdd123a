#include "alerts/log_writer.h"

namespace veltra {
namespace {

// The character each lit-segment set shows; segments listed in ascending
// order. A full zero is not here: it reads as no character.
char DigitFor(const DisplayState& s) {
    std::string set;
    for (int i = 1; i <= 7; ++i) {
        if (s.Segment[i]) {
            set.push_back(static_cast<char>('0' + i));
        }
    }
    struct Entry {
        std::string_view set;
        char c;
    };
    static constexpr Entry kDigits[] = {
        {"67", '1'},     {"12356", '2'},  {"12367", '3'}, {"2467", '4'},
        {"12347", '5'},  {"123457", '6'}, {"167", '7'},   {"1234567", '8'},
        {"123467", '9'}, {"124567", 'A'}, {"35", 'l'},    {"345", 'L'},
    };
    for (const Entry& e : kDigits) {
        if (e.set == set) {
            return e.c;
        }
    }
    return ' ';
}

}  // namespace

std::string LogContent(const DisplayState& s) {
    std::string line;
    ComposeLogContent(s, line);
    return line;
}

void ComposeLogContent(const DisplayState& s, std::string& line) {
    const char digit = DigitFor(s);
    switch (digit) {
        case 'A':
            line = "All Bogies Mode";
            return;
        case 'l':
            line = "Logic Mode";
            return;
        case 'L':
            line = "Advanced Logic Mode";
            return;
        default:
            break;
    }
    line.clear();
    line.reserve(29);
    line += s.Band[kX] ? "X " : "  ";
    line += s.Band[kK] ? "K " : "  ";
    line += s.Band[kKa] ? "Ka " : "   ";
    line += s.Band[kLaser] ? "L " : "  ";
    line += digit;
    line += ' ';
    std::string signal;
    for (bool dot : s.Signal) {
        if (dot) {
            signal += '*';
        }
    }
    signal.resize(9, ' ');
    line += signal;
    line += s.FrontArrow ? " /\\" : "   ";
    line += s.SideArrow ? " ==" : "   ";
    line += s.RearArrow ? " \\/" : "   ";
}

void LogWriter::LogData(const DisplayState& state) {
    if (!composedFor_ || *composedFor_ != state) {
        ComposeLogContent(state, composed_);
        composedFor_ = state;
    }
    if (composed_ == LastLogLine) {
        return;
    }
    LastLogLine = composed_;
    const auto failure = sink_.AppendLine(clock_.longTime() + " - " + composed_);
    if (!failure) {
        failureTold_ = false;
        return;
    }
    if (failureTold_) {
        return;
    }
    // Set first: while the box is up (the program posts it, so that frames
    // keep coming in behind it) more frames arrive and fail the same way.
    failureTold_ = true;
    prompt_.show("Veltra Scope",
                 "Veltra Scope cannot write to the alert log \"" + sink_.Name() + "\" (" +
                     *failure + ").\n\nAlert lines are lost until the file can be written again.",
                 PromptIcon::Exclamation, PromptButtons::Ok);
}

}  // namespace veltra
