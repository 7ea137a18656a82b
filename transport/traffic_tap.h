#pragma once
// What passed on the line, for the traffic view, the diagnosis and the command-line trace:
// every frame written, every burst taken as a reply, every burst discarded, and every wait
// that ended without one. Bounded to the last kCapacity records; recording copies a few
// bytes into a slot allocated once, so a tap nobody reads costs next to nothing. Safe to
// record from the UI thread and the reader thread at once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace transport {

enum class TrafficEvent : std::uint8_t {
    Written,    // a request went out
    Taken,      // a burst was taken as the reply
    Discarded,  // a burst was dropped (see DiscardCause)
    NoReply,    // the wait ended without a burst
};

enum class DiscardCause : std::uint8_t {
    None,
    Stale,   // waiting in the frame queue before a request (nobody asked for it)
    Late,    // arrived after its exchange had given up
    Reopen,  // left over from before the port was re-opened
    Short,   // shorter than the wait asked for
};

struct TrafficRecord {
    static constexpr std::size_t kMaxBytes = 256;

    std::uint64_t sequence = 0;  // 1, 2, ... over the tap's life
    std::int64_t timeMs = 0;     // monotonic clock
    std::uint32_t baud = 0;      // the port's rate at the time
    TrafficEvent event = TrafficEvent::Written;
    DiscardCause cause = DiscardCause::None;
    std::uint32_t waitedMs = 0;  // NoReply: how long the wait lasted
    std::size_t length = 0;      // bytes on the line; only the first kMaxBytes are kept
    std::array<std::uint8_t, kMaxBytes> data{};

    std::span<const std::uint8_t> Bytes() const {
        return {data.data(), length < kMaxBytes ? length : kMaxBytes};
    }
};

class TrafficTap {
  public:
    static constexpr std::size_t kCapacity = 10000;

    void Record(TrafficEvent event, std::uint32_t baud, const std::uint8_t* bytes,
                std::size_t length, DiscardCause cause = DiscardCause::None,
                std::uint32_t waitedMs = 0);
    // The records after `sequence` still held, oldest first.
    std::vector<TrafficRecord> Since(std::uint64_t sequence) const;
    // The sequence number of the newest record (0 before the first).
    std::uint64_t LastSequence() const;
    void Clear();

    static std::int64_t NowMs();

  private:
    mutable std::mutex mutex_;
    std::vector<TrafficRecord> ring_;  // kCapacity slots, allocated at the first record
    std::uint64_t last_ = 0;
    std::uint64_t first_ = 1;  // oldest sequence still held
};

}  // namespace transport
