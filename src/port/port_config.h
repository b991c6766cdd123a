#pragma once
// The configuration a port holds while closed and applies when it opens: the
// fourteen properties with the values each accepts. Every setter validates
// and leaves the held value untouched when it refuses.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "port/serial_port.h"

namespace veltra {

// The line as a settings string such as "4800,n,8,1" describes it.
struct LineSettings {
    std::int32_t speed = 9600;
    char parity = 'n';  // n(one), e(ven), o(dd), m(ark), s(pace)
    int dataBits = 8;   // 5..8
    int stopBits = 1;   // 1 or 2
};

// Reads "speed,parity,data bits,stop bits"; blanks around a field are allowed
// and the parity letter may be either case.
std::optional<LineSettings> ParseLineSettings(std::string_view text, std::string* why = nullptr);

enum class Handshake { None = 0, XonXoff = 1, RtsCts = 2 };
enum class InputMode { Text = 0, Binary = 1 };

class PortConfig {
public:
    // Largest buffer a port accepts, in bytes.
    static constexpr int kMaxBufferSize = 1 << 20;

    PortResult setCommPort(int number);
    PortResult setSettings(const std::string& text);
    PortResult setEofEnable(bool on);
    PortResult setHandshaking(int mode);
    PortResult setInBufferSize(int bytes);
    PortResult setInputLen(int bytes);
    PortResult setInputMode(int mode);
    PortResult setOutBufferSize(int bytes);
    PortResult setParityReplace(const std::string& replacement);
    PortResult setRThreshold(int bytes);
    PortResult setSThreshold(int bytes);
    void setDtrEnable(bool on) { dtrEnable_ = on; }
    void setRtsEnable(bool on) { rtsEnable_ = on; }
    void setNullDiscard(bool on) { nullDiscard_ = on; }

    int commPort() const { return commPort_; }
    const std::string& settings() const { return settings_; }
    const LineSettings& line() const { return line_; }
    bool dtrEnable() const { return dtrEnable_; }
    bool rtsEnable() const { return rtsEnable_; }
    Handshake handshaking() const { return handshaking_; }
    int inBufferSize() const { return inBufferSize_; }
    int inputLen() const { return inputLen_; }
    InputMode inputMode() const { return inputMode_; }
    bool nullDiscard() const { return nullDiscard_; }
    int outBufferSize() const { return outBufferSize_; }
    // The byte put in place of one received with a parity error; nothing
    // means such bytes are passed on as they came.
    std::optional<std::uint8_t> parityReplace() const { return parityReplace_; }
    int rThreshold() const { return rThreshold_; }
    int sThreshold() const { return sThreshold_; }

private:
    int commPort_ = 1;
    std::string settings_ = "9600,n,8,1";
    LineSettings line_;
    bool dtrEnable_ = false;
    bool rtsEnable_ = false;
    Handshake handshaking_ = Handshake::None;
    int inBufferSize_ = 4096;
    int inputLen_ = 0;
    InputMode inputMode_ = InputMode::Binary;
    bool nullDiscard_ = false;
    int outBufferSize_ = 4096;
    std::optional<std::uint8_t> parityReplace_ = std::uint8_t{'?'};
    int rThreshold_ = 1;
    int sThreshold_ = 0;
};

}  // namespace veltra
