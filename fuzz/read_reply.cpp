// CheckReadReply. First byte: the register count (1..19, or 255); second: the address asked.
#include "fuzz_support.h"
#include "register_frames.h"

using fuzz::Reply;
using protocol::ExchangeStatus;

namespace {

ExchangeStatus Check(std::uint8_t address, std::uint8_t count, const Reply& reply) {
    ExchangeStatus first = ExchangeStatus::PortClosed;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        // Exactly `count` registers, so a value stored past them is an overflow.
        std::unique_ptr<std::uint16_t[]> out(new std::uint16_t[count]);
        std::memset(out.get(), pattern, sizeof(std::uint16_t) * count);
        const ExchangeStatus status =
            protocol::CheckReadReply(address, count, reply.data(), reply.size(), out.get());
        if (status == ExchangeStatus::Ok) {
            FUZZ_EXPECT(reply.size() == 3 + 2 * std::size_t{count} + 2);
            FUZZ_EXPECT(reply[0] == address && reply[1] == protocol::kReadHolding);
            FUZZ_EXPECT(fuzz::EndsInCrc(reply));
            for (std::size_t i = 0; i < count; ++i)
                FUZZ_EXPECT(out[i] == fuzz::WordAt(reply, 3 + 2 * i));
        } else {
            FUZZ_EXPECT(status == ExchangeStatus::NoReply || status == ExchangeStatus::CheckFailed);
            FUZZ_EXPECT(fuzz::AllBytes(out.get(), sizeof(std::uint16_t) * count, pattern));
        }
        if (pattern == fuzz::kSentinels[0]) first = status;
        FUZZ_EXPECT(status == first);
    }
    return first;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t pick = in.Byte() % 20;
    const std::uint8_t count = pick == 0 ? 255 : pick;
    const std::uint8_t address = in.Byte();
    for (const Reply& reply : fuzz::ReceivedAndSealed(in.Rest())) Check(address, count, reply);

    // The same bytes as a complete reply of `count` registers must be read as one.
    fuzz::Bytes whole = fuzz::Sized(in.Rest(), 3 + 2 * std::size_t{count});
    whole[0] = address;
    whole[1] = protocol::kReadHolding;
    whole[2] = static_cast<std::uint8_t>(2 * count);
    FUZZ_EXPECT(Check(address, count, Reply(fuzz::WithCrc(whole))) == ExchangeStatus::Ok);
    return 0;
}
