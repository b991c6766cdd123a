#pragma once
// The rules of the dialog's two time boxes and their spinners, kept free of
// any widget so they can be checked on their own.
//
// A time box holds text; its number is the time in seconds. Typing can only
// put digits in it, at most two, but a stored text may be anything, so every
// rule here copes with any text.

#include <optional>
#include <string>
#include <string_view>

namespace veltra::settings_dialog {

inline constexpr int kSpinnerMin = 0;
inline constexpr int kSpinnerMax = 99;
inline constexpr std::size_t kTimeBoxMaxLength = 2;
inline constexpr char32_t kBackspace = 8;

// Whether a typed character may reach a time box: a digit or backspace.
// Everything else (Enter, Escape, space, sign, decimal point, letters,
// other control codes) is dropped.
bool KeyPasses(char32_t c);

// Whether a time box may go from `before` to `after` by one edit (typing,
// pasting, dropping, deleting). The result must be at most two digits,
// unless the edit only removed characters: a long or odd text that came
// from the store can still be shortened by hand.
bool EditAllowed(std::string_view before, std::string_view after);

// The spinner position that shows `text`: its leading number, rounded with
// halves to even, held to 0..99. Empty or non-numeric text shows 0.
int SpinnerValueFor(std::string_view text);

// The text a spinner value is written as: plain decimal, e.g. "7", "42".
std::string SpinnerText(int value);

// What the box should show after its spinner has moved to `value`, or
// nothing when the text should stay as it is.
std::optional<std::string> TextAfterSpinnerMove(std::string_view text, int value);

// What the box should show when it loses the focus: "99" when its number
// is above 99, otherwise nothing (no change).
std::optional<std::string> TextOnFocusOut(std::string_view text);

}  // namespace veltra::settings_dialog
