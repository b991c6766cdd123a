#include "capture_source.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/frame_encoder.h"

namespace veltra::sim {
namespace {

// An hour at line rate is 2.6 MB; this is a day of stream and then some.
constexpr std::size_t kMaxCaptureBytes = std::size_t{64} << 20;

}  // namespace

std::unique_ptr<CaptureSource> CaptureSource::Load(const std::string& path, bool loop,
                                                   std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot read the capture " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buf[65536];
    bool tooLarge = false;
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (bytes.size() + n > kMaxCaptureBytes) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), buf, buf + n);
    }
    const bool failed = std::ferror(f);
    const int readErrno = errno;
    std::fclose(f);
    if (failed) {
        error = "cannot read the capture " + path + ": " + std::strerror(readErrno);
        return nullptr;
    }
    if (tooLarge) {
        error = "the capture " + path + " is larger than " +
                std::to_string(kMaxCaptureBytes >> 20) + " MiB";
        return nullptr;
    }
    return FromBytes(std::move(bytes), path, loop, error);
}

std::unique_ptr<CaptureSource> CaptureSource::FromBytes(std::vector<std::uint8_t> bytes,
                                                        const std::string& path, bool loop,
                                                        std::string& error) {
    if (bytes.size() > kMaxCaptureBytes) {
        error = "the capture " + path + " is larger than " +
                std::to_string(kMaxCaptureBytes >> 20) + " MiB";
        return nullptr;
    }
    if (bytes.empty()) {
        error = "the capture " + path + " is empty";
        return nullptr;
    }
    return std::unique_ptr<CaptureSource>(new CaptureSource(std::move(bytes), loop));
}

bool CaptureSource::Next(std::vector<std::uint8_t>& chunk) {
    if (pos_ == bytes_.size()) {
        if (!loop_) {
            return false;
        }
        pos_ = 0;
    }
    const std::size_t n = std::min(kFrameBytes, bytes_.size() - pos_);
    chunk.assign(bytes_.begin() + pos_, bytes_.begin() + pos_ + n);
    pos_ += n;
    return true;
}

}  // namespace veltra::sim
