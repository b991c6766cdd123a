#include "port/port_config.h"

#include <gtest/gtest.h>

#include "port/port_errors.h"

namespace veltra {
namespace {

TEST(LineSettings, ReadsTheFourFields) {
    auto line = ParseLineSettings("4800,n,8,1");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->speed, 4800);
    EXPECT_EQ(line->parity, 'n');
    EXPECT_EQ(line->dataBits, 8);
    EXPECT_EQ(line->stopBits, 1);

    line = ParseLineSettings(" 7200 , E , 7 , 2 ");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->speed, 7200);
    EXPECT_EQ(line->parity, 'e');
    EXPECT_EQ(line->dataBits, 7);
    EXPECT_EQ(line->stopBits, 2);
}

TEST(LineSettings, RefusesMalformedTextSayingWhy) {
    for (const char* bad : {"", "4800", "4800,n,8", "4800,n,8,1,1", "fast,n,8,1", "0,n,8,1",
                            "-4800,n,8,1", "4800,x,8,1", "4800,no,8,1", "4800,n,9,1", "4800,n,4,1",
                            "4800,n,8,3", "4800,n,8,1.5", "99999999999,n,8,1", "48 00,n,8,1"}) {
        std::string why;
        EXPECT_FALSE(ParseLineSettings(bad, &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
}

TEST(PortConfig, RefusedWritesKeepTheHeldValueAndCarryANumber) {
    PortConfig c;
    ASSERT_FALSE(c.setSettings("4800,n,8,1"));
    auto e = c.setSettings("4800;n;8;1");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, port_errors::kInvalidSettings);
    EXPECT_NE(e->description.find("\"4800;n;8;1\""), std::string::npos);
    EXPECT_EQ(c.settings(), "4800,n,8,1");
    EXPECT_EQ(c.line().speed, 4800);

    ASSERT_FALSE(c.setCommPort(3));
    for (int bad : {0, -1, port_errors::kMaxPortNumber + 1}) {
        e = c.setCommPort(bad);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->number, port_errors::kInvalidPortNumber);
        EXPECT_NE(e->description.find(std::to_string(bad)), std::string::npos);
    }
    EXPECT_EQ(c.commPort(), 3);

    ASSERT_FALSE(c.setInBufferSize(30000));
    EXPECT_EQ(c.setInBufferSize(0)->number, port_errors::kInvalidValue);
    EXPECT_EQ(c.setInBufferSize(PortConfig::kMaxBufferSize + 1)->number,
              port_errors::kInvalidValue);
    EXPECT_EQ(c.inBufferSize(), 30000);

    EXPECT_EQ(c.setInputMode(2)->number, port_errors::kInvalidValue);
    EXPECT_EQ(c.setInputLen(-1)->number, port_errors::kInvalidValue);
    EXPECT_EQ(c.setRThreshold(-1)->number, port_errors::kInvalidValue);
    EXPECT_EQ(c.setSThreshold(-1)->number, port_errors::kInvalidValue);
    EXPECT_EQ(c.setOutBufferSize(0)->number, port_errors::kInvalidValue);
}

TEST(PortConfig, HandshakingAndEndOfFileTakeOnlyWhatTheLineCanDo) {
    PortConfig c;
    for (int mode : {0, 1, 2}) {
        EXPECT_FALSE(c.setHandshaking(mode)) << mode;
        EXPECT_EQ(static_cast<int>(c.handshaking()), mode);
    }
    EXPECT_EQ(c.setHandshaking(3)->number, port_errors::kUnsupportedValue);
    EXPECT_EQ(c.setHandshaking(-1)->number, port_errors::kInvalidValue);
    EXPECT_EQ(c.handshaking(), Handshake::RtsCts);

    EXPECT_FALSE(c.setEofEnable(false));
    EXPECT_EQ(c.setEofEnable(true)->number, port_errors::kUnsupportedValue);
}

TEST(PortConfig, ParityReplaceIsOneCharacterOrNone) {
    PortConfig c;
    ASSERT_FALSE(c.setParityReplace("?"));
    EXPECT_EQ(c.parityReplace(), std::uint8_t{'?'});
    ASSERT_FALSE(c.setParityReplace(""));
    EXPECT_FALSE(c.parityReplace());
    EXPECT_EQ(c.setParityReplace("??")->number, port_errors::kInvalidValue);
    EXPECT_FALSE(c.parityReplace());
}

}  // namespace
}  // namespace veltra
