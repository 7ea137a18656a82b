#pragma once
// Polls the port every millisecond, collects bytes in the raw queue and, once the line has
// been silent for 30 polls, moves the whole burst into the frame queue at once.
#include <atomic>
#include <cstdint>
#include <thread>

#include "byte_queue.h"
#include "serial_port.h"

namespace transport {

class ReaderThread {
  public:
    static constexpr std::uint16_t kSilencePolls = 30;
    static constexpr std::size_t kReadSize = 256;

    ReaderThread(SerialPort& port, ByteQueue& raw, ByteQueue& frames);
    // Stops and joins the thread: it never outlives the port and queues it works on.
    ~ReaderThread();
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;

    // Longest sleep while nothing is on its way (the port is closed, or open with no burst
    // being collected); arriving bytes, Open and Close end it at once.
    static constexpr int kIdleWaitMs = 200;

    // Number of 1 ms polls made so far (for measuring the poll period).
    std::uint64_t Polls() const { return polls_.load(std::memory_order_relaxed); }

  private:
    void Run();
    void Poll();

    SerialPort& port_;
    ByteQueue& raw_;
    ByteQueue& frames_;
    std::uint16_t silence_ = 0;  // the silence counter; reader thread only
    std::uint8_t buffer_[kReadSize] = {};
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> polls_{0};
    std::thread thread_;
};

}  // namespace transport
