#pragma once
// Fixed 4096-slot circular byte queue shared by the reader thread and the UI thread.
// One slot always stays free, so it holds at most 4095 bytes. Each index has a single
// writer; the other side reads it with acquire ordering.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace transport {

class ByteQueue {
  public:
    static constexpr std::uint16_t kSlots = 4096;
    static constexpr std::uint16_t kCapacity = kSlots - 1;

    ByteQueue() { Init(); }
    ByteQueue(const ByteQueue&) = delete;
    ByteQueue& operator=(const ByteQueue&) = delete;

    void Init();
    std::uint16_t Count() const;
    // On a full queue the byte goes into the free slot and the write index stays put,
    // so the byte is lost and the next Push overwrites the same slot.
    void Push(std::uint8_t byte);
    // Takes the byte at the read index without checking for emptiness; callers pop only
    // as many bytes as Count reported.
    std::uint8_t Pop();

  private:
    std::array<std::uint8_t, kSlots> data_{};
    std::atomic<std::uint16_t> write_{0};
    std::atomic<std::uint16_t> read_{0};
};

}  // namespace transport
