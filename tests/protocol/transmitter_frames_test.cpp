// The transmitter's FC parameter frame and the gateway's FB frames: layouts on the wire and
// what their reply checks accept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_frames.h"
#include "frame_bytes.h"
#include "modbus_crc.h"
#include "wireless_frames.h"

using namespace protocol;
using namespace framebytes;

namespace {

// A configuration-mode reply: sleep time, bitmap, bytes 32-38, optionally 55 AA + relay.
Bytes GatewayReply(std::uint8_t command, std::uint16_t sleep, std::uint8_t firstNodes, bool relay) {
    Bytes b{0xFB,
            0xFB,
            0xFB,
            command,
            1,
            static_cast<std::uint8_t>(sleep >> 8),
            static_cast<std::uint8_t>(sleep & 0xFF)};
    b.push_back(firstNodes);
    b.insert(b.end(), 23, 0);
    b.push_back(0x80);  // node 200
    b.insert(b.end(), 7, 0);
    if (relay) b.insert(b.end(), {0x55, 0xAA, 1, 1, 9, 2});
    return WithCrc(b);
}

}  // namespace

TEST(TransmitterFrames, BuildersLayOutEveryFrame) {
    const struct {
        std::string name;
        Frame frame;
        Bytes expected;
    } cases[] = {
        {"config read", BuildConfigRead(1), WithCrc({0xFC, 0xFC, 0xFC, 1, 0, 0, 0})},
        {"config write", BuildConfigWrite(2, 0x8005),
         WithCrc({0xFC, 0xFC, 0xFC, 2, 1, 0x80, 0x05})},
        {"config write max", BuildConfigWrite(11, 0xFFFF),
         WithCrc({0xFC, 0xFC, 0xFC, 11, 1, 0xFF, 0xFF})},
        {"enter", BuildEnterConfigMode(), WithCrc({0xFB, 0xFB, 0xFB, 1, 1, 0, 0, 0, 0})},
        {"exit", BuildExitConfigMode(), WithCrc({0xFB, 0xFB, 0xFB, 2, 1, 0, 0, 0, 0})},
        {"read channel", BuildReadChannel(), WithCrc({0xFB, 0xFB, 0xFB, 7, 0, 0})},
        {"configure node 1", BuildConfigureNode(0), WithCrc({0xFB, 0xFB, 0xFB, 3, 1, 0, 0})},
        {"configure node 200", BuildConfigureNode(199),
         WithCrc({0xFB, 0xFB, 0xFB, 3, 1, 199, 199})},
        {"clear node 200", BuildClearNode(199), WithCrc({0xFB, 0xFB, 0xFB, 6, 1, 199, 199})},
        {"read sleep", BuildReadSleepTime(), WithCrc({0xFB, 0xFB, 0xFB, 4, 0, 0, 0, 0})},
        {"write sleep", BuildWriteSleepTime(4464), WithCrc({0xFB, 0xFB, 0xFB, 4, 1, 0x11, 0x70})},
        {"write channel", BuildWriteChannel(63), WithCrc({0xFB, 0xFB, 0xFB, 7, 1, 63})},
        {"read climate", BuildReadClimate(), WithCrc({0xFB, 0xFB, 0xFB, 5, 1, 0, 0, 0})},
        {"read relay", BuildReadRelay(), WithCrc({0xFB, 0xFB, 0xFB, 8, 0, 0})},
        {"write relay", BuildWriteRelay(1, 40, 2), WithCrc({0xFB, 0xFB, 0xFB, 8, 1, 1, 40, 2})},
    };
    for (const auto& c : cases) EXPECT_EQ(ToBytes(c.frame), c.expected) << c.name;
    EXPECT_EQ(BuildConfigRead(1).size, 9u);
    EXPECT_EQ(BuildEnterConfigMode().size, 11u);
}

TEST(TransmitterFrames, ConfigReplyIsReadOnlyWithinItsLength) {
    const Bytes full = WithCrc({0xFC, 0xFC, 0xFC, 1, 0, 0x80, 0x05, 0, 0});
    const struct {
        std::string name;
        Bytes reply;
        bool ok;
        std::uint16_t value;
    } cases[] = {
        {"full reply", full, true, 0x8005},
        {"other code still accepted", WithCrc({0xFC, 0xFC, 0xFC, 9, 0, 0x00, 0x07, 0, 0}), true, 7},
        {"value and crc only", WithCrc({0xFC, 0xFC, 0xFC, 1, 0, 0x12, 0x34}), true, 0x1234},
        {"too short for the value", WithCrc({0xFC, 0xFC, 0xFC, 1, 0, 0x12}), false, 0},
        {"markers and crc only", WithCrc({0xFC, 0xFC, 0xFC}), false, 0},
        {"bad crc", Corrupt(full), false, 0},
        {"wrong marker", WithCrc({0xFC, 0xFD, 0xFC, 1, 0, 0, 5, 0, 0}), false, 0},
        {"gateway reply", WithCrc({0xFB, 0xFB, 0xFB, 1, 0, 0, 5, 0, 0}), false, 0},
    };
    for (const auto& c : cases) {
        std::uint16_t value = 0xEEEE;
        EXPECT_EQ(ParseConfigReply(c.reply.data(), c.reply.size(), &value), c.ok) << c.name;
        EXPECT_EQ(value, c.ok ? c.value : 0xEEEE) << c.name;
    }
}

