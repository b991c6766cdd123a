#pragma once
// A raw capture file, replayed in pieces the size of one frame.

#include <memory>
#include <string>

#include "chunk_source.h"

namespace veltra::sim {

class CaptureSource : public ChunkSource {
public:
    // Reads the whole file; nothing and a reason in `error` when it cannot be
    // read, is empty, or is too large to hold.
    static std::unique_ptr<CaptureSource> Load(const std::string& path, bool loop,
                                               std::string& error);
    // The same for bytes already read from `path` (named in messages only).
    static std::unique_ptr<CaptureSource> FromBytes(std::vector<std::uint8_t> bytes,
                                                    const std::string& path, bool loop,
                                                    std::string& error);

    bool Next(std::vector<std::uint8_t>& chunk) override;

private:
    CaptureSource(std::vector<std::uint8_t> bytes, bool loop)
        : bytes_(std::move(bytes)), loop_(loop) {}

    std::vector<std::uint8_t> bytes_;
    bool loop_;
    std::size_t pos_ = 0;
};

}  // namespace veltra::sim
