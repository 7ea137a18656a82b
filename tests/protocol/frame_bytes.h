#pragma once
// Frames as byte vectors for the protocol tests: a built frame's bytes, a CRC appended, and a
// frame whose CRC no longer fits.
#include <cstdint>
#include <vector>

#include "frame.h"
#include "modbus_crc.h"

namespace framebytes {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(const protocol::Frame& f) {
    return Bytes(f.data(), f.data() + f.size);
}

inline Bytes WithCrc(Bytes b) {
    const std::uint16_t crc = protocol::ModbusCrc16(b.data(), b.size());
    b.push_back(crc & 0xFF);
    b.push_back(crc >> 8);
    return b;
}

inline Bytes Corrupt(Bytes b) {
    b.back() ^= 0x5A;
    return b;
}

}  // namespace framebytes
