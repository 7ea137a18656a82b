#pragma once
// The one connection a program has: port, raw and frame queues, reader thread and the
// current device address, with the request/reply cycle every command runs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "byte_queue.h"
#include "reader_thread.h"
#include "serial_port.h"

namespace transport {

// How long a request/reply cycle waits: up to `polls` rounds of sleeping `intervalMs` and
// taking the frame queue; the first take of at least `minLength` bytes ends the wait.
struct WaitPolicy {
    int polls = 50;
    int intervalMs = 10;
    std::size_t minLength = 1;
};

inline constexpr WaitPolicy kRegisterWait{50, 10, 1};
inline constexpr WaitPolicy kBlockWait{50, 20, 1};
inline constexpr WaitPolicy kNodeWait{100, 10, 1};
inline constexpr WaitPolicy kConfigModeWait{10, 600, 4};

class SerialLink {
  public:
    static constexpr std::size_t kReplySize = 1024;

    SerialLink();
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    SerialPort& Port() { return port_; }
    bool IsOpen() const { return port_.IsOpen(); }
    // Close, SetParams(path, 8N1, baud), Open. Nonzero on success.
    int Reopen(const std::string& path, std::uint32_t baud);

    std::uint8_t DeviceAddress() const { return address_; }
    void SetDeviceAddress(std::uint8_t address) { address_ = address; }

    // Empties up to `maximum` bytes of the frame queue into `buffer`.
    std::size_t TakeFrame(std::uint8_t* buffer, std::size_t maximum);

    // Flush, write the request, wait for the first burst as the policy says. Returns the
    // burst's length (0 when none came); the burst is in `reply` (at most `maximum` bytes).
    std::size_t Exchange(const std::uint8_t* request, std::size_t length, std::uint8_t* reply,
                         std::size_t maximum, const WaitPolicy& wait = kRegisterWait);

    std::uint64_t ReaderPolls() const { return reader_.Polls(); }
    // Bytes read but not yet framed (the line has not been silent long enough).
    std::uint16_t PendingRawBytes() const { return raw_.Count(); }

  private:
    SerialPort port_;
    ByteQueue raw_;
    ByteQueue frames_;
    std::uint8_t address_ = 0;
    ReaderThread reader_;  // last: starts after, and stops before, what it uses
};

}  // namespace transport
