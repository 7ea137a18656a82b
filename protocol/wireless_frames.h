#pragma once
// The wireless gateway's frames (FB FB FB) and their reply checks. Pure functions.
//
// Request: FB FB FB, command, mode byte (0 for the reads of sleep time, channel and relay
// parameters, 1 for every other command), the command's data bytes, CRC. No device address.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "frame.h"

namespace protocol {

inline constexpr std::uint8_t kWirelessMarker = 0xFB;

enum WirelessCommand : std::uint8_t {
    kEnterConfigMode = 0x01,
    kExitConfigMode = 0x02,
    kConfigureNode = 0x03,
    kSleepTime = 0x04,
    kReadClimate = 0x05,
    kClearNode = 0x06,
    kChannel = 0x07,
    kRelayParameters = 0x08,
};

// The layout of a configuration-mode (or configure-node) reply.
inline constexpr std::size_t kGatewaySleepOffset = 5;  // 2 bytes, big-endian seconds
inline constexpr std::size_t kGatewayNodeOffset =
    7;  // 25 bytes, node k = bit (k-1)%8 of byte (k-1)/8
inline constexpr std::size_t kGatewayNodeBytes = 25;
inline constexpr std::size_t kGatewayRelayMarker = 39;  // 55 AA, then the relay block
inline constexpr std::size_t kGatewayRelayBytes = 4;    // support flag, mode, channel, air rate
inline constexpr int kGatewayNodes = 200;

Frame BuildWirelessFrame(std::uint8_t command, std::uint8_t mode,
                         std::initializer_list<std::uint8_t> data);
// FB FB FB 01 01 00 00 00 00 CRC and FB FB FB 02 01 00 00 00 00 CRC.
Frame BuildEnterConfigMode();
Frame BuildExitConfigMode();

// The gateway's commands. `index` is the node address minus 1 (0..199), sent twice.
Frame BuildConfigureNode(std::uint8_t index);  // 03 01 n n
Frame BuildClearNode(std::uint8_t index);      // 06 01 n n
Frame BuildReadSleepTime();                    // 04 00 00 00 00
Frame BuildWriteSleepTime(std::uint16_t seconds);
Frame BuildReadChannel();  // 07 00 00
Frame BuildWriteChannel(std::uint8_t channel);
Frame BuildReadClimate();  // 05 01 00 00 00
Frame BuildReadRelay();    // 08 00 00
Frame BuildWriteRelay(std::uint8_t mode, std::uint8_t channel, std::uint8_t airRate);

// What the gateway reports when it enters configuration mode (or configures a node).
struct GatewayState {
    std::uint16_t sleepTime = 0;
    std::array<std::uint8_t, kGatewayNodeBytes> nodes{};
    std::uint8_t relaySupport = 0;
    std::uint8_t relayMode = 0;
    std::uint8_t relayChannel = 0;
    std::uint8_t airRate = 0;

    // Node addresses 1..200; anything else is not configured.
    bool NodeConfigured(int address) const;
    void SetNode(int address, bool configured);
};

// Any gateway reply: FB FB FB and a matching CRC over the received bytes.
bool CheckWirelessReply(const std::uint8_t* reply, std::size_t n);
// The reply to a gateway command that sets something (sleep time, channel, relay
// parameters, clearing a node, leaving configuration mode): a gateway reply of at least
// 6 bytes whose command byte is the request's.
bool CheckWirelessCommandReply(const Frame& request, const std::uint8_t* reply, std::size_t n);
// The reply to a gateway set that carries a value (sleep time, channel, relay parameters,
// clearing a node): as above, and every byte it holds between the command byte and its CRC is
// the request's byte at the same place. A reply naming the command alone confirms the set; one
// naming another value (or another mode byte) does not.
bool CheckWirelessSetReply(const Frame& request, const std::uint8_t* reply, std::size_t n);
// The configuration-mode reply: FB FB FB, command byte 1, 3 or 6, a matching CRC and every
// byte through the node bitmap received (34 bytes). Sleep time and bitmap go into `state`;
// the relay block only when 55 AA and the four bytes after it arrived before the CRC,
// otherwise the relay values keep what they were. Nothing changes on a rejected reply.
bool ParseConfigModeReply(const std::uint8_t* reply, std::size_t n, GatewayState* state);

// The read replies, each checked as CheckWirelessReply and taken only when the bytes read
// lie before the CRC. Sleep time: bytes 5-6 big-endian. Channel: byte 5.
bool ParseSleepTimeReply(const std::uint8_t* reply, std::size_t n, std::uint16_t* seconds);
bool ParseChannelReply(const std::uint8_t* reply, std::size_t n, std::uint8_t* channel);
// Temperature (two's complement tenths) in bytes 5-6, humidity (unsigned tenths) in 7-8.
bool ParseClimateReply(const std::uint8_t* reply, std::size_t n, std::uint16_t* temperature,
                       std::uint16_t* humidity);

struct RelayParameters {
    std::uint8_t mode = 0;
    std::uint8_t channel = 0;
    std::uint8_t airRate = 0;
};
// Relay parameters: also byte 3 must be the relay command (8); then mode, channel and air
// rate in bytes 5, 6 and 7.
bool ParseRelayReply(const std::uint8_t* reply, std::size_t n, RelayParameters* out);

}  // namespace protocol
