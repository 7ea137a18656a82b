#pragma once
// A simulated field device: it tells where a request ends, answers it, and keeps its live
// values moving. Implementations lock their own state; the line calls them from its thread
// while tests change them from theirs.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

class Device {
  public:
    virtual ~Device() = default;
    // Length of the complete request at the start of `bytes`; 0 while more bytes are needed.
    virtual std::size_t RequestLength(const std::uint8_t* bytes, std::size_t n) const = 0;
    // The reply to one complete request; empty means the device stays silent.
    virtual Bytes Answer(const std::uint8_t* request, std::size_t n) = 0;
    // Called once the reply has gone out (a changed baud rate takes effect here).
    virtual void AfterReply() {}
    virtual std::uint32_t Baud() const = 0;
    // Moves the live values to the given time since start.
    virtual void Tick(double /*seconds*/) {}
};

}  // namespace sim
