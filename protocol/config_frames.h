#pragma once
// The transmitter's parameter frame (FC FC FC) and its reply check. Pure functions.
//
// Request, 9 bytes: FC FC FC, parameter code, 0 = read / 1 = write, value (big-endian),
// CRC. Reply: FC FC FC, two bytes, the value in bytes 5 and 6, a second value in bytes 7
// and 8 (unused), CRC. The frame carries no device address.
#include <cstddef>
#include <cstdint>

#include "frame.h"

namespace protocol {

inline constexpr std::uint8_t kConfigMarker = 0xFC;
inline constexpr std::uint8_t kConfigRead = 0;
inline constexpr std::uint8_t kConfigWrite = 1;

Frame BuildConfigFrame(std::uint8_t code, std::uint8_t operation, std::uint16_t value);
inline Frame BuildConfigRead(std::uint8_t code) {
    return BuildConfigFrame(code, kConfigRead, 0);
}
inline Frame BuildConfigWrite(std::uint8_t code, std::uint16_t value) {
    return BuildConfigFrame(code, kConfigWrite, value);
}

// A reply to the write `request`: FC FC FC, a matching CRC over the received bytes, at least
// 9 bytes, the request's code in byte 3 and the value written in bytes 5-6. The device's
// 9-byte echo passes, and so does its 11-byte report (value, second value, CRC).
bool CheckConfigWriteReply(const Frame& request, const std::uint8_t* reply, std::size_t n);
// A reply to a read: FC FC FC, a matching CRC, and long enough to hold the value and a CRC
// after it (9 bytes); a shorter reply is a failure, not a value taken from beyond it.
bool ParseConfigReply(const std::uint8_t* reply, std::size_t n, std::uint16_t* value);
// A write the device must echo: the reply's first 9 bytes equal the request's 9 bytes.
bool CheckConfigEcho(const Frame& request, const std::uint8_t* reply, std::size_t n);

}  // namespace protocol
