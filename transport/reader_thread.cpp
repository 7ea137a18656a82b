#include "reader_thread.h"

#include <chrono>

namespace transport {

ReaderThread::ReaderThread(SerialPort& port, ByteQueue& raw, ByteQueue& frames)
    : port_(port), raw_(raw), frames_(frames), thread_([this] { Run(); }) {}

ReaderThread::~ReaderThread() {
    stop_.store(true, std::memory_order_release);
    port_.Wake();
    if (thread_.joinable()) thread_.join();
}

void ReaderThread::Run() {
    while (!stop_.load(std::memory_order_acquire)) {
        if (!port_.IsOpen()) {
            silence_ = 0;
            port_.WaitForInput(kIdleWaitMs);
            continue;
        }
        // With no burst being collected there is nothing to count: sleep until bytes come
        // instead of waking every millisecond for nothing.
        if (silence_ == 0) port_.WaitForInput(kIdleWaitMs);
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
    }
}

}  // namespace transport
