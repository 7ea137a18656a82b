// CheckConfigWriteReply: the FC reply to a parameter write must name the code and carry the
// value written. First bytes: the code and value of the request.
#include "config_frames.h"
#include "fuzz_support.h"

using fuzz::Reply;
using protocol::Frame;

namespace {

bool Check(const Frame& request, const Reply& reply) {
    const bool ok = protocol::CheckConfigWriteReply(request, reply.data(), reply.size());
    if (ok) {
        FUZZ_EXPECT(reply.size() >= 9 && fuzz::Starts(reply, 0xFC, 0xFC, 0xFC));
        FUZZ_EXPECT(fuzz::EndsInCrc(reply));
        FUZZ_EXPECT(reply[3] == request[3] && reply[5] == request[5] && reply[6] == request[6]);
    }
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t code = in.Byte();
    const std::uint16_t value = in.Word();
    const Frame request = protocol::BuildConfigWrite(code, value);
    const fuzz::Bytes rest = in.Rest();
    for (const Reply& reply : fuzz::ReceivedAndSealed(rest)) Check(request, reply);

    fuzz::Bytes whole = fuzz::Sized(rest, 7);
    whole[0] = whole[1] = whole[2] = protocol::kConfigMarker;
    whole[3] = code;
    whole[5] = request[5];
    whole[6] = request[6];
    FUZZ_EXPECT(Check(request, Reply(fuzz::WithCrc(whole))));
    FUZZ_EXPECT(Check(request, Reply(fuzz::ToBytes(request))));
    return 0;
}