// A parameter write (code 3, value 0x802D) is done only when the reply carries its code and
// the value written: the 9-byte echo or the 11-byte report.
TEST(TransmitterFrames, ConfigWriteReplyMustCarryCodeAndValue) {
    const Frame request = BuildConfigWrite(3, 0x802D);
    const Bytes echo = ToBytes(request);
    const struct {
        std::string name;
        Bytes reply;
        bool ok;
    } cases[] = {
        {"echo", echo, true},
        {"report of 11 bytes", WithCrc({0xFC, 0xFC, 0xFC, 3, 1, 0x80, 0x2D, 0x00, 0x07}), true},
        {"read-style operation byte", WithCrc({0xFC, 0xFC, 0xFC, 3, 0, 0x80, 0x2D}), true},
        {"other code", WithCrc({0xFC, 0xFC, 0xFC, 4, 1, 0x80, 0x2D}), false},
        {"other value, high byte", WithCrc({0xFC, 0xFC, 0xFC, 3, 1, 0x00, 0x2D}), false},
        {"other value, low byte", WithCrc({0xFC, 0xFC, 0xFC, 3, 1, 0x80, 0x2C}), false},
        {"value cut short", WithCrc({0xFC, 0xFC, 0xFC, 3, 1, 0x80}), false},
        {"markers and code", WithCrc({0xFC, 0xFC, 0xFC, 3}), false},
        {"markers only", WithCrc({0xFC, 0xFC, 0xFC}), false},
        {"bad crc", Corrupt(echo), false},
        {"two echoes",
         [&] {
             Bytes two = echo;
             two.insert(two.end(), echo.begin(), echo.end());
             return two;
         }(),
         false},
        {"wrong marker", WithCrc({0xFC, 0xFB, 0xFC, 3, 1, 0x80, 0x2D}), false},
        {"gateway reply", WithCrc({0xFB, 0xFB, 0xFB, 3, 1, 0x80, 0x2D}), false},
        {"modbus exception", WithCrc({0xFC, 0x83, 0x02}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckConfigWriteReply(request, c.reply.data(), c.reply.size()), c.ok) << c.name;
    for (std::size_t n = 0; n <= 3; ++n)
        EXPECT_FALSE(CheckConfigWriteReply(request, echo.data(), n)) << n;
}

TEST(TransmitterFrames, ConfigModeReplyTakesBitmapAndRelayBlockOnlyWhenReceived) {
    const Bytes relay = GatewayReply(1, 300, 0x05, true);
    const Bytes plain = GatewayReply(3, 60, 0x01, false);
    Bytes relayWithoutRate(relay.begin(), relay.begin() + 44);  // block cut before the air rate
    relayWithoutRate = WithCrc(relayWithoutRate);
    Bytes bitmapOnly(relay.begin(), relay.begin() + 32);
    bitmapOnly = WithCrc(bitmapOnly);
    Bytes shortBitmap(relay.begin(), relay.begin() + 31);
    shortBitmap = WithCrc(shortBitmap);
    const Bytes badCrc = Corrupt(relay);
    const struct {
        std::string name;
        Bytes reply;
        bool ok;
        std::uint16_t sleep;
        bool relayTaken;
    } cases[] = {
        {"with relay block", relay, true, 300, true},
        {"configure-node reply without relay", plain, true, 60, false},
        {"clear-node command byte", GatewayReply(6, 10, 0, false), true, 10, false},
        {"relay block cut short", relayWithoutRate, true, 300, false},
        {"through the bitmap only", bitmapOnly, true, 300, false},
        {"bitmap cut short", shortBitmap, false, 0, false},
        {"bad crc", badCrc, false, 0, false},
        {"other command", GatewayReply(2, 300, 0, true), false, 0, false},
    };
    for (const auto& c : cases) {
        GatewayState state;
        state.sleepTime = 0;
        state.relayMode = 7;  // kept unless a relay block arrives
        EXPECT_EQ(ParseConfigModeReply(c.reply.data(), c.reply.size(), &state), c.ok) << c.name;
        EXPECT_EQ(state.sleepTime, c.sleep) << c.name;
        EXPECT_EQ(state.relayMode, c.relayTaken ? 1 : 7) << c.name;
        if (c.relayTaken) {
            EXPECT_EQ(state.relaySupport, 1) << c.name;
            EXPECT_EQ(state.relayChannel, 9) << c.name;
            EXPECT_EQ(state.airRate, 2) << c.name;
        }
        if (c.ok) {
            EXPECT_EQ(state.NodeConfigured(1), (c.reply[7] & 1) != 0) << c.name;
            EXPECT_TRUE(state.NodeConfigured(200)) << c.name;
            EXPECT_FALSE(state.NodeConfigured(199)) << c.name;
        }
    }
}

TEST(TransmitterFrames, NodeBitmapIsLeastSignificantBitFirst) {
    GatewayState state;
    for (int node : {1, 8, 9, 200}) state.SetNode(node, true);
    EXPECT_EQ(state.nodes[0], 0x81);
    EXPECT_EQ(state.nodes[1], 0x01);
    EXPECT_EQ(state.nodes[24], 0x80);
    state.SetNode(8, false);
    state.SetNode(0, true);  // outside the table: ignored
    state.SetNode(201, true);
    EXPECT_EQ(state.nodes[0], 0x01);
    EXPECT_FALSE(state.NodeConfigured(0));
    EXPECT_FALSE(state.NodeConfigured(201));
}

TEST(TransmitterFrames, AnyGatewayReplyNeedsMarkersAndCrc) {
    EXPECT_TRUE(CheckWirelessReply(WithCrc({0xFB, 0xFB, 0xFB, 2, 1}).data(), 7));
    EXPECT_TRUE(CheckWirelessReply(WithCrc({0xFB, 0xFB, 0xFB}).data(), 5));
    EXPECT_FALSE(CheckWirelessReply(WithCrc({0xFB, 0xFB}).data(), 4));
    EXPECT_FALSE(CheckWirelessReply(WithCrc({0xFB, 0xFB, 0xFC, 2}).data(), 6));
    Bytes bad = WithCrc({0xFB, 0xFB, 0xFB, 2, 1});
    bad[5] ^= 0xFF;
    EXPECT_FALSE(CheckWirelessReply(bad.data(), bad.size()));
}

// A gateway set is done only when the reply names its command.
TEST(TransmitterFrames, WirelessCommandReplyMustNameTheCommand) {
    const Frame sleep = BuildWriteSleepTime(300);
    const Frame exit = BuildExitConfigMode();
    const struct {
        std::string name;
        const Frame* request;
        Bytes reply;
        bool ok;
    } cases[] = {
        {"echo", &sleep, ToBytes(sleep), true},
        {"command and crc", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 4}), true},
        {"exit reply", &exit, WithCrc({0xFB, 0xFB, 0xFB, 2, 1, 0, 0}), true},
        {"another command's reply", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 7, 1, 0x01, 0x2C}), false},
        {"exit answered as entering", &exit, WithCrc({0xFB, 0xFB, 0xFB, 1, 1, 0, 0}), false},
        {"markers only", &sleep, WithCrc({0xFB, 0xFB, 0xFB}), false},
        {"bad crc", &sleep, Corrupt(ToBytes(sleep)), false},
        {"two echoes", &sleep,
         [&] {
             Bytes two = ToBytes(sleep);
             const Bytes one = two;
             two.insert(two.end(), one.begin(), one.end());
             return two;
         }(),
         false},
        {"parameter frame", &sleep, WithCrc({0xFC, 0xFC, 0xFC, 4, 1, 0x01, 0x2C}), false},
        {"modbus exception", &sleep, WithCrc({0xFB, 0x84, 0x02}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWirelessCommandReply(*c.request, c.reply.data(), c.reply.size()), c.ok)
            << c.name;
    const Bytes echo = ToBytes(sleep);
    for (std::size_t n = 0; n <= 3; ++n)
        EXPECT_FALSE(CheckWirelessCommandReply(sleep, echo.data(), n)) << n;
}

