#pragma once
// The road of one frame: reception, decoding, then the log. The program and
// veltrascope-decode both run the received bytes through this, so what the
// tool prints is what the program would write.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "alerts/log_writer.h"
#include "link/display_decoder.h"
#include "link/frame_receiver.h"

namespace veltra {

class ReceivePath {
public:
    using RawLabel = std::function<void(std::string_view frame)>;

    ReceivePath(DisplayView& view, AlertHooks& alerts, MainWindowOps& window, LogSink& log,
                const TimeOfDay& clock, Prompt& prompt, RawLabel rawLabel = {});

    void onBytesReceived(int commEvent, std::span<const std::uint8_t> Input) {
        receiver_.onBytesReceived(commEvent, Input);
    }

    // What the program does with a read from the port: one receive event,
    // which hands on every whole frame the read completes.
    void OnBytesReceived(int commEvent, std::span<const std::uint8_t> bytes) {
        receiver_.onBytesReceived(commEvent, bytes);
    }

    // The checked states of "&Show Raw Messages" and "&Log Alert Data", read
    // at each frame.
    bool ShowRaw = false;
    bool LogData = false;

    FrameReceiver& receiver() { return receiver_; }
    const FrameReceiver& receiver() const { return receiver_; }
    DisplayDecoder& decoder() { return decoder_; }
    const DisplayDecoder& decoder() const { return decoder_; }
    LogWriter& logWriter() { return writer_; }
    const LogWriter& logWriter() const { return writer_; }

private:
    // Hands accepted frames to the label, the decoder and the log writer.
    class Steps : public FrameSink {
    public:
        explicit Steps(ReceivePath& path) : path_(path) {}
        bool ShowRawChecked() const override { return path_.ShowRaw; }
        void ShowRawFrame(std::string_view frame) override;
        void Process(std::string_view frame) override { path_.decoder_.Process(frame); }
        bool LogDataChecked() const override { return path_.LogData; }
        void LogData() override { path_.writer_.LogData(path_.decoder_.state()); }

    private:
        ReceivePath& path_;
    };

    RawLabel rawLabel_;
    Steps steps_{*this};
    FrameReceiver receiver_;
    DisplayDecoder decoder_;
    LogWriter writer_;
};

}  // namespace veltra
