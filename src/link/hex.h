#pragma once
// The receive path keeps detector data as hex text; these helpers convert
// bytes to that text and read single bits back out of it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace veltra {

// Each byte as two upper-case hex digits followed by one blank ("00 0A FE ").
std::string ParseBytes(std::span<const std::uint8_t> arry);
// The same text appended to `text`: the receive path keeps one buffer and
// grows it in place, so a read allocates nothing once the buffer has room.
void AppendHexText(std::string& text, std::span<const std::uint8_t> bytes);

// The value of one hex digit of either case; any other character is 0.
int HexDigitValue(char c);

// Four binary digits per hex digit, most significant first. Either case is
// accepted; any other character reads as "0000", so the result always has
// four characters per input character.
std::string Hex2Bin(std::string_view hex);

// Bit `BitNum70` (7 = 0x80 .. 0 = 0x01) of the byte written as two hex digits
// in `hexNumber`: the character at position 8 - BitNum70 of Hex2Bin(hexNumber).
// A position outside that text reads as 0.
int GetBit(std::string_view hexNumber, int BitNum70);

}  // namespace veltra