TEST(TransmitterFrames, GatewayReadRepliesAreTakenOnlyWithinTheirLength) {
    // Which of sleep time (5-6), channel (5), climate (5-8) and relay (5-7, command 8) each
    // reply holds before its CRC.
    const struct {
        Bytes reply;
        bool sleep, channel, climate, relay;
    } cases[] = {
        {WithCrc({0xFB, 0xFB, 0xFB, 7, 0, 0x01}), false, true, false, false},
        {WithCrc({0xFB, 0xFB, 0xFB, 4, 0, 0x01, 0x2C}), true, true, false, false},
        {WithCrc({0xFB, 0xFB, 0xFB, 8, 0, 0x01, 0x2C, 0x02}), true, true, false, true},
        {WithCrc({0xFB, 0xFB, 0xFB, 7, 0, 0x01, 0x2C, 0x02}), true, true, false, false},
        {WithCrc({0xFB, 0xFB, 0xFB, 5, 1, 0x01, 0x2C, 0x02, 0x26}), true, true, true, false},
        {Corrupt(WithCrc({0xFB, 0xFB, 0xFB, 5, 1, 0x01, 0x2C, 0x02, 0x26})), false, false, false,
         false},
    };
    for (const auto& c : cases) {
        const std::uint8_t* r = c.reply.data();
        const std::size_t n = c.reply.size();
        std::uint16_t word = 0, humidity = 0;
        std::uint8_t channel = 0;
        RelayParameters relay;
        EXPECT_EQ(ParseSleepTimeReply(r, n, &word), c.sleep) << n;
        EXPECT_EQ(ParseChannelReply(r, n, &channel), c.channel) << n;
        EXPECT_EQ(ParseClimateReply(r, n, &word, &humidity), c.climate) << n;
        EXPECT_EQ(ParseRelayReply(r, n, &relay), c.relay) << n;
    }
}
