#include "port/port_config.h"

#include <cctype>
#include <charconv>

#include "port/port_errors.h"

namespace veltra {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    return s;
}

// A whole decimal number with nothing else in the field.
std::optional<std::int64_t> Whole(std::string_view field) {
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || ec != std::errc() || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<LineSettings> Refuse(std::string* why, std::string reason) {
    if (why) {
        *why = std::move(reason);
    }
    return std::nullopt;
}

PortResult InRange(std::string_view property, int value, int low, int high, int& target) {
    if (value < low || value > high) {
        return port_errors::InvalidValue(
            property, std::to_string(value),
            "it takes " + std::to_string(low) + " to " + std::to_string(high));
    }
    target = value;
    return std::nullopt;
}

}  // namespace

std::optional<LineSettings> ParseLineSettings(std::string_view text, std::string* why) {
    std::string_view fields[4];
    std::size_t count = 0;
    std::string_view rest = text;
    while (true) {
        std::size_t comma = rest.find(',');
        if (count == 4) {
            return Refuse(why, "more than four fields");
        }
        fields[count++] = Trim(rest.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    if (count != 4) {
        return Refuse(why, "four fields are needed");
    }
    LineSettings line;
    auto speed = Whole(fields[0]);
    if (!speed || *speed <= 0 || *speed > INT32_MAX) {
        return Refuse(why, "the speed must be a whole number of bits per second above 0");
    }
    line.speed = static_cast<std::int32_t>(*speed);
    if (fields[1].size() != 1 ||
        std::string_view("neoms").find(static_cast<char>(
            std::tolower(static_cast<unsigned char>(fields[1][0])))) == std::string_view::npos) {
        return Refuse(why, "the parity must be one of n, e, o, m, s");
    }
    line.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(fields[1][0])));
    auto data = Whole(fields[2]);
    if (!data || *data < 5 || *data > 8) {
        return Refuse(why, "the data bits must be 5, 6, 7 or 8");
    }
    line.dataBits = static_cast<int>(*data);
    if (fields[3] == "1.5") {
        return Refuse(why, "1.5 stop bits are not supported on this system");
    }
    auto stop = Whole(fields[3]);
    if (!stop || (*stop != 1 && *stop != 2)) {
        return Refuse(why, "the stop bits must be 1 or 2");
    }
    line.stopBits = static_cast<int>(*stop);
    return line;
}

PortResult PortConfig::setCommPort(int number) {
    if (number < 1 || number > port_errors::kMaxPortNumber) {
        return port_errors::InvalidPortNumber(number);
    }
    commPort_ = number;
    return std::nullopt;
}

PortResult PortConfig::setSettings(const std::string& text) {
    std::string why;
    auto line = ParseLineSettings(text, &why);
    if (!line) {
        return port_errors::InvalidSettings(text, why);
    }
    settings_ = text;
    line_ = *line;
    return std::nullopt;
}

PortResult PortConfig::setEofEnable(bool on) {
    // The port reads raw bytes, so 0x1A is ordinary data. Stopping input at
    // it is a text-file convention this layer does not offer; refusing says
    // so instead of silently ignoring the request.
    if (on) {
        return port_errors::UnsupportedValue("EOFEnable", "True",
                                             "the end-of-file byte 0x1A is always passed on "
                                             "as data");
    }
    return std::nullopt;
}

PortResult PortConfig::setHandshaking(int mode) {
    if (mode == 3) {
        return port_errors::UnsupportedValue("Handshaking", "3",
                                             "XON/XOFF and RTS/CTS together; use one of them");
    }
    int value = 0;
    if (auto e = InRange("Handshaking", mode, 0, 2, value)) {
        return e;
    }
    handshaking_ = static_cast<Handshake>(value);
    return std::nullopt;
}

PortResult PortConfig::setInBufferSize(int bytes) {
    return InRange("InBufferSize", bytes, 1, kMaxBufferSize, inBufferSize_);
}

PortResult PortConfig::setInputLen(int bytes) {
    return InRange("InputLen", bytes, 0, kMaxBufferSize, inputLen_);
}

PortResult PortConfig::setInputMode(int mode) {
    int value = 0;
    if (auto e = InRange("InputMode", mode, 0, 1, value)) {
        return e;
    }
    inputMode_ = static_cast<InputMode>(value);
    return std::nullopt;
}

PortResult PortConfig::setOutBufferSize(int bytes) {
    return InRange("OutBufferSize", bytes, 1, kMaxBufferSize, outBufferSize_);
}

PortResult PortConfig::setParityReplace(const std::string& replacement) {
    if (replacement.size() > 1) {
        return port_errors::InvalidValue("ParityReplace", replacement,
                                         "it takes one character, or none to pass such bytes "
                                         "on unchanged");
    }
    parityReplace_ = replacement.empty()
                         ? std::nullopt
                         : std::optional<std::uint8_t>(static_cast<std::uint8_t>(replacement[0]));
    return std::nullopt;
}

PortResult PortConfig::setRThreshold(int bytes) {
    return InRange("RThreshold", bytes, 0, kMaxBufferSize, rThreshold_);
}

PortResult PortConfig::setSThreshold(int bytes) {
    return InRange("SThreshold", bytes, 0, kMaxBufferSize, sThreshold_);
}

}  // namespace veltra
