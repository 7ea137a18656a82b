#include "reader_thread.h"

namespace transport {

ReaderThread::ReaderThread(SerialPort& port, ByteQueue& raw, ByteQueue& frames, TrafficTap& tap)
    : port_(port), raw_(raw), frames_(frames), tap_(tap), thread_([this] { Run(); }) {}

ReaderThread::~ReaderThread() {
    stop_.store(true, std::memory_order_release);
    port_.Wake();
    if (thread_.joinable()) thread_.join();
}

bool ReaderThread::Flush(bool afterSilence, int timeoutMs) {
    std::unique_lock lock(flushMutex_);
    const std::uint32_t ticket = flushAsked_.load(std::memory_order_relaxed) + 1;
    flushAfterSilence_.store(afterSilence, std::memory_order_relaxed);
    flushAsked_.store(ticket, std::memory_order_release);
    port_.Wake();
    return flushed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return flushDone_ >= ticket; });
}

void ReaderThread::WaitForBurst(std::uint64_t seen,
                                std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(burstMutex_);
    framed_.wait_until(lock, deadline,
                       [&] { return bursts_.load(std::memory_order_acquire) != seen; });
}

void ReaderThread::ServeFlush() {
    const std::uint32_t asked = flushAsked_.load(std::memory_order_acquire);
    if (asked == flushServed_) return;
    const auto now = std::chrono::steady_clock::now();
    if (flushPending_ != asked) {
        flushPending_ = asked;
        flushStart_ = now;
        if (flushAfterSilence_.load(std::memory_order_relaxed) && port_.IsOpen()) {
            // Watch 30 fresh polls: bytes arriving now are still caught and dropped.
            silence_ = kSilencePolls;
            return;
        }
    } else if (silence_ != 0 && now - flushStart_ < kLongestFlushWait) {
        return;  // still watching the line; bytes keep resetting the counter
    }
    // Framed bursts are older than what the raw queue holds: keep that order in the record.
    std::uint8_t dropped[2 * ByteQueue::kCapacity];
    std::size_t n = 0;
    for (std::uint16_t c = frames_.Count(); c > 0; --c) dropped[n++] = frames_.Pop();
    for (std::uint16_t c = raw_.Count(); c > 0; --c) dropped[n++] = raw_.Pop();
    if (n)
        tap_.Record(TrafficEvent::Discarded, port_.Baud(), dropped, n,
                    flushAfterSilence_.load(std::memory_order_relaxed) ? DiscardCause::Late
                                                                       : DiscardCause::Reopen);
    silence_ = 0;
    flushServed_ = asked;
    {
        std::lock_guard lock(flushMutex_);
        flushDone_ = asked;
    }
    flushed_.notify_all();
}

bool ReaderThread::FlushPending() const {
    return flushAsked_.load(std::memory_order_acquire) != flushServed_;
}

void ReaderThread::Run() {
    while (!stop_.load(std::memory_order_acquire)) {
        ServeFlush();
        if (!port_.IsOpen()) {
            silence_ = 0;
            if (!FlushPending()) port_.WaitForInput(kIdleWaitMs);
            continue;
        }
        // With no burst being collected there is nothing to count: sleep until bytes come
        // instead of waking every millisecond for nothing.
        if (silence_ == 0 && !FlushPending()) port_.WaitForInput(kIdleWaitMs);
        Poll();
        polls_.fetch_add(1, std::memory_order_relaxed);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void ReaderThread::Poll() {
    if (!port_.IsOpen()) {
        silence_ = 0;
        return;
    }
    const std::size_t n = port_.Read(buffer_, kReadSize);
    if (n > 0) {
        for (std::size_t i = 0; i < n; ++i) raw_.Push(buffer_[i]);
        silence_ = kSilencePolls;
        return;
    }
    if (silence_ != 0 && --silence_ == 0) {
        const std::uint16_t c = raw_.Count();
        for (std::uint16_t i = 0; i < c; ++i) frames_.Push(raw_.Pop());
        {
            std::lock_guard lock(burstMutex_);
            bursts_.fetch_add(1, std::memory_order_release);
        }
        framed_.notify_all();
    }
}

}  // namespace transport
