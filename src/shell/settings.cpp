#include "shell/settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace veltra::settings {

namespace {

constexpr std::array<std::string_view, 16> kKeys = {
    "CommPort", "LogData",         "AutoConnect", "AutoMinimize", "OnTop",    "HideTitlebar",
    "HideMute", "KeepAspectRatio", "AutoMute",    "AutoMuteTime", "AutoHide", "AutoHideTime",
    "Width",    "Height",          "Left",        "Top",
};

// clang-format off
constexpr std::array kReaders = {
    Reader{"CommPort",        Use::InitPort,       Rule::Whole,         "1"},
    Reader{"CommPort",        Use::PortDialog,     Rule::Text,          "1"},
    Reader{"LogData",         Use::Start,          Rule::Truth,         "False"},
    Reader{"AutoConnect",     Use::Start,          Rule::EqualsOne,     "1"},
    Reader{"AutoConnect",     Use::SettingsDialog, Rule::Whole,         "1"},
    Reader{"AutoMinimize",    Use::Start,          Rule::Truth,         "0"},
    Reader{"AutoMinimize",    Use::SettingsDialog, Rule::Whole,         "0"},
    Reader{"OnTop",           Use::Start,          Rule::EqualsOne,     "0"},
    Reader{"OnTop",           Use::ModalGuard,     Rule::EqualsOne,     "0"},
    Reader{"OnTop",           Use::SettingsDialog, Rule::Whole,         "0"},
    Reader{"HideTitlebar",    Use::Start,          Rule::EqualsOne,     "0"},
    Reader{"HideTitlebar",    Use::LoadSettings,   Rule::EqualsOne,     "0"},
    Reader{"HideTitlebar",    Use::SettingsDialog, Rule::Whole,         "0"},
    Reader{"HideMute",        Use::Start,          Rule::Truth,         "0"},
    Reader{"HideMute",        Use::SettingsDialog, Rule::Whole,         "0"},
    Reader{"KeepAspectRatio", Use::Start,          Rule::Truth,         "1"},
    Reader{"KeepAspectRatio", Use::LoadSettings,   Rule::Truth,         "1"},
    Reader{"KeepAspectRatio", Use::SettingsDialog, Rule::Whole,         "1"},
    Reader{"AutoMute",        Use::BeginAlert,     Rule::EqualsOne,     "1"},
    // The alert logic treats an absent "AutoMute" as on, so the dialog shows
    // it checked too: showing it clear made a plain OK turn auto-mute off.
    Reader{"AutoMute",        Use::SettingsDialog, Rule::Whole,         "1"},
    Reader{"AutoMuteTime",    Use::BeginAlert,     Rule::NotZero,       "5"},
    Reader{"AutoMuteTime",    Use::TimerTick,      Rule::LeadingNumber, "5"},
    Reader{"AutoMuteTime",    Use::SettingsDialog, Rule::Text,          "5"},
    Reader{"AutoHide",        Use::EndAlert,       Rule::EqualsOne,     "1"},
    Reader{"AutoHide",        Use::SettingsDialog, Rule::Whole,         "1"},
    Reader{"AutoHideTime",    Use::EndAlert,       Rule::NotZero,       "5"},
    Reader{"AutoHideTime",    Use::TimerTick,      Rule::LeadingNumber, "5"},
    Reader{"AutoHideTime",    Use::SettingsDialog, Rule::Text,          "5"},
    Reader{"Width",           Use::Start,          Rule::Single,        ""},
    Reader{"Height",          Use::Start,          Rule::Single,        ""},
    Reader{"Left",            Use::Start,          Rule::Single,        ""},
    Reader{"Top",             Use::Start,          Rule::Single,        ""},
};
// clang-format on

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Length of the longest prefix of `s` shaped [sign] digits [. digits]
// [e [sign] digits], with at least one digit in the mantissa; 0 when none.
size_t NumberPrefix(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    size_t mantissaEnd = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        size_t expDigits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0) {
            return j;
        }
    }
    return mantissaEnd;
}

