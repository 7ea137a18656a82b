#include "register_client.h"

#include <bit>

namespace protocol {

ExchangeStatus RegisterClient::NotSent() {
    lastVerdict_ = Verdict::NotSent;
    return ExchangeStatus::PortClosed;
}

ExchangeStatus RegisterClient::Concluded(ExchangeStatus status) {
    if (status == ExchangeStatus::Ok) link_.ReplyAccepted();
    return status;
}

std::size_t RegisterClient::Exchange(const Frame& request, const transport::WaitPolicy& wait) {
    const std::size_t n = link_.Exchange(request.data(), request.size, reply_, sizeof reply_, wait);
    lastVerdict_ = JudgeReply({request.data(), request.size}, {reply_, n});
    return n;
}

ExchangeStatus RegisterClient::ReadRegisters(std::uint16_t reg, std::uint8_t count,
                                             std::uint16_t* values,
                                             const transport::WaitPolicy& wait) {
    if (!link_.IsOpen()) return NotSent();
    const std::uint8_t address = link_.DeviceAddress();
    const std::size_t n = Exchange(BuildReadRegisters(address, reg, count), wait);
    std::uint16_t regs[256];
    const ExchangeStatus status = CheckReadReply(address, count, reply_, n, regs);
    if (status == ExchangeStatus::Ok) {
        link_.ReplyAccepted();
        for (std::size_t i = 0; i < count; ++i) values[i] = regs[i];
    }
    return status;
}

ExchangeStatus RegisterClient::ReadRegister(std::uint16_t reg, std::uint16_t* value) {
    return ReadRegisters(reg, 1, value);
}

ExchangeStatus RegisterClient::ReadRegisterPair(std::uint16_t reg, std::uint32_t* value) {
    std::uint16_t words[2];
    const ExchangeStatus status = ReadRegisters(reg, 2, words);
    if (status == ExchangeStatus::Ok) *value = std::uint32_t{words[0]} << 16 | words[1];
    return status;
}

ExchangeStatus RegisterClient::ReadFloat(std::uint16_t reg, float* value) {
    std::uint32_t bits = 0;
    const ExchangeStatus status = ReadRegisterPair(reg, &bits);
    if (status == ExchangeStatus::Ok) *value = std::bit_cast<float>(bits);
    return status;
}

ExchangeStatus RegisterClient::WriteRegister(std::uint16_t reg, std::uint16_t value) {
    if (!link_.IsOpen()) return NotSent();
    const Frame request = BuildWriteRegister(link_.DeviceAddress(), reg, value);
    const std::size_t n = Exchange(request, transport::kRegisterWait);
    return Concluded(CheckWriteReply(request, reply_, n));
}

ExchangeStatus RegisterClient::WriteRegisterPair(std::uint16_t reg, std::uint32_t value) {
    if (!link_.IsOpen()) return NotSent();
    const Frame request = BuildWriteRegisterPair(link_.DeviceAddress(), reg, value);
    const std::size_t n = Exchange(request, transport::kRegisterWait);
    return Concluded(CheckWritePairReply(request, reply_, n));
}

}  // namespace protocol
