#pragma once
// A request frame: at most a few dozen bytes, built without allocation.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace protocol {

struct Frame {
    static constexpr std::size_t kMax = 64;
    std::array<std::uint8_t, kMax> bytes{};
    std::size_t size = 0;

    Frame() = default;
    Frame(std::initializer_list<std::uint8_t> init) {
        for (std::uint8_t b : init) Put(b);
    }
    void Put(std::uint8_t b) {
        if (size < kMax) bytes[size++] = b;
    }
    void Put16(std::uint16_t v) {
        Put(static_cast<std::uint8_t>(v >> 8));
        Put(static_cast<std::uint8_t>(v & 0xFF));
    }
    // Appends the CRC of everything so far, low byte first.
    void AppendCrc();

    const std::uint8_t* data() const { return bytes.data(); }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
};

}  // namespace protocol
