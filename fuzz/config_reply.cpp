// The transmitter's FC frames: ParseConfigReply and CheckConfigEcho (the write check has a
// target of its own). First bytes: the parameter code and value of the write whose echo is
// checked.
#include "config_frames.h"
#include "fuzz_support.h"

using fuzz::Reply;
using protocol::Frame;

namespace {

bool Framed(const Reply& reply) {
    return fuzz::Starts(reply, 0xFC, 0xFC, 0xFC) && fuzz::EndsInCrc(reply);
}

bool ParseReply(const Reply& reply) {
    bool first = false;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        std::uint16_t value = fuzz::Filled<std::uint16_t>(pattern);
        const bool ok = protocol::ParseConfigReply(reply.data(), reply.size(), &value);
        if (ok) {
            FUZZ_EXPECT(reply.size() >= 9 && Framed(reply));
            FUZZ_EXPECT(value == fuzz::WordAt(reply, 5));
        } else {
            FUZZ_EXPECT(fuzz::Untouched(value, pattern));
        }
        if (pattern == fuzz::kSentinels[0]) first = ok;
        FUZZ_EXPECT(ok == first);
    }
    return first;
}

bool CheckEcho(const Frame& request, const Reply& reply) {
    const bool ok = protocol::CheckConfigEcho(request, reply.data(), reply.size());
    if (ok) {
        FUZZ_EXPECT(reply.size() >= 9);
        for (std::size_t i = 0; i < 9; ++i) FUZZ_EXPECT(reply[i] == request[i]);
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
    for (const Reply& reply : fuzz::ReceivedAndSealed(rest)) {
        ParseReply(reply);
        CheckEcho(request, reply);
    }

    fuzz::Bytes whole = fuzz::Sized(rest, 7);
    whole[0] = whole[1] = whole[2] = protocol::kConfigMarker;
    const Reply framed(fuzz::WithCrc(whole));
    FUZZ_EXPECT(ParseReply(framed));
    FUZZ_EXPECT(CheckEcho(request, Reply(fuzz::ToBytes(request))));
    return 0;
}
