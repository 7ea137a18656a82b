#include "wireless_frames.h"

#include <algorithm>

#include "modbus_crc.h"

namespace protocol {

Frame BuildWirelessFrame(std::uint8_t command, std::uint8_t mode,
                         std::initializer_list<std::uint8_t> data) {
    Frame f{kWirelessMarker, kWirelessMarker, kWirelessMarker, command, mode};
    for (std::uint8_t b : data) f.Put(b);
    f.AppendCrc();
    return f;
}

Frame BuildEnterConfigMode() {
    return BuildWirelessFrame(kEnterConfigMode, 1, {0, 0, 0, 0});
}

Frame BuildExitConfigMode() {
    return BuildWirelessFrame(kExitConfigMode, 1, {0, 0, 0, 0});
}

Frame BuildConfigureNode(std::uint8_t index) {
    return BuildWirelessFrame(kConfigureNode, 1, {index, index});
}

Frame BuildClearNode(std::uint8_t index) {
    return BuildWirelessFrame(kClearNode, 1, {index, index});
}

Frame BuildReadSleepTime() {
    return BuildWirelessFrame(kSleepTime, 0, {0, 0, 0});
}

Frame BuildWriteSleepTime(std::uint16_t seconds) {
    return BuildWirelessFrame(
        kSleepTime, 1,
        {static_cast<std::uint8_t>(seconds >> 8), static_cast<std::uint8_t>(seconds & 0xFF)});
}

Frame BuildReadChannel() {
    return BuildWirelessFrame(kChannel, 0, {0});
}

Frame BuildWriteChannel(std::uint8_t channel) {
    return BuildWirelessFrame(kChannel, 1, {channel});
}

Frame BuildReadClimate() {
    return BuildWirelessFrame(kReadClimate, 1, {0, 0, 0});
}

Frame BuildReadRelay() {
    return BuildWirelessFrame(kRelayParameters, 0, {0});
}

Frame BuildWriteRelay(std::uint8_t mode, std::uint8_t channel, std::uint8_t airRate) {
    return BuildWirelessFrame(kRelayParameters, 1, {mode, channel, airRate});
}

bool GatewayState::NodeConfigured(int address) const {
    if (address < 1 || address > kGatewayNodes) return false;
    const int bit = address - 1;
    return (nodes[static_cast<std::size_t>(bit / 8)] >> (bit % 8)) & 1;
}

void GatewayState::SetNode(int address, bool configured) {
    if (address < 1 || address > kGatewayNodes) return;
    const int bit = address - 1;
    const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
    std::uint8_t& byte = nodes[static_cast<std::size_t>(bit / 8)];
    byte = static_cast<std::uint8_t>(configured ? byte | mask : byte & ~mask);
}

bool CheckWirelessReply(const std::uint8_t* reply, std::size_t n) {
    if (n < 3 + 2) return false;
    if (reply[0] != kWirelessMarker || reply[1] != kWirelessMarker || reply[2] != kWirelessMarker)
        return false;
    return CrcMatches(reply, n);
}

bool CheckWirelessCommandReply(const Frame& request, const std::uint8_t* reply, std::size_t n) {
    constexpr std::size_t kCommand = 3;
    if (n < kCommand + 1 + 2 || request.size <= kCommand) return false;
    return CheckWirelessReply(reply, n) && reply[kCommand] == request[kCommand];
}

bool CheckWirelessSetReply(const Frame& request, const std::uint8_t* reply, std::size_t n) {
    if (!CheckWirelessCommandReply(request, reply, n)) return false;
    // After the command: the mode byte and the data, as far as both the reply and the
    // request hold them before their CRCs.
    const std::size_t end = std::min(n, request.size) - 2;
    for (std::size_t i = 4; i < end; ++i)
        if (reply[i] != request[i]) return false;
    return true;
}

namespace {

// A gateway reply that holds every byte up to `end` (exclusive) before its CRC.
bool Holds(const std::uint8_t* reply, std::size_t n, std::size_t end) {
    return n >= end + 2 && CheckWirelessReply(reply, n);
}

std::uint16_t Word(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

}  // namespace

bool ParseSleepTimeReply(const std::uint8_t* reply, std::size_t n, std::uint16_t* seconds) {
    if (!Holds(reply, n, 7)) return false;
    *seconds = Word(reply + 5);
    return true;
}

bool ParseChannelReply(const std::uint8_t* reply, std::size_t n, std::uint8_t* channel) {
    if (!Holds(reply, n, 6)) return false;
    *channel = reply[5];
    return true;
}

bool ParseClimateReply(const std::uint8_t* reply, std::size_t n, std::uint16_t* temperature,
                       std::uint16_t* humidity) {
    if (!Holds(reply, n, 9)) return false;
    *temperature = Word(reply + 5);
    *humidity = Word(reply + 7);
    return true;
}

bool ParseRelayReply(const std::uint8_t* reply, std::size_t n, RelayParameters* out) {
    if (!Holds(reply, n, 8) || reply[3] != kRelayParameters) return false;
    *out = {reply[5], reply[6], reply[7]};
    return true;
}

bool ParseConfigModeReply(const std::uint8_t* reply, std::size_t n, GatewayState* state) {
    constexpr std::size_t kBitmapEnd = kGatewayNodeOffset + kGatewayNodeBytes;
    if (n < kBitmapEnd + 2 || !CheckWirelessReply(reply, n)) return false;
    const std::uint8_t command = reply[3];
    if (command != kEnterConfigMode && command != kConfigureNode && command != kClearNode)
        return false;
    state->sleepTime = static_cast<std::uint16_t>(reply[kGatewaySleepOffset] << 8 |
                                                  reply[kGatewaySleepOffset + 1]);
    for (std::size_t i = 0; i < kGatewayNodeBytes; ++i)
        state->nodes[i] = reply[kGatewayNodeOffset + i];
    // The relay block counts only when it lies wholly before the CRC.
    constexpr std::size_t kRelayEnd = kGatewayRelayMarker + 2 + kGatewayRelayBytes;
    if (n >= kRelayEnd + 2 && reply[kGatewayRelayMarker] == 0x55 &&
        reply[kGatewayRelayMarker + 1] == 0xAA) {
        const std::uint8_t* block = reply + kGatewayRelayMarker + 2;
        state->relaySupport = block[0];
        state->relayMode = block[1];
        state->relayChannel = block[2];
        state->airRate = block[3];
    }
    return true;
}

}  // namespace protocol
