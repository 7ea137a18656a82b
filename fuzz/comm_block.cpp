// ParseCommBlockReply: the five registers of the comm block read, from any address.
#include "fuzz_support.h"
#include "register_frames.h"

using fuzz::Reply;
using protocol::CommBlock;

namespace {

bool Parse(const Reply& reply) {
    bool first = false;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        CommBlock block = fuzz::Filled<CommBlock>(pattern);
        const bool ok = protocol::ParseCommBlockReply(reply.data(), reply.size(), &block);
        if (ok) {
            FUZZ_EXPECT(reply.size() >= 15);
            FUZZ_EXPECT(!(reply[1] & 0x80));  // not an exception
            FUZZ_EXPECT(fuzz::EndsInCrc(reply));
            FUZZ_EXPECT(block.address == reply[4] && block.baudCode == reply[6] &&
                        block.parity == reply[8] && block.stop1 == reply[10] &&
                        block.stop2 == reply[12]);
        } else {
            FUZZ_EXPECT(fuzz::Untouched(block, pattern));
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

    fuzz::Bytes whole = fuzz::Sized(bytes, 13);
    whole[1] = protocol::kReadHolding;
    whole[2] = 2 * protocol::kCommBlockCount;
    FUZZ_EXPECT(Parse(Reply(fuzz::WithCrc(whole))));
    return 0;
}
