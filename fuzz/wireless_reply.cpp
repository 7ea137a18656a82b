// The gateway's FB replies: CheckWirelessReply and the reads of sleep time, channel, climate
// and relay parameters, each on the same bytes.
#include "fuzz_support.h"
#include "wireless_frames.h"

using fuzz::Reply;

namespace {

bool Framed(const Reply& reply) {
    return fuzz::Starts(reply, 0xFB, 0xFB, 0xFB) && fuzz::EndsInCrc(reply);
}

bool CheckReply(const Reply& reply) {
    const bool ok = protocol::CheckWirelessReply(reply.data(), reply.size());
    if (ok) FUZZ_EXPECT(reply.size() >= 5 && Framed(reply));
    return ok;
}

// Runs `parse` on outputs filled with each sentinel; `taken` judges an accepted reply, and a
// refused one must leave the outputs as they were.
template <class Out, class Parse, class Taken>
bool Judge(const Reply& reply, Parse parse, Taken taken) {
    bool first = false;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        Out out = fuzz::Filled<Out>(pattern);
        const bool ok = parse(out);
        if (ok) {
            FUZZ_EXPECT(Framed(reply));
            taken(out);
        } else {
            FUZZ_EXPECT(fuzz::Untouched(out, pattern));
        }
        if (pattern == fuzz::kSentinels[0]) first = ok;
        FUZZ_EXPECT(ok == first);
    }
    return first;
}

struct Climate {
    std::uint16_t temperature;
    std::uint16_t humidity;
};

// Every check on one reply; true when all of them accepted it.
bool CheckAll(const Reply& reply) {
    const std::uint8_t* bytes = reply.data();
    const std::size_t n = reply.size();
    bool all = CheckReply(reply);
    all &= Judge<std::uint16_t>(
        reply,
        [&](std::uint16_t& seconds) { return protocol::ParseSleepTimeReply(bytes, n, &seconds); },
        [&](std::uint16_t seconds) { FUZZ_EXPECT(n >= 9 && seconds == fuzz::WordAt(reply, 5)); });
    all &= Judge<std::uint8_t>(
        reply,
        [&](std::uint8_t& channel) { return protocol::ParseChannelReply(bytes, n, &channel); },
        [&](std::uint8_t channel) { FUZZ_EXPECT(n >= 8 && channel == reply[5]); });
    all &= Judge<Climate>(
        reply,
        [&](Climate& c) {
            return protocol::ParseClimateReply(bytes, n, &c.temperature, &c.humidity);
        },
        [&](const Climate& c) {
            FUZZ_EXPECT(n >= 11 && c.temperature == fuzz::WordAt(reply, 5) &&
                        c.humidity == fuzz::WordAt(reply, 7));
        });
    all &= Judge<protocol::RelayParameters>(
        reply,
        [&](protocol::RelayParameters& relay) {
            return protocol::ParseRelayReply(bytes, n, &relay);
        },
        [&](const protocol::RelayParameters& relay) {
            FUZZ_EXPECT(n >= 10 && reply[3] == protocol::kRelayParameters);
            FUZZ_EXPECT(relay.mode == reply[5] && relay.channel == reply[6] &&
                        relay.airRate == reply[7]);
        });
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Bytes bytes(data, data + size);
    for (const Reply& reply : fuzz::ReceivedAndSealed(bytes)) CheckAll(reply);

    // A relay reply of 11 bytes holds every value the reads take.
    fuzz::Bytes whole = fuzz::Sized(bytes, 9);
    whole[0] = whole[1] = whole[2] = protocol::kWirelessMarker;
    whole[3] = protocol::kRelayParameters;
    FUZZ_EXPECT(CheckAll(Reply(fuzz::WithCrc(whole))));
    return 0;
}
