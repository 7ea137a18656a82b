#include "modbus_crc.h"

#include <array>

namespace protocol {
namespace {

// The two classic Modbus byte tables: the reflected CRC of each byte value, split into the
// byte that mixes into the running low byte (kHigh) and the new high byte (kLow).
struct Tables {
    std::array<std::uint8_t, 256> high{};
    std::array<std::uint8_t, 256> low{};
};

constexpr Tables MakeTables() {
    Tables t;
    for (unsigned i = 0; i < 256; ++i) {
        unsigned v = i;
        for (int bit = 0; bit < 8; ++bit) v = (v & 1) ? (v >> 1) ^ 0xA001 : v >> 1;
        t.high[i] = static_cast<std::uint8_t>(v & 0xFF);
        t.low[i] = static_cast<std::uint8_t>(v >> 8);
    }
    return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

std::uint16_t ModbusCrc16(const std::uint8_t* bytes, std::size_t length) {
    std::uint8_t a = 0xFF;  // goes out first
    std::uint8_t b = 0xFF;
    for (std::size_t k = 0; k < length; ++k) {
        const std::uint8_t i = a ^ bytes[k];
        a = b ^ kTables.high[i];
        b = kTables.low[i];
    }
    return static_cast<std::uint16_t>(b << 8 | a);
}

bool CrcMatches(const std::uint8_t* bytes, std::size_t length) {
    if (length < 2) return false;
    const std::uint16_t crc = ModbusCrc16(bytes, length - 2);
    return bytes[length - 2] == (crc & 0xFF) && bytes[length - 1] == (crc >> 8);
}

}  // namespace protocol
