// CheckWirelessCommandReply: the FB reply must name the command sent. First bytes choose the
// command (built by the protocol's own builders) and its argument.
#include "fuzz_support.h"
#include "wireless_frames.h"

using fuzz::Reply;
using protocol::Frame;

namespace {

Frame Request(std::uint8_t pick, std::uint8_t argument) {
    switch (pick % 11) {
        case 0:
            return protocol::BuildEnterConfigMode();
        case 1:
            return protocol::BuildExitConfigMode();
        case 2:
            return protocol::BuildConfigureNode(argument);
        case 3:
            return protocol::BuildClearNode(argument);
        case 4:
            return protocol::BuildReadSleepTime();
        case 5:
            return protocol::BuildWriteSleepTime(static_cast<std::uint16_t>(argument * 60));
        case 6:
            return protocol::BuildReadChannel();
        case 7:
            return protocol::BuildWriteChannel(argument);
        case 8:
            return protocol::BuildReadClimate();
        case 9:
            return protocol::BuildReadRelay();
        default:
            return protocol::BuildWriteRelay(argument & 3, argument >> 2 & 7, argument >> 5);
    }
}

bool Check(const Frame& request, const Reply& reply) {
    const bool ok = protocol::CheckWirelessCommandReply(request, reply.data(), reply.size());
    if (ok) {
        FUZZ_EXPECT(reply.size() >= 6 && fuzz::Starts(reply, 0xFB, 0xFB, 0xFB));
        FUZZ_EXPECT(reply[3] == request[3] && fuzz::EndsInCrc(reply));
    }
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t pick = in.Byte();
    const Frame request = Request(pick, in.Byte());
    const fuzz::Bytes rest = in.Rest();
    for (const Reply& reply : fuzz::ReceivedAndSealed(rest)) Check(request, reply);

    fuzz::Bytes whole = fuzz::Sized(rest, 9);
    whole[0] = whole[1] = whole[2] = protocol::kWirelessMarker;
    whole[3] = request[3];
    FUZZ_EXPECT(Check(request, Reply(fuzz::WithCrc(whole))));
    return 0;
}
