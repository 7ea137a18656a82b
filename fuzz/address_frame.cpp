// ParseAddressFrameReply: FD FD FD, baud code 1..3, address, CRC.
#include "fuzz_support.h"
#include "register_frames.h"

using fuzz::Reply;
using protocol::AddressInfo;

namespace {

bool Parse(const Reply& reply) {
    bool first = false;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        AddressInfo info = fuzz::Filled<AddressInfo>(pattern);
        const bool ok = protocol::ParseAddressFrameReply(reply.data(), reply.size(), &info);
        if (ok) {
            FUZZ_EXPECT(reply.size() >= 7 && fuzz::Starts(reply, 0xFD, 0xFD, 0xFD));
            FUZZ_EXPECT(reply[3] >= 1 && reply[3] <= 3);
            FUZZ_EXPECT(fuzz::EndsInCrc(reply));
            FUZZ_EXPECT(info.baudCode == reply[3] && info.address == reply[4]);
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
    const fuzz::Bytes bytes(data, data + size);
    for (const Reply& reply : fuzz::ReceivedAndSealed(bytes)) Parse(reply);

    fuzz::Bytes whole = fuzz::Sized(bytes, 5);
    whole[0] = whole[1] = whole[2] = 0xFD;
    whole[3] = static_cast<std::uint8_t>(1 + whole[3] % 3);
    FUZZ_EXPECT(Parse(Reply(fuzz::WithCrc(whole))));
    return 0;
}
