#include "settings_dialog/time_box_rules.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "shell/settings.h"

namespace veltra::settings_dialog {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool KeyPasses(char32_t c) {
    return (c >= U'0' && c <= U'9') || c == kBackspace;
}

bool EditAllowed(std::string_view before, std::string_view after) {
    if (after.size() <= kTimeBoxMaxLength && std::all_of(after.begin(), after.end(), IsDigit)) {
        return true;
    }
    // Otherwise only a removal: `after` is `before` with one stretch cut out.
    if (after.size() > before.size()) {
        return false;
    }
    std::size_t prefix = 0;
    while (prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return prefix + suffix == after.size();
}

int SpinnerValueFor(std::string_view text) {
    // Saturated: a stored number too large for a double is far above the
    // range, not 0.
    double n = settings::SaturatedLeadingNumber(text);
    n = std::clamp(n, static_cast<double>(kSpinnerMin), static_cast<double>(kSpinnerMax));
    // Within 0..99 the rounding cannot fail.
    return settings::RoundWhole(n).value_or(kSpinnerMin);
}

std::string SpinnerText(int value) {
    return std::to_string(value);
}

std::optional<std::string> TextAfterSpinnerMove(std::string_view text, int value) {
    if (SpinnerValueFor(text) == value) {
        // The spinner only followed the text. Rewrite the text in the
        // spinner's form when that keeps its number ("07" becomes "7"), but
        // leave an emptied box empty, and leave a number the spinner had to
        // round or clamp (a stored "150") for the focus-out rule to settle.
        if (text.empty() || settings::LeadingNumber(text) != value) {
            return std::nullopt;
        }
    }
    std::string shown = SpinnerText(value);
    if (shown == text) {
        return std::nullopt;
    }
    return shown;
}

std::optional<std::string> TextOnFocusOut(std::string_view text) {
    if (settings::SaturatedLeadingNumber(text) > kSpinnerMax) {
        return SpinnerText(kSpinnerMax);
    }
    return std::nullopt;
}

}  // namespace veltra::settings_dialog
