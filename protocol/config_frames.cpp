#include "config_frames.h"

#include "modbus_crc.h"

namespace protocol {
namespace {

constexpr std::size_t kValueEnd = 7;  // the value occupies bytes 5 and 6

bool HasMarkers(const std::uint8_t* reply) {
    return reply[0] == kConfigMarker && reply[1] == kConfigMarker && reply[2] == kConfigMarker;
}

}  // namespace

Frame BuildConfigFrame(std::uint8_t code, std::uint8_t operation, std::uint16_t value) {
    Frame f{kConfigMarker, kConfigMarker, kConfigMarker, code, operation};
    f.Put16(value);
    f.AppendCrc();
    return f;
}

bool CheckConfigWriteReply(const Frame& request, const std::uint8_t* reply, std::size_t n) {
    constexpr std::size_t kCode = 3;
    if (n < kValueEnd + 2 || request.size < kValueEnd) return false;
    if (!HasMarkers(reply) || !CrcMatches(reply, n)) return false;
    return reply[kCode] == request[kCode] && reply[5] == request[5] && reply[6] == request[6];
}

bool ParseConfigReply(const std::uint8_t* reply, std::size_t n, std::uint16_t* value) {
    if (n < kValueEnd + 2 || !HasMarkers(reply) || !CrcMatches(reply, n)) return false;
    *value = static_cast<std::uint16_t>(reply[5] << 8 | reply[6]);
    return true;
}

bool CheckConfigEcho(const Frame& request, const std::uint8_t* reply, std::size_t n) {
    constexpr std::size_t kFrameSize = 9;
    if (n < kFrameSize || request.size != kFrameSize) return false;
    for (std::size_t i = 0; i < kFrameSize; ++i)
        if (reply[i] != request[i]) return false;
    return true;
}

}  // namespace protocol
