// The transmitter model: parameter frames, the gateway's configuration mode, and the framing
// of every request kind it may see on the line.
#include "transmitter_device.h"

#include <gtest/gtest.h>

#include "config_frames.h"
#include "profiles.h"
#include "register_frames.h"

using namespace sim;

namespace {

std::shared_ptr<TransmitterDevice> Make(const std::string& profile) {
    return std::dynamic_pointer_cast<TransmitterDevice>(FindProfile(profile)->make({}));
}

Bytes Ask(Device& d, const protocol::Frame& f) {
    return d.Answer(f.data(), f.size);
}

}  // namespace

TEST(TransmitterDevice, ProfilesChooseAddressingAndRelaySupport) {
    const struct {
        std::string profile;
        bool fd, commBlock, relay;
        std::uint32_t baud;
    } cases[] = {
        {"transmitter", true, false, false, 4800},
        {"gateway", false, true, true, 9600},
    };
    for (const auto& c : cases) {
        auto d = Make(c.profile);
        ASSERT_TRUE(d) << c.profile;
        EXPECT_EQ(FindProfile(c.profile)->program, "quillet");
        EXPECT_EQ(d->Baud(), c.baud) << c.profile;
        EXPECT_EQ(!Ask(*d, protocol::BuildAddressFrame(0, 0)).empty(), c.fd) << c.profile;
        EXPECT_EQ(!Ask(*d, protocol::BuildCommBlockRead(0xFF)).empty(), c.commBlock) << c.profile;
        const Bytes enter = Ask(*d, protocol::BuildEnterConfigMode());
        protocol::GatewayState state;
        ASSERT_TRUE(protocol::ParseConfigModeReply(enter.data(), enter.size(), &state));
        EXPECT_EQ(state.relaySupport != 0, c.relay) << c.profile;
        EXPECT_EQ(enter.size(), c.relay ? 47u : 41u) << c.profile;
        EXPECT_TRUE(d->InConfigMode());
        const Bytes exit = Ask(*d, protocol::BuildExitConfigMode());
        EXPECT_TRUE(protocol::CheckWirelessCommandReply(protocol::BuildExitConfigMode(),
                                                        exit.data(), exit.size()));
        EXPECT_FALSE(d->InConfigMode());
    }
}

TEST(TransmitterDevice, EveryParameterCodeReadsAndWrites) {
    auto d = Make("transmitter");
    for (std::uint8_t code : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15}) {
        const std::uint16_t value = static_cast<std::uint16_t>(0x8000 | code);
        const protocol::Frame write = protocol::BuildConfigWrite(code, value);
        const Bytes set = Ask(*d, write);
        EXPECT_EQ(set, Bytes(write.data(), write.data() + write.size)) << int(code);
        EXPECT_EQ(d->Parameter(code), value);
        std::uint16_t read = 0;
        const Bytes get = Ask(*d, protocol::BuildConfigRead(code));
        EXPECT_EQ(get.size(), 11u);
        ASSERT_TRUE(protocol::ParseConfigReply(get.data(), get.size(), &read)) << int(code);
        EXPECT_EQ(read, value);
    }
    for (std::uint8_t code : {0, 9, 10, 16})
        EXPECT_TRUE(Ask(*d, protocol::BuildConfigRead(code)).empty()) << int(code);
}

TEST(TransmitterDevice, ParameterWritesCanBeAnsweredWithTheReport) {
    TransmitterConfig config;
    config.reportParameterWrites = true;
    TransmitterDevice d(config, {}, TransmitterDevice::DefaultParameters());
    Bytes report{0xFC, 0xFC, 0xFC, 3, 1, 0x80, 0x2D, 0, 0};
    AppendCrc(report);
    EXPECT_EQ(Ask(d, protocol::BuildConfigWrite(3, 0x802D)), report);
    EXPECT_EQ(d.Parameter(3), 0x802D);
}

TEST(TransmitterDevice, FramesEveryRequestKind) {
    auto d = Make("transmitter");
    const struct {
        protocol::Frame frame;
    } cases[] = {
        {protocol::BuildConfigRead(1)},
        {protocol::BuildEnterConfigMode()},
        {protocol::BuildWirelessFrame(protocol::kConfigureNode, 1, {4, 4})},
        {protocol::BuildWirelessFrame(protocol::kSleepTime, 0, {0, 0, 0})},
        {protocol::BuildWirelessFrame(protocol::kSleepTime, 1, {0, 60})},
        {protocol::BuildWirelessFrame(protocol::kChannel, 0, {0})},
        {protocol::BuildWirelessFrame(protocol::kRelayParameters, 1, {1, 2, 3})},
        {protocol::BuildAddressFrame(0, 0)},
        {protocol::BuildReadRegisters(1, 0, 2)},
        {protocol::BuildCommBlockWrite(0xFF, {1, 3, 0, 0, 0})},
    };
    for (const auto& c : cases) {
        for (std::size_t n = 1; n < c.frame.size; ++n) {
            const std::size_t length = d->RequestLength(c.frame.data(), n);
            EXPECT_TRUE(length == 0 || length == c.frame.size) << n;  // waits for the rest
        }
        EXPECT_EQ(d->RequestLength(c.frame.data(), c.frame.size), c.frame.size);
    }
}

TEST(TransmitterDevice, GatewayAnswersOnlyInConfigurationModeAndRelayOnlyWithSupport) {
    for (const std::string profile : {"gateway", "transmitter"}) {
        SCOPED_TRACE(profile);
        auto d = Make(profile);
        const bool relay = profile == "gateway";
        EXPECT_TRUE(Ask(*d, protocol::BuildReadChannel()).empty());  // not in the mode yet
        Ask(*d, protocol::BuildEnterConfigMode());
        const struct {
            protocol::Frame request;
            bool answered;
        } cases[] = {
            {protocol::BuildWriteChannel(63), true},      {protocol::BuildWriteChannel(64), false},
            {protocol::BuildClearNode(199), true},        {protocol::BuildClearNode(200), false},
            {protocol::BuildWriteRelay(1, 40, 2), relay},
        };
        for (const auto& c : cases) {
            const Bytes echo(c.request.data(), c.request.data() + c.request.size);
            EXPECT_EQ(Ask(*d, c.request), c.answered ? echo : Bytes{}) << c.request[5];
        }
        const Bytes read = Ask(*d, protocol::BuildReadRelay());
        EXPECT_EQ(read.size(), relay ? 10u : 0u);
        Ask(*d, protocol::BuildExitConfigMode());
        EXPECT_TRUE(Ask(*d, protocol::BuildReadSleepTime()).empty());
    }
}
