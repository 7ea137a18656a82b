#pragma once
// What every fuzz target shares: the oracle trap, the reply as a heap buffer of exactly its
// received length, a CRC computed from its definition (apart from the code under test), and
// frames made well-formed for the checks that must accept them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "frame.h"

// An oracle violation: say which and stop, so libFuzzer keeps the input as a crash.
#define FUZZ_EXPECT(condition)                                                                   \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "oracle failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap();                                                                    \
        }                                                                                        \
    } while (0)

namespace fuzz {

using Bytes = std::vector<std::uint8_t>;

// Takes parameter bytes from the front of an input (0 once it runs out); the rest is the reply.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    std::uint16_t Word() {
        const std::uint8_t high = Byte();
        return static_cast<std::uint16_t>(high << 8 | Byte());
    }
    Bytes Rest() const { return Bytes(data_, data_ + size_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A copy of a reply in a heap block of exactly its length, so AddressSanitizer reports any
// read past the last received byte. An empty reply still gets a (zero-sized) block.
class Reply {
  public:
    explicit Reply(const Bytes& bytes) : n_(bytes.size()), bytes_(new std::uint8_t[bytes.size()]) {
        if (n_) std::memcpy(bytes_.get(), bytes.data(), n_);
    }
    const std::uint8_t* data() const { return bytes_.get(); }
    std::size_t size() const { return n_; }
    std::uint8_t operator[](std::size_t i) const { return bytes_[i]; }
    // The same bytes as an entry's text.
    std::string_view Text() const {
        return std::string_view(reinterpret_cast<const char*>(bytes_.get()), n_);
    }

  private:
    std::size_t n_;
    std::unique_ptr<std::uint8_t[]> bytes_;
};

// CRC-16/MODBUS from its definition: the reflected polynomial 0xA001 applied one bit at a time
// (to each byte value once, kept in a table for speed), initial value 0xFFFF.
inline std::uint16_t ReferenceCrc(const std::uint8_t* bytes, std::size_t length) {
    static const std::array<std::uint16_t, 256> kStep = [] {
        std::array<std::uint16_t, 256> step{};
        for (unsigned value = 0; value < 256; ++value) {
            unsigned crc = value;
            for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1;
            step[value] = static_cast<std::uint16_t>(crc);
        }
        return step;
    }();
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>(crc >> 8 ^ kStep[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

// True when the reply ends in the CRC (low byte first) of the bytes before it.
inline bool EndsInCrc(const Reply& reply) {
    const std::size_t n = reply.size();
    if (n < 2) return false;
    const std::uint16_t crc = ReferenceCrc(reply.data(), n - 2);
    return reply[n - 2] == (crc & 0xFF) && reply[n - 1] == (crc >> 8);
}

inline Bytes WithCrc(Bytes bytes) {
    const std::uint16_t crc = ReferenceCrc(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    return bytes;
}

// The bytes as received, and the same bytes followed by their CRC: a random CRC is right once
// in 65536 tries, so the second form takes every input past the CRC test to the rest of a check.
inline std::array<Reply, 2> ReceivedAndSealed(const Bytes& bytes) {
    return {Reply(bytes), Reply(WithCrc(bytes))};
}

// The fuzzed bytes cut or zero-padded to `length`, for a caller to shape into a frame.
inline Bytes Sized(Bytes bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

inline Bytes ToBytes(const protocol::Frame& frame) {
    return Bytes(frame.data(), frame.data() + frame.size);
}

inline std::uint16_t WordAt(const Reply& reply, std::size_t at) {
    return static_cast<std::uint16_t>(reply[at] << 8 | reply[at + 1]);
}

inline bool Starts(const Reply& reply, std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return reply.size() >= 3 && reply[0] == a && reply[1] == b && reply[2] == c;
}

// Output objects are filled with one of these before a check, every byte alike; a refused
// reply must leave every byte as it was. Two runs with different patterns catch any write.
inline constexpr std::uint8_t kSentinels[] = {0x5A, 0xA5};

template <class T>
T Filled(std::uint8_t pattern) {
    T value;
    std::memset(static_cast<void*>(&value), pattern, sizeof value);
    return value;
}

inline bool AllBytes(const void* at, std::size_t length, std::uint8_t pattern) {
    const Bytes filled(length, pattern);
    return length == 0 || std::memcmp(at, filled.data(), length) == 0;
}

template <class T>
bool Untouched(const T& value, std::uint8_t pattern) {
    return AllBytes(&value, sizeof value, pattern);
}

}  // namespace fuzz
