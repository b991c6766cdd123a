#include "link/hex.h"

namespace veltra {
namespace {

// Value of one hex digit; anything else counts as 0 (see Hex2Bin).
int NibbleValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 0;
}

}  // namespace

int HexDigitValue(char c) {
    return NibbleValue(c);
}

std::string ParseBytes(std::span<const std::uint8_t> arry) {
    std::string text;
    AppendHexText(text, arry);
    return text;
}

void AppendHexText(std::string& text, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::size_t at = text.size();
    text.resize(at + 3 * bytes.size());
    char* out = text.data() + at;
    for (std::uint8_t b : bytes) {
        *out++ = kDigits[b >> 4];
        *out++ = kDigits[b & 0x0F];
        *out++ = ' ';
    }
}

std::string Hex2Bin(std::string_view hex) {
    std::string bits;
    bits.reserve(hex.size() * 4);
    for (char c : hex) {
        const int v = NibbleValue(c);
        for (int weight = 8; weight != 0; weight >>= 1) {
            bits.push_back((v & weight) ? '1' : '0');
        }
    }
    return bits;
}

int GetBit(std::string_view hexNumber, int BitNum70) {
    // Same answer as indexing Hex2Bin(hexNumber), without building the text:
    // this runs 22 times per frame.
    const long index = 7L - BitNum70;  // 0-based position in the binary text
    if (index < 0 || index >= static_cast<long>(hexNumber.size()) * 4) {
        return 0;
    }
    const int v = NibbleValue(hexNumber[static_cast<std::size_t>(index / 4)]);
    return (v >> (3 - index % 4)) & 1;
}

}  // namespace veltra
