// CheckAddressFrameSetReply: the FD reply to a set must report what was set, the new address
// (code 0) or the new baud code (1..3); the query (code 0, address 0) takes any report. First
// bytes: the request's code and address.
#include "fuzz_support.h"
#include "register_frames.h"

using fuzz::Reply;
using protocol::AddressInfo;
using protocol::Frame;

namespace {

bool Check(const Frame& request, const Reply& reply) {
    bool first = false;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        AddressInfo info = fuzz::Filled<AddressInfo>(pattern);
        const bool ok =
            protocol::CheckAddressFrameSetReply(request, reply.data(), reply.size(), &info);
        if (ok) {
            FUZZ_EXPECT(reply.size() >= 7 && fuzz::Starts(reply, 0xFD, 0xFD, 0xFD));
            FUZZ_EXPECT(reply[3] >= 1 && reply[3] <= 3);
            FUZZ_EXPECT(fuzz::EndsInCrc(reply));
            FUZZ_EXPECT(info.baudCode == reply[3] && info.address == reply[4]);
            // Code 0 with address 0 is the query, which any device's report answers.
            if (request[3] == 0 && request[4] != 0)
                FUZZ_EXPECT(reply[4] == request[4]);
            else if (request[3] != 0)
                FUZZ_EXPECT(reply[3] == request[3]);
        } else {
            FUZZ_EXPECT(fuzz::Untouched(info, pattern));
        }
        if (pattern == fuzz::kSentinels[0]) first = ok;
        FUZZ_EXPECT(ok == first);
    }
    return first;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t code = in.Byte() % 4;
    const std::uint8_t address = in.Byte();
    const Frame request = protocol::BuildAddressFrame(code, code == 0 ? address : 0);
    const fuzz::Bytes rest = in.Rest();
    for (const Reply& reply : fuzz::ReceivedAndSealed(rest)) Check(request, reply);

    fuzz::Bytes whole = fuzz::Sized(rest, 5);
    whole[0] = whole[1] = whole[2] = 0xFD;
    whole[3] = code != 0 ? code : static_cast<std::uint8_t>(1 + whole[3] % 3);
    if (code == 0) whole[4] = address;
    FUZZ_EXPECT(Check(request, Reply(fuzz::WithCrc(whole))));
    return 0;
}
