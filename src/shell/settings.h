#pragma once
// The program's options: the one table of every key, who reads it, with which
// rule and which default, and the conversions those rules apply.
//
// Every reader asks the store for one key and converts the text itself; a
// text that its rule cannot convert (letters where a number is read, a number
// out of range) falls back to that reader's default, so a settings file edited
// by hand never stops the program.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace veltra::settings {

enum class Rule {
    EqualsOne,      // on when the number equals 1
    Truth,          // "True"/"False" (any case) or a number, non-zero is true
    Whole,          // 16-bit integer, halves rounded to the even neighbour
    LeadingNumber,  // the numeric prefix (0 when there is none), then as Whole
    NotZero,        // the numeric prefix tested against 0 (empty or letters: 0)
    Single,         // single-precision number
    Text,           // the text as it is
};

// Where a key is read; each place has its own rule and default.
enum class Use {
    Start,           // main window start-up
    LoadSettings,    // re-applying frame options after the settings dialog
    ModalGuard,      // after every guarded modal box
    SettingsDialog,  // filling the settings dialog
    InitPort,        // configuring the port before each opening
    PortDialog,      // filling the port dialog
    BeginAlert,
    EndAlert,
    TimerTick,  // the auto-mute and auto-hide countdowns
};

struct Reader {
    std::string_view key;
    Use use;
    Rule rule;
    // Default text; empty with Rule::Single means "the caller's current value".
    std::string_view defaultText;
};

// Every reader of every key.
std::span<const Reader> Readers();
// The sixteen keys, in the order of the table.
std::span<const std::string_view> Keys();
// The reader of `key` at `use`; throws std::logic_error when there is none,
// which is a programming error, never a user's.
const Reader& ReaderFor(std::string_view key, Use use);

// Conversions, exposed for the settings dialog and for tests.
// A whole text as a number: blanks around it allowed, nothing else after it.
std::optional<double> ParseNumber(std::string_view text);
// The numeric prefix of a text; blanks anywhere are skipped; 0 when none.
double LeadingNumber(std::string_view text);
// As LeadingNumber, except that a number too large for a double (a stored
// "1e400", a thousand nines) counts as the largest double of its sign
// rather than as no number; one too small for a double is still 0.
double SaturatedLeadingNumber(std::string_view text);
// Halves to the even neighbour; nothing when outside the 16-bit range.
std::optional<std::int16_t> RoundWhole(double value);

// Readers: each applies the rule and default of ReaderFor(key, use).
// ReadBool serves EqualsOne, Truth and NotZero; ReadInt serves Whole and
// LeadingNumber; ReadText serves Text.
bool ReadBool(const SettingsStore& store, std::string_view key, Use use);
int ReadInt(const SettingsStore& store, std::string_view key, Use use);
std::string ReadText(const SettingsStore& store, std::string_view key, Use use);
// Window geometry in twips; `current` is the default.
float ReadSingle(const SettingsStore& store, std::string_view key, float current);

// Writers, in the stored forms.
void WriteText(SettingsStore& store, std::string_view key, std::string_view text);
void WriteDigit(SettingsStore& store, std::string_view key, int state);
void WriteBooleanWord(SettingsStore& store, std::string_view key, bool value);
void WriteNumber(SettingsStore& store, std::string_view key, float value);

}  // namespace veltra::settings