std::optional<double> ToDouble(std::string_view number) {
    // from_chars rejects a leading '+'; the value is the same without it.
    if (!number.empty() && number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string Stored(const SettingsStore& store, const Reader& r) {
    return store.value(kSettingsSection, r.key).value_or(std::string(r.defaultText));
}

// Applies a boolean rule to a text; nothing when the text does not convert.
std::optional<bool> ToBool(Rule rule, std::string_view text) {
    switch (rule) {
        case Rule::EqualsOne:
            if (auto n = ParseNumber(text)) {
                return *n == 1.0;
            }
            return std::nullopt;
        case Rule::Truth: {
            std::string_view t = Trim(text);
            if (EqualsNoCase(t, "True")) {
                return true;
            }
            if (EqualsNoCase(t, "False")) {
                return false;
            }
            if (auto n = ParseNumber(t)) {
                return *n != 0.0;
            }
            return std::nullopt;
        }
        case Rule::NotZero:
            return LeadingNumber(text) != 0.0;
        default:
            throw std::logic_error("not a boolean rule");
    }
}

std::optional<int> ToInt(Rule rule, std::string_view text) {
    std::optional<double> n;
    if (rule == Rule::Whole) {
        n = ParseNumber(text);
    } else if (rule == Rule::LeadingNumber) {
        n = LeadingNumber(text);
    } else {
        throw std::logic_error("not a whole-number rule");
    }
    if (!n) {
        return std::nullopt;
    }
    if (auto w = RoundWhole(*n)) {
        return *w;
    }
    return std::nullopt;
}

}  // namespace

std::span<const Reader> Readers() {
    return kReaders;
}

std::span<const std::string_view> Keys() {
    return kKeys;
}

const Reader& ReaderFor(std::string_view key, Use use) {
    for (const Reader& r : kReaders) {
        if (r.key == key && r.use == use) {
            return r;
        }
    }
    throw std::logic_error("no reader for setting " + std::string(key));
}

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view t = Trim(text);
    size_t n = NumberPrefix(t);
    if (n == 0 || n != t.size()) {
        return std::nullopt;
    }
    return ToDouble(t);
}

double LeadingNumber(std::string_view text) {
    std::string packed;
    for (char c : text) {
        if (!IsBlank(c)) {
            packed += c;
        }
    }
    size_t n = NumberPrefix(packed);
    if (n == 0) {
        return 0.0;
    }
    return ToDouble(std::string_view(packed).substr(0, n)).value_or(0.0);
}

double SaturatedLeadingNumber(std::string_view text) {
    std::string packed;
    for (char c : text) {
        if (!IsBlank(c)) {
            packed += c;
        }
    }
    const std::string_view number = std::string_view(packed).substr(0, NumberPrefix(packed));
    if (number.empty()) {
        return 0.0;
    }
    if (auto value = ToDouble(number)) {
        return *value;
    }
    // Out of a double's range, so not 0: large when its first significant
    // digit stands at or above the units once the exponent is applied.
    const bool negative = number.front() == '-';
    const std::size_t exp = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exp);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return 0.0;
    }
    long long place = first < point ? static_cast<long long>(point - first - 1)
                                    : -static_cast<long long>(first - point);
    if (exp != std::string_view::npos) {
        long long e = 0;
        const std::string_view digits = number.substr(exp + 1);
        for (char c : digits) {
            if (c >= '0' && c <= '9') {
                e = std::min(e * 10 + (c - '0'), 1'000'000'000LL);
            }
        }
        place += digits.front() == '-' ? -e : e;
    }
    if (place < 0) {
        return 0.0;
    }
    const double largest = std::numeric_limits<double>::max();
    return negative ? -largest : largest;
}

std::optional<std::int16_t> RoundWhole(double value) {
    double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(r);
}

bool ReadBool(const SettingsStore& store, std::string_view key, Use use) {
    const Reader& r = ReaderFor(key, use);
    if (auto v = ToBool(r.rule, Stored(store, r))) {
        return *v;
    }
    return ToBool(r.rule, r.defaultText).value_or(false);
}

int ReadInt(const SettingsStore& store, std::string_view key, Use use) {
    const Reader& r = ReaderFor(key, use);
    if (auto v = ToInt(r.rule, Stored(store, r))) {
        return *v;
    }
    return ToInt(r.rule, r.defaultText).value_or(0);
}

std::string ReadText(const SettingsStore& store, std::string_view key, Use use) {
    const Reader& r = ReaderFor(key, use);
    if (r.rule != Rule::Text) {
        throw std::logic_error("not a text rule");
    }
    return Stored(store, r);
}

float ReadSingle(const SettingsStore& store, std::string_view key, float current) {
    const Reader& r = ReaderFor(key, Use::Start);
    if (r.rule != Rule::Single) {
        throw std::logic_error("not a single-precision rule");
    }
    auto text = store.value(kSettingsSection, key);
    if (!text) {
        return current;
    }
    auto n = ParseNumber(*text);
    if (!n || std::fabs(*n) > std::numeric_limits<float>::max()) {
        return current;
    }
    return static_cast<float>(*n);
}

void WriteText(SettingsStore& store, std::string_view key, std::string_view text) {
    store.setValue(kSettingsSection, key, text);
}

void WriteDigit(SettingsStore& store, std::string_view key, int state) {
    store.setValue(kSettingsSection, key, std::to_string(state));
}

void WriteBooleanWord(SettingsStore& store, std::string_view key, bool value) {
    store.setValue(kSettingsSection, key, value ? "True" : "False");
}

void WriteNumber(SettingsStore& store, std::string_view key, float value) {
    // Shortest text that reads back as the same single-precision number.
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    store.setValue(kSettingsSection, key, std::string_view(buf, static_cast<size_t>(end - buf)));
}

}  // namespace veltra::settings
