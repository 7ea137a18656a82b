#pragma once
// CRC-16/MODBUS: reflected polynomial 0xA001, initial 0xFFFF, no final XOR. A frame carries
// the low byte first.
#include <cstddef>
#include <cstdint>

namespace protocol {

std::uint16_t ModbusCrc16(const std::uint8_t* bytes, std::size_t length);

// True when the last two of `length` bytes are the CRC of the ones before them.
bool CrcMatches(const std::uint8_t* bytes, std::size_t length);

}  // namespace protocol
