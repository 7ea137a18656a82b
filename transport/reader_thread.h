#pragma once
// Polls the port every millisecond, collects bytes in the raw queue and, once the line has
// been silent for 30 polls, moves the whole burst into the frame queue at once.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "byte_queue.h"
#include "serial_port.h"
#include "traffic_tap.h"

namespace transport {

class ReaderThread {
  public:
    static constexpr std::uint16_t kSilencePolls = 30;
    static constexpr std::size_t kReadSize = 256;
    // Longest sleep while nothing is on its way (the port is closed, or open with no burst
    // being collected); arriving bytes, Open, Close and Flush end it at once.
    static constexpr int kIdleWaitMs = 200;
    // A flush that waits for silence gives up waiting after this long on a line that never
    // falls silent (a chattering bus), and empties the queues anyway.
    static constexpr std::chrono::milliseconds kLongestFlushWait{1000};

    // What the flushes drop is recorded in `tap`.
    ReaderThread(SerialPort& port, ByteQueue& raw, ByteQueue& frames, TrafficTap& tap);
    // Stops and joins the thread: it never outlives the port and queues it works on.
    ~ReaderThread();
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;

    // Has the reader thread, the queues' only writer, empty both queues and returns once it
    // has (false when that took longer than `timeoutMs`). With `afterSilence` the reader
    // first watches the open line for 30 silent polls, so that bytes still on their way are
    // framed and dropped with the rest.
    bool Flush(bool afterSilence, int timeoutMs);

    // Number of bursts moved into the frame queue so far.
    std::uint64_t Bursts() const { return bursts_.load(std::memory_order_acquire); }
    // Sleeps until a burst after the first `seen` ones has been framed, or until `deadline`.
    void WaitForBurst(std::uint64_t seen, std::chrono::steady_clock::time_point deadline);

    // Number of 1 ms polls made so far (for measuring the poll period).
    std::uint64_t Polls() const { return polls_.load(std::memory_order_relaxed); }

  private:
    void Run();
    void Poll();
    // Runs a requested flush once its conditions hold (reader thread).
    void ServeFlush();
    bool FlushPending() const;

    SerialPort& port_;
    ByteQueue& raw_;
    ByteQueue& frames_;
    TrafficTap& tap_;
    std::uint16_t silence_ = 0;  // the silence counter; reader thread only
    std::uint8_t buffer_[kReadSize] = {};
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> polls_{0};
    std::atomic<std::uint64_t> bursts_{0};
    std::mutex burstMutex_;
    std::condition_variable framed_;

    // Flush requests: tickets asked by the UI thread, served in order by the reader.
    std::atomic<std::uint32_t> flushAsked_{0};
    std::atomic<bool> flushAfterSilence_{false};
    std::uint32_t flushDone_ = 0;     // guarded by flushMutex_
    std::uint32_t flushPending_ = 0;  // reader thread only: the ticket being served
    std::uint32_t flushServed_ = 0;   // reader thread only: the last ticket served
    std::chrono::steady_clock::time_point flushStart_{};
    std::mutex flushMutex_;
    std::condition_variable flushed_;

    std::thread thread_;  // last: starts after everything it uses
};

}  // namespace transport
