#include "transmitter_client.h"

#include <cstring>

#include "config_frames.h"

namespace quillet {
namespace {

constexpr std::size_t kShortestReply = 4;

}  // namespace

bool TransmitterClient::Accepted(bool ok) {
    if (ok) link_.ReplyAccepted();
    return ok;
}

std::size_t TransmitterClient::Exchange(const protocol::Frame& request,
                                        const transport::WaitPolicy& wait,
                                        const protocol::ReplyContext& context) {
    if (!link_.IsOpen()) {
        lastVerdict_ = protocol::Verdict::NotSent;
        return 0;
    }
    const std::size_t n = link_.Exchange(request.data(), request.size, reply_, sizeof reply_, wait);
    lastVerdict_ = protocol::JudgeReply({request.data(), request.size}, {reply_, n}, context);
    return n < kShortestReply ? 0 : n;
}

bool TransmitterClient::SendAddressFrame(std::uint8_t code, std::uint8_t address) {
    const protocol::Frame request = protocol::BuildAddressFrame(code, address);
    const std::size_t n = Exchange(request);
    protocol::AddressInfo info;
    if (!Accepted(protocol::CheckAddressFrameSetReply(request, reply_, n, &info))) return false;
    link_.SetDeviceAddress(info.address);
    baud_ = info.Baud();
    return true;
}

bool TransmitterClient::ReadCommBlock() {
    const std::size_t n = Exchange(protocol::BuildCommBlockRead(protocol::kBroadcastAddress));
    protocol::CommBlock block;
    if (!Accepted(protocol::ParseCommBlockReply(reply_, n, &block))) return false;
    block_ = block;
    link_.SetDeviceAddress(block.address);
    baud_ = block.Baud();
    return true;
}

bool TransmitterClient::WriteCommBlock(std::uint8_t address, std::uint8_t baudCode) {
    const protocol::Frame request =
        protocol::BuildCommBlockWrite(protocol::kBroadcastAddress, {address, baudCode, 0, 0, 0});
    const std::size_t n = Exchange(request, transport::kRegisterWait, {link_.DeviceAddress()});
    return Accepted(protocol::CheckCommBlockWriteReply(request, link_.DeviceAddress(), reply_, n));
}

void TransmitterClient::StoreCommBlock(std::uint8_t address, std::uint8_t baudCode) {
    block_.address = address;
    block_.baudCode = baudCode;
    link_.SetDeviceAddress(address);
    baud_ = block_.Baud();
}

bool TransmitterClient::ReadRegisters(std::uint16_t reg, std::uint8_t count,
                                      std::uint16_t* values) {
    const std::uint8_t target = broadcast_ ? protocol::kBroadcastAddress : link_.DeviceAddress();
    return ReadRegistersAt(target, reg, count, values);
}

bool TransmitterClient::ReadDeviceRegister(std::uint16_t reg, std::uint16_t* value) {
    return ReadRegistersAt(link_.DeviceAddress(), reg, 1, value);
}

bool TransmitterClient::ReadRegistersAt(std::uint8_t target, std::uint16_t reg, std::uint8_t count,
                                        std::uint16_t* values) {
    // In broadcast mode a device may answer from 0xFF or from the address it reported.
    protocol::ReplyContext context;
    if (broadcast_)
        context.alsoFrom = target == protocol::kBroadcastAddress ? link_.DeviceAddress()
                                                                 : protocol::kBroadcastAddress;
    const std::size_t n = Exchange(protocol::BuildReadRegisters(target, reg, count),
                                   transport::kRegisterWait, context);
    const bool either =
        broadcast_ && n > 0 &&
        (reply_[0] == protocol::kBroadcastAddress || reply_[0] == link_.DeviceAddress());
    const std::uint8_t expected = either ? reply_[0] : target;
    std::uint16_t words[255];
    if (!Accepted(protocol::CheckReadReply(expected, count, reply_, n, words) ==
                  protocol::ExchangeStatus::Ok))
        return false;
    std::memcpy(values, words, count * sizeof words[0]);
    return true;
}

protocol::ExchangeStatus TransmitterClient::WriteDeviceRegister(std::uint16_t reg,
                                                                std::uint16_t value) {
    const protocol::Frame request = protocol::BuildWriteRegister(link_.DeviceAddress(), reg, value);
    const std::size_t n = Exchange(request);
    if (n == 0) return protocol::ExchangeStatus::NoReply;
    const protocol::ExchangeStatus status = protocol::CheckWriteReply(request, reply_, n);
    Accepted(status == protocol::ExchangeStatus::Ok);
    return status;
}

bool TransmitterClient::ReadParameter(std::uint8_t code, std::uint16_t* value) {
    const std::size_t n = Exchange(protocol::BuildConfigRead(code));
    return Accepted(protocol::ParseConfigReply(reply_, n, value));
}

bool TransmitterClient::WriteParameter(std::uint8_t code, std::uint16_t value) {
    const protocol::Frame request = protocol::BuildConfigWrite(code, value);
    const std::size_t n = Exchange(request);
    return Accepted(protocol::CheckConfigWriteReply(request, reply_, n));
}

bool TransmitterClient::WriteParameterEchoed(std::uint8_t code, std::uint16_t value) {
    const protocol::Frame request = protocol::BuildConfigWrite(code, value);
    const std::size_t n = Exchange(request, transport::kRegisterWait, {.exactEcho = true});
    return Accepted(protocol::CheckConfigEcho(request, reply_, n));
}

bool TransmitterClient::EnterConfigMode(protocol::GatewayState* state) {
    std::memset(reply_, 0, sizeof reply_);
    const std::size_t n = Exchange(protocol::BuildEnterConfigMode(), transport::kConfigModeWait);
    return Accepted(protocol::ParseConfigModeReply(reply_, n, state));
}

bool TransmitterClient::ExitConfigMode() {
    std::memset(reply_, 0, sizeof reply_);
    const protocol::Frame request = protocol::BuildExitConfigMode();
    const std::size_t n = Exchange(request, transport::kConfigModeWait);
    return Accepted(protocol::CheckWirelessCommandReply(request, reply_, n));
}

bool TransmitterClient::WirelessCommand(const protocol::Frame& request) {
    const std::size_t n = Exchange(request);
    return Accepted(protocol::CheckWirelessSetReply(request, reply_, n));
}

bool TransmitterClient::ConfigureNode(std::uint8_t index, protocol::GatewayState* state) {
    const std::size_t n = Exchange(protocol::BuildConfigureNode(index), transport::kNodeWait);
    return Accepted(protocol::ParseConfigModeReply(reply_, n, state));
}

bool TransmitterClient::ClearNode(std::uint8_t index) {
    return WirelessCommand(protocol::BuildClearNode(index));
}

bool TransmitterClient::ReadSleepTime(std::uint16_t* seconds) {
    const std::size_t n = Exchange(protocol::BuildReadSleepTime());
    return Accepted(protocol::ParseSleepTimeReply(reply_, n, seconds));
}

bool TransmitterClient::WriteSleepTime(std::uint16_t seconds) {
    return WirelessCommand(protocol::BuildWriteSleepTime(seconds));
}

bool TransmitterClient::ReadChannel(std::uint8_t* channel) {
    const std::size_t n = Exchange(protocol::BuildReadChannel());
    return Accepted(protocol::ParseChannelReply(reply_, n, channel));
}

bool TransmitterClient::WriteChannel(std::uint8_t channel) {
    return WirelessCommand(protocol::BuildWriteChannel(channel));
}

bool TransmitterClient::ReadClimate(std::uint16_t* temperature, std::uint16_t* humidity) {
    const std::size_t n = Exchange(protocol::BuildReadClimate());
    return Accepted(protocol::ParseClimateReply(reply_, n, temperature, humidity));
}

bool TransmitterClient::ReadRelay(protocol::RelayParameters* out) {
    const std::size_t n = Exchange(protocol::BuildReadRelay());
    return Accepted(protocol::ParseRelayReply(reply_, n, out));
}

bool TransmitterClient::WriteRelay(const protocol::RelayParameters& p) {
    return WirelessCommand(protocol::BuildWriteRelay(p.mode, p.channel, p.airRate));
}

}  // namespace quillet
