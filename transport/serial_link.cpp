#include "serial_link.h"

#include <thread>

namespace transport {
namespace {

// The reader serves a flush within its own bound (kLongestFlushWait) once it runs; this only
// keeps the UI from hanging on a reader that cannot run at all. Going on before the flush is
// served would let it drop the next reply, so the bound is generous.
constexpr int kFlushTimeoutMs = 10000;
// Waits in steps up to this long are woken by each framed burst.
constexpr int kWakeOnBurstMaxStepMs = 20;

}  // namespace

SerialLink::SerialLink() : reader_(port_, raw_, frames_, tap_) {}

SerialLink::~SerialLink() = default;

int SerialLink::Reopen(const std::string& path, std::uint32_t baud) {
    port_.Close();
    port_.SetParams(path, 8, 0, 0, baud);
    const int opened = port_.Open();
    reader_.Flush(false, kFlushTimeoutMs);
    settled_ = true;
    return opened;
}

std::size_t SerialLink::TakeFrame(std::uint8_t* buffer, std::size_t maximum) {
    const std::size_t n = std::min<std::size_t>(frames_.Count(), maximum);
    for (std::size_t i = 0; i < n; ++i) buffer[i] = frames_.Pop();
    return n;
}

void SerialLink::Settle() {
    std::this_thread::sleep_until(giveUp_ + kLateReplyGuard);
    reader_.Flush(true, kFlushTimeoutMs);
    settled_ = true;
}

std::size_t SerialLink::Exchange(const std::uint8_t* request, std::size_t length,
                                 std::uint8_t* reply, std::size_t maximum, const WaitPolicy& wait) {
    if (!settled_) Settle();
    const std::uint32_t baud = port_.Baud();
    std::uint8_t stale[kReplySize];
    for (std::size_t n; (n = TakeFrame(stale, sizeof stale)) != 0;)
        tap_.Record(TrafficEvent::Discarded, baud, stale, n, DiscardCause::Stale);
    std::uint64_t seen = reader_.Bursts();
    const auto start = std::chrono::steady_clock::now();
    port_.Write(request, length);
    tap_.Record(TrafficEvent::Written, baud, request, length);
    std::size_t result = 0;
    bool anyBytes = false;
    const auto take = [&] {
        const std::size_t n = TakeFrame(reply, maximum);
        if (n == 0) return;
        anyBytes = true;
        if (n >= wait.minLength) {
            result = n;
            tap_.Record(TrafficEvent::Taken, baud, reply, n);
        } else {
            tap_.Record(TrafficEvent::Discarded, baud, reply, n, DiscardCause::Short);
        }
    };
    if (wait.intervalMs <= kWakeOnBurstMaxStepMs) {
        // Short steps: the reply is taken the moment the reader has framed it; the wait
        // still ends where `polls` steps of `intervalMs` would have ended it.
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(wait.polls * wait.intervalMs);
        while (result == 0) {
            reader_.WaitForBurst(seen, deadline);
            seen = reader_.Bursts();
            take();
            if (std::chrono::steady_clock::now() >= deadline) break;
        }
    } else {
        // Long steps (the configuration mode): whatever arrived within a step.
        for (int i = 0; i < wait.polls && result == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(wait.intervalMs));
            take();
        }
    }
    lastSilent_ = !anyBytes;
    settled_ = false;
    giveUp_ = std::chrono::steady_clock::now();
    if (result == 0) {
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(giveUp_ - start).count();
        tap_.Record(TrafficEvent::NoReply, baud, nullptr, 0, DiscardCause::None,
                    static_cast<std::uint32_t>(waited));
    }
    return result;
}

}  // namespace transport
