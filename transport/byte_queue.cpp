#include "byte_queue.h"

namespace transport {

void ByteQueue::Init() {
    write_.store(0, std::memory_order_release);
    read_.store(0, std::memory_order_release);
}

std::uint16_t ByteQueue::Count() const {
    const unsigned w = write_.load(std::memory_order_acquire);
    const unsigned r = read_.load(std::memory_order_acquire);
    return static_cast<std::uint16_t>(w >= r ? w - r : w + kSlots - r);
}

void ByteQueue::Push(std::uint8_t byte) {
    const std::uint16_t before = Count();
    const std::uint16_t w = write_.load(std::memory_order_relaxed);
    data_[w] = byte;
    if (before < kCapacity) write_.store((w + 1) % kSlots, std::memory_order_release);
}

std::uint8_t ByteQueue::Pop() {
    const std::uint16_t r = read_.load(std::memory_order_relaxed);
    const std::uint8_t byte = data_[r];
    read_.store((r + 1) % kSlots, std::memory_order_release);
    return byte;
}

}  // namespace transport
