#pragma once
// --trace: every frame the link wrote and every burst it took, dropped or waited for in
// vain, one line each on standard error, taken apart by the frame decoder.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "frame_decoder.h"
#include "serial_link.h"

namespace cli {

// The one line of a frame: direction, bytes in hex, what they are and the verdict.
std::string TraceLine(const protocol::FrameDescription& d, std::span<const std::uint8_t> bytes);

class Tracer {
  public:
    Tracer(transport::SerialLink& link, bool on, std::FILE* out = stderr)
        : link_(link), on_(on), out_(out) {}
    // Prints what passed since the last call.
    void Flush();

  private:
    transport::SerialLink& link_;
    bool on_;
    std::FILE* out_;
    std::uint64_t last_ = 0;
    protocol::TrafficDecoder decoder_;
};

}  // namespace cli
