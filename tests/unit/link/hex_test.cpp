#include "link/hex.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace veltra {
namespace {

TEST(ParseBytes, WritesTwoUpperCaseDigitsAndABlankPerByte) {
    const std::vector<std::uint8_t> some = {0x00, 0x0A, 0xFE};
    EXPECT_EQ(ParseBytes(some), "00 0A FE ");
    EXPECT_EQ(ParseBytes({}), "");

    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    const std::string text = ParseBytes(all);
    ASSERT_EQ(text.size(), 3u * 256);
    for (int i = 0; i < 256; ++i) {
        const std::string pair = text.substr(std::size_t{3} * i, 2);
        EXPECT_EQ(std::stoi(pair, nullptr, 16), i);
        EXPECT_EQ(pair.find_first_of("abcdef"), std::string::npos) << pair;
        EXPECT_EQ(text[3 * i + 2], ' ');
    }
}

TEST(Hex2Bin, GivesFourBitsPerDigitInEitherCase) {
    EXPECT_EQ(Hex2Bin("A5"), "10100101");
    EXPECT_EQ(Hex2Bin("a5"), "10100101");
    EXPECT_EQ(Hex2Bin(""), "");
    for (const char* digits : {"0123456789ABCDEF", "abcdef"}) {
        for (const char* d = digits; *d; ++d) {
            const int v = std::stoi(std::string(1, *d), nullptr, 16);
            std::string expected;
            for (int bit = 3; bit >= 0; --bit) {
                expected += ((v >> bit) & 1) ? '1' : '0';
            }
            EXPECT_EQ(Hex2Bin(std::string(1, *d)), expected) << *d;
        }
    }
}

TEST(Hex2Bin, ReadsAnythingElseAsZeroAndKeepsFourCharactersEach) {
    EXPECT_EQ(Hex2Bin("G 1"), "000000000001");
    EXPECT_EQ(Hex2Bin(std::string("\xFF\x00Z", 3)), std::string(12, '0'));
}

TEST(GetBit, ReadsTheBitOfThatWeight) {
    EXPECT_EQ(GetBit("80", 7), 1);
    EXPECT_EQ(GetBit("80", 0), 0);
    EXPECT_EQ(GetBit("01", 0), 1);
    EXPECT_EQ(GetBit("10", 4), 1);
    EXPECT_EQ(GetBit("EF", 4), 0);
    for (int b = 0; b < 256; ++b) {
        const std::uint8_t byte[] = {static_cast<std::uint8_t>(b)};
        const std::string upper = ParseBytes(byte).substr(0, 2);
        std::string lower = upper;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (int n = 0; n <= 7; ++n) {
            EXPECT_EQ(GetBit(upper, n), (b >> n) & 1) << upper << " bit " << n;
            EXPECT_EQ(GetBit(lower, n), (b >> n) & 1) << lower << " bit " << n;
        }
    }
}

TEST(GetBit, PositionsOutsideTheTextReadAsZero) {
    EXPECT_EQ(GetBit("FF", 8), 0);
    EXPECT_EQ(GetBit("FF", INT_MAX), 0);
    EXPECT_EQ(GetBit("FF", INT_MIN), 0);
    EXPECT_EQ(GetBit("FF", -9), 0);
    EXPECT_EQ(GetBit("", 0), 0);
    EXPECT_EQ(GetBit("F", 0), 0);  // one digit: only bits 7..4 exist
    EXPECT_EQ(GetBit("F", 4), 1);
    // Longer text keeps counting positions along it, like the binary text.
    EXPECT_EQ(GetBit("00F", -1), 1);
    EXPECT_EQ(GetBit("00F", -5), 0);
}

}  // namespace
}  // namespace veltra
