// CheckWriteReply (function 6) and CheckWritePairReply (function 16, two registers). The first
// bytes give the request, built by the protocol's own builders: address, register, and the
// 32-bit value (its low half for the single write).
#include "fuzz_support.h"
#include "register_frames.h"

using fuzz::Reply;
using protocol::ExchangeStatus;
using protocol::Frame;

namespace {

bool EchoesRequest(const Frame& request, const Reply& reply, std::size_t length) {
    if (reply.size() < length || request.size < length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (reply[i] != request[i]) return false;
    return true;
}

ExchangeStatus CheckSingle(const Frame& request, const Reply& reply) {
    const ExchangeStatus status = protocol::CheckWriteReply(request, reply.data(), reply.size());
    if (status == ExchangeStatus::Ok)
        FUZZ_EXPECT(EchoesRequest(request, reply, 8));  // the whole request, CRC included
    else
        FUZZ_EXPECT(status == ExchangeStatus::NoReply || status == ExchangeStatus::CheckFailed);
    return status;
}

ExchangeStatus CheckPair(const Frame& request, const Reply& reply) {
    const ExchangeStatus status =
        protocol::CheckWritePairReply(request, reply.data(), reply.size());
    if (status != ExchangeStatus::Ok) {
        FUZZ_EXPECT(status == ExchangeStatus::NoReply || status == ExchangeStatus::CheckFailed);
        return status;
    }
    FUZZ_EXPECT(fuzz::EndsInCrc(reply));
    // Address, function, register and quantity, and nothing else.
    FUZZ_EXPECT(reply.size() == 8 && EchoesRequest(request, reply, 6));
    return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t address = in.Byte();
    const std::uint16_t reg = in.Word();
    const std::uint16_t high = in.Word();
    const std::uint16_t low = in.Word();
    const Frame single = protocol::BuildWriteRegister(address, reg, low);
    const Frame pair =
        protocol::BuildWriteRegisterPair(address, reg, std::uint32_t{high} << 16 | low);
    for (const Reply& reply : fuzz::ReceivedAndSealed(in.Rest())) {
        CheckSingle(single, reply);
        CheckPair(pair, reply);
    }

    FUZZ_EXPECT(CheckSingle(single, Reply(fuzz::ToBytes(single))) == ExchangeStatus::Ok);
    const fuzz::Bytes head(pair.data(), pair.data() + 6);
    FUZZ_EXPECT(CheckPair(pair, Reply(fuzz::WithCrc(head))) == ExchangeStatus::Ok);
    return 0;
}
