#include "traffic_tap.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace transport {

std::int64_t TrafficTap::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TrafficTap::Record(TrafficEvent event, std::uint32_t baud, const std::uint8_t* bytes,
                        std::size_t length, DiscardCause cause, std::uint32_t waitedMs) {
    const std::int64_t now = NowMs();
    std::lock_guard lock(mutex_);
    if (ring_.empty()) ring_.resize(kCapacity);
    const std::uint64_t sequence = ++last_;
    if (sequence - first_ >= kCapacity) first_ = sequence - kCapacity + 1;
    TrafficRecord& r = ring_[sequence % kCapacity];
    r.sequence = sequence;
    r.timeMs = now;
    r.baud = baud;
    r.event = event;
    r.cause = cause;
    r.waitedMs = waitedMs;
    r.length = length;
    if (length) std::memcpy(r.data.data(), bytes, std::min(length, TrafficRecord::kMaxBytes));
}

std::vector<TrafficRecord> TrafficTap::Since(std::uint64_t sequence) const {
    std::lock_guard lock(mutex_);
    std::vector<TrafficRecord> out;
    for (std::uint64_t s = std::max(sequence + 1, first_); s <= last_; ++s)
        out.push_back(ring_[s % kCapacity]);
    return out;
}

std::uint64_t TrafficTap::LastSequence() const {
    std::lock_guard lock(mutex_);
    return last_;
}

void TrafficTap::Clear() {
    std::lock_guard lock(mutex_);
    first_ = last_ + 1;
}

}  // namespace transport
