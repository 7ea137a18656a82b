#pragma once
// The one connection a program has: port, raw and frame queues, reader thread and the
// current device address, with the request/reply cycle every command runs.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "byte_queue.h"
#include "reader_thread.h"
#include "serial_port.h"
#include "traffic_tap.h"

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
    // After an exchange that did not end with an accepted reply, the next request waits this
    // long after the give-up, then for the line to fall silent for the framing gap, and the
    // queues are emptied: a reply that comes late can never be taken for the next one's.
    static constexpr std::chrono::milliseconds kLateReplyGuard{150};

    SerialLink();
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    SerialPort& Port() { return port_; }
    bool IsOpen() const { return port_.IsOpen(); }
    // The line went away under the program (hang-up, a pulled adapter) and was closed.
    bool Lost() const { return port_.Lost(); }
    // Close, SetParams(path, 8N1, baud), Open, and both queues emptied: nothing of an earlier
    // connection reaches the next request. Nonzero on success.
    int Reopen(const std::string& path, std::uint32_t baud);

    std::uint8_t DeviceAddress() const { return address_; }
    void SetDeviceAddress(std::uint8_t address) { address_ = address; }

    // Empties up to `maximum` bytes of the frame queue into `buffer`.
    std::size_t TakeFrame(std::uint8_t* buffer, std::size_t maximum);

    // Flush, write the request, wait for the first burst as the policy says. Returns the
    // burst's length (0 when none came); the burst is in `reply` (at most `maximum` bytes).
    // Until the caller says the reply was accepted (ReplyAccepted), the exchange counts as
    // failed, and the next one first waits out a late reply (kLateReplyGuard).
    std::size_t Exchange(const std::uint8_t* request, std::size_t length, std::uint8_t* reply,
                         std::size_t maximum, const WaitPolicy& wait = kRegisterWait);
    // The caller's check accepted the last exchange's reply.
    void ReplyAccepted() { settled_ = true; }
    // The last exchange got no byte at all (a silent device, not a bad reply).
    bool LastExchangeSilent() const { return lastSilent_; }

    // Every frame written, burst taken or dropped and wait given up on this link.
    TrafficTap& Tap() { return tap_; }
    const TrafficTap& Tap() const { return tap_; }

    std::uint64_t ReaderPolls() const { return reader_.Polls(); }
    // Bytes read but not yet framed (the line has not been silent long enough).
    std::uint16_t PendingRawBytes() const { return raw_.Count(); }

  private:
    // Waits out a late reply of a failed exchange and empties the queues.
    void Settle();

    SerialPort port_;
    ByteQueue raw_;
    ByteQueue frames_;
    std::uint8_t address_ = 0;
    bool settled_ = true;      // the last exchange ended with an accepted reply (UI thread)
    bool lastSilent_ = false;  // UI thread
    std::chrono::steady_clock::time_point giveUp_{};
    TrafficTap tap_;
    ReaderThread reader_;  // last: starts after, and stops before, what it uses
};

}  // namespace transport
