#include "port/receive_filter.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Filtered(ReceiveFilter& f, Bytes in) {
    f.apply(in);
    return in;
}

TEST(ReceiveFilter, PassesEveryByteWhenNothingIsAsked) {
    ReceiveFilter f;
    EXPECT_EQ(Filtered(f, {0x00, 0x1A, 0xFF, 0xFE}), (Bytes{0x00, 0x1A, 0xFF, 0xFE}));
}

TEST(ReceiveFilter, NullDiscardDropsOnlyZeroBytes) {
    ReceiveFilter f(true, false, std::nullopt);
    EXPECT_EQ(Filtered(f, {0x00, 0x01, 0x00, 0xFF, 0x00}), (Bytes{0x01, 0xFF}));
}

TEST(ReceiveFilter, MarkedErrorsAreReplacedAndEscapedFFIsData) {
    ReceiveFilter f(false, true, std::uint8_t{'?'});
    // A good 0x41, a data 0xFF, a byte 0x42 with a parity error, a data 0x00.
    EXPECT_EQ(Filtered(f, {0x41, 0xFF, 0xFF, 0xFF, 0x00, 0x42, 0x00}),
              (Bytes{0x41, 0xFF, '?', 0x00}));

    ReceiveFilter keep(false, true, std::nullopt);
    EXPECT_EQ(Filtered(keep, {0xFF, 0x00, 0x42}), (Bytes{0x42}));
}

TEST(ReceiveFilter, AMarkSplitAcrossReadsIsDecodedAsOne) {
    ReceiveFilter f(true, true, std::uint8_t{'?'});
    EXPECT_EQ(Filtered(f, {0x10, 0xFF}), (Bytes{0x10}));
    EXPECT_EQ(Filtered(f, {0x00}), Bytes{});
    EXPECT_EQ(Filtered(f, {0x42, 0xFF}), (Bytes{'?'}));
    EXPECT_EQ(Filtered(f, {0xFF, 0x00, 0x20}), (Bytes{0xFF, 0x20}));  // zero dropped by NullDiscard

    // Closing the port forgets a half-read mark.
    Filtered(f, {0xFF});
    f.reset();
    EXPECT_EQ(Filtered(f, {0x00, 0x30}), (Bytes{0x30}));
}

TEST(ReceiveFilter, AnUnexpectedByteAfterTheEscapeIsKept) {
    ReceiveFilter f(false, true, std::uint8_t{'?'});
    EXPECT_EQ(Filtered(f, {0xFF, 0x41}), (Bytes{0xFF, 0x41}));
}

}  // namespace
}  // namespace veltra
