#include "port/connection.h"

#include <utility>

#include "port/error_report.h"
#include "port/port_errors.h"
#include "shell/modal_guard.h"
#include "shell/settings.h"

namespace veltra {

Connection::Connection(SerialPort& port, SettingsStore& store, Timer& watchdogTimer, Prompt& prompt,
                       TopMostOps& window, std::function<std::int32_t()> recvCount,
                       std::function<void()> setDefaults, LineSpeedSetter setBaudRate)
    : port_(port),
      store_(store),
      watchdogTimer_(watchdogTimer),
      prompt_(prompt),
      window_(window),
      recvCount_(std::move(recvCount)),
      setDefaults_(std::move(setDefaults)),
      setBaudRate_(std::move(setBaudRate)) {
    watchdogTimer_.setOnTick([this] { onWatchdogTick(); });
}

void Connection::report(const PortError& error) {
    ShowErrorReport(prompt_, window_, store_, error);
}

bool Connection::IsPortOpen() const {
    return port_.isOpen();
}

void Connection::initCommPort() {
    // A stored value that is no number at all is the user's to see: the
    // reader's fallback to port 1 would quietly open some other port.
    if (auto stored = store_.value(kSettingsSection, "CommPort")) {
        auto number = settings::ParseNumber(*stored);
        if (!number || !settings::RoundWhole(*number)) {
            report(port_errors::CommPortNotNumber(*stored));
            return;
        }
    }
    if (auto e =
            port_.setCommPort(settings::ReadInt(store_, "CommPort", settings::Use::InitPort))) {
        report(*e);
    }
}

void Connection::InitPort() {
    auto step = [this](PortResult result) {
        if (result) {
            report(*result);
        }
    };
    initCommPort();
    step(port_.setSettings("4800,n,8,1"));
    step(port_.setDtrEnable(false));
    step(port_.setEofEnable(false));
    step(port_.setHandshaking(0));
    step(port_.setInBufferSize(30000));
    step(port_.setInputLen(0));
    step(port_.setInputMode(1));
    step(port_.setNullDiscard(false));
    step(port_.setOutBufferSize(30000));
    step(port_.setParityReplace("?"));
    step(port_.setRThreshold(1));
    step(port_.setRtsEnable(true));
    step(port_.setSThreshold(0));
}

void Connection::Connect() {
    if (connecting_ || IsPortOpen()) {
        return;
    }
    connecting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{connecting_};

    InitPort();
    if (auto e = port_.open()) {
        report(*e);
        return;
    }
    ++openings_;
    if (auto e = setBaudRate_(port_, kLineSpeed)) {
        report(*e);
        return;
    }
    watchdogTimer_.start();
}

void Connection::Disconnect() {
    watchdogTimer_.stop();
    if (port_.isOpen()) {
        port_.close();
    }
    if (setDefaults_) {
        setDefaults_();
    }
}

void Connection::onWatchdogTick() {
    const std::int32_t count = recvCount_();
    if (count != LastRecvCount) {
        LastRecvCount = count;
        return;
    }
    // No tick while the message is up: the loss is reported once.
    watchdogTimer_.stop();
    const auto opening = openings_;
    ModalGuard(window_, store_, [&] {
        prompt_.show("Veltra Scope", "Error: Veltra Scope Not Connected!", PromptIcon::Exclamation,
                     PromptButtons::Ok);
    });
    // The port stayed open while the message was up, so data arriving
    // meanwhile was still received. Close it now, unless the user has made
    // a new connection in the meantime.
    if (opening != openings_) {
        return;
    }
    if (port_.isOpen()) {
        port_.close();
    }
    if (setDefaults_) {
        setDefaults_();
    }
}

}  // namespace veltra
