// ParseConfigModeReply: sleep time and node bitmap from a reply of at least 34 bytes; the relay
// block only when 55 AA and its four bytes lie before the CRC.
#include <algorithm>

#include "fuzz_support.h"
#include "wireless_frames.h"

using fuzz::Reply;
using protocol::GatewayState;

namespace {

constexpr std::size_t kRelayMarker = protocol::kGatewayRelayMarker;

bool HasRelayBlock(const Reply& reply) {
    const std::size_t blockEnd = kRelayMarker + 2 + protocol::kGatewayRelayBytes;
    return reply.size() >= blockEnd + 2 && reply[kRelayMarker] == 0x55 &&
           reply[kRelayMarker + 1] == 0xAA;
}

bool Parse(const Reply& reply) {
    bool first = false;
    for (const std::uint8_t pattern : fuzz::kSentinels) {
        GatewayState state = fuzz::Filled<GatewayState>(pattern);
        const bool ok = protocol::ParseConfigModeReply(reply.data(), reply.size(), &state);
        if (ok) {
            FUZZ_EXPECT(reply.size() >= 34 && fuzz::Starts(reply, 0xFB, 0xFB, 0xFB));
            FUZZ_EXPECT(fuzz::EndsInCrc(reply));
            FUZZ_EXPECT(reply[3] == protocol::kEnterConfigMode ||
                        reply[3] == protocol::kConfigureNode || reply[3] == protocol::kClearNode);
            FUZZ_EXPECT(state.sleepTime == fuzz::WordAt(reply, 5));
            for (std::size_t i = 0; i < protocol::kGatewayNodeBytes; ++i)
                FUZZ_EXPECT(state.nodes[i] == reply[7 + i]);
            const std::uint8_t relay[] = {state.relaySupport, state.relayMode, state.relayChannel,
                                          state.airRate};
            for (std::size_t i = 0; i < sizeof relay; ++i)
                FUZZ_EXPECT(relay[i] ==
                            (HasRelayBlock(reply) ? reply[kRelayMarker + 2 + i] : pattern));
        } else {
            FUZZ_EXPECT(fuzz::Untouched(state, pattern));
        }
        if (pattern == fuzz::kSentinels[0]) first = ok;
        FUZZ_EXPECT(ok == first);
    }
    return first;
}

fuzz::Bytes Shaped(const fuzz::Bytes& bytes, std::size_t length) {
    fuzz::Bytes whole = fuzz::Sized(bytes, length);
    whole[0] = whole[1] = whole[2] = protocol::kWirelessMarker;
    static constexpr std::uint8_t kCommands[] = {protocol::kEnterConfigMode,
                                                 protocol::kConfigureNode, protocol::kClearNode};
    whole[3] = kCommands[whole[3] % 3];
    return whole;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Bytes bytes(data, data + size);
    for (const Reply& reply : fuzz::ReceivedAndSealed(bytes)) Parse(reply);

    // Through the node bitmap and no further; then with a relay block.
    FUZZ_EXPECT(Parse(Reply(fuzz::WithCrc(Shaped(bytes, 32)))));
    fuzz::Bytes relay = Shaped(bytes, std::max<std::size_t>(bytes.size(), 45));
    relay[kRelayMarker] = 0x55;
    relay[kRelayMarker + 1] = 0xAA;
    const Reply withRelay(fuzz::WithCrc(relay));
    FUZZ_EXPECT(HasRelayBlock(withRelay) && Parse(withRelay));
    return 0;
}
