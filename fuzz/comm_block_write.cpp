// CheckCommBlockWriteReply: the reply to a write of the comm block (address, baud code,
// parity, stop bits at 0x0200). First bytes: the device's address, the address written to,
// and the new address and baud code the request carries.
#include "fuzz_support.h"
#include "register_frames.h"

using fuzz::Reply;
using protocol::Frame;

namespace {

const fuzz::Bytes kCommBlockHead = {protocol::kWriteMultiple, 0x02, 0x00, 0x00,
                                    protocol::kCommBlockCount};

bool Check(const Frame& request, std::uint8_t deviceAddress, const Reply& reply) {
    const bool ok =
        protocol::CheckCommBlockWriteReply(request, deviceAddress, reply.data(), reply.size());
    if (ok) {
        FUZZ_EXPECT(reply.size() == 8 && fuzz::EndsInCrc(reply));
        // The device answers from the address asked, its own or the new one (register 0x0200).
        FUZZ_EXPECT(reply[0] == request[0] || reply[0] == deviceAddress || reply[0] == request[8]);
        for (std::size_t i = 0; i < kCommBlockHead.size(); ++i)
            FUZZ_EXPECT(reply[1 + i] == kCommBlockHead[i]);
    }
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t deviceAddress = in.Byte();
    const std::uint8_t asked = in.Byte();
    const std::uint8_t newAddress = in.Byte();
    const std::uint8_t baudCode = in.Byte();
    const Frame request = protocol::BuildCommBlockWrite(asked, {newAddress, baudCode, 0, 1, 0});
    for (const Reply& reply : fuzz::ReceivedAndSealed(in.Rest()))
        Check(request, deviceAddress, reply);

    for (const std::uint8_t from : {asked, deviceAddress, newAddress}) {
        fuzz::Bytes reply = {from};
        reply.insert(reply.end(), kCommBlockHead.begin(), kCommBlockHead.end());
        FUZZ_EXPECT(Check(request, deviceAddress, Reply(fuzz::WithCrc(reply))));
    }
    return 0;
}
