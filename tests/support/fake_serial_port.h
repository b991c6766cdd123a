#pragma once
// A serial port that records what is done to it; failures can be injected per
// operation by name.

#include <map>
#include <string>
#include <vector>

#include "port/serial_port.h"

namespace veltra::test {

class FakeSerialPort : public SerialPort {
public:
    PortResult setCommPort(int n) override { return record("CommPort", std::to_string(n)); }
    PortResult setSettings(const std::string& s) override { return record("Settings", s); }
    PortResult setDtrEnable(bool on) override {
        auto r = record("DTREnable", on ? "1" : "0");
        if (!r) {
            dtr = on;
            dtrHistory.push_back(on);
        }
        return r;
    }
    PortResult setEofEnable(bool on) override { return record("EOFEnable", on ? "1" : "0"); }
    PortResult setHandshaking(int m) override { return record("Handshaking", std::to_string(m)); }
    PortResult setInBufferSize(int b) override { return record("InBufferSize", std::to_string(b)); }
    PortResult setInputLen(int b) override { return record("InputLen", std::to_string(b)); }
    PortResult setInputMode(int m) override { return record("InputMode", std::to_string(m)); }
    PortResult setNullDiscard(bool on) override { return record("NullDiscard", on ? "1" : "0"); }
    PortResult setOutBufferSize(int b) override {
        return record("OutBufferSize", std::to_string(b));
    }
    PortResult setParityReplace(const std::string& r) override {
        return record("ParityReplace", r);
    }
    PortResult setRThreshold(int b) override { return record("RThreshold", std::to_string(b)); }
    PortResult setRtsEnable(bool on) override { return record("RTSEnable", on ? "1" : "0"); }
    PortResult setSThreshold(int b) override { return record("SThreshold", std::to_string(b)); }

    PortResult open() override {
        auto r = record("open", "");
        if (!r) {
            open_ = true;
        }
        return r;
    }
    void close() override {
        calls.push_back("close");
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    int nativeHandle() const override { return open_ ? 42 : -1; }
    void setReceiveHandler(ReceiveHandler h) override { handler = std::move(h); }

    void setUrgencyTest(UrgencyTest test) override { urgencyTest = std::move(test); }
    void deliverPending() override { ++pendingDeliveries; }

    // Delivers bytes as the port would on an arrival.
    void receive(std::span<const std::uint8_t> bytes) {
        if (handler) {
            handler(kCommEventReceive, bytes);
        }
    }
    // An arrival as a port that reads on a thread of its own meets it: asked
    // whether it is urgent, then delivered (a real port may hold it back for
    // a while). Returns the answer.
    bool arrive(std::span<const std::uint8_t> bytes) {
        const bool urgent = !urgencyTest || urgencyTest(bytes);
        receive(bytes);
        return urgent;
    }

    std::vector<std::string> calls;             // "Name=value" per successful or failed write
    std::map<std::string, PortError> failures;  // operation name -> failure to return
    bool dtr = false;
    std::vector<bool> dtrHistory;
    ReceiveHandler handler;
    UrgencyTest urgencyTest;
    int pendingDeliveries = 0;

private:
    PortResult record(const std::string& name, const std::string& value) {
        calls.push_back(value.empty() ? name : name + "=" + value);
        if (auto it = failures.find(name); it != failures.end()) {
            return it->second;
        }
        return std::nullopt;
    }
    bool open_ = false;
};

}  // namespace veltra::test
