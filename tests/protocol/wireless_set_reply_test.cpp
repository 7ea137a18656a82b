// The gateway's sets (sleep time, channel, relay parameters, clearing a node) are confirmed
// by a reply that names their command and, of the bytes after it, nothing but what was asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_bytes.h"
#include "modbus_crc.h"
#include "wireless_frames.h"

using namespace protocol;
using namespace framebytes;

namespace {

Bytes Echo(const Frame& f) {
    return Bytes(f.data(), f.data() + f.size);
}

}  // namespace

TEST(WirelessSetReply, OnlyWhatWasAskedConfirmsASet) {
    const Frame sleep = BuildWriteSleepTime(300);  // 04 01 01 2C
    const Frame channel = BuildWriteChannel(12);   // 07 01 0C
    const Frame relay = BuildWriteRelay(1, 9, 2);  // 08 01 01 09 02
    const Frame clear = BuildClearNode(4);         // 06 01 04 04
    const struct {
        std::string name;
        const Frame* request;
        Bytes reply;
        bool ok;
    } cases[] = {
        {"sleep echo", &sleep, Echo(sleep), true},
        {"channel echo", &channel, Echo(channel), true},
        {"relay echo", &relay, Echo(relay), true},
        {"clear echo", &clear, Echo(clear), true},
        {"command and crc", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 4}), true},
        {"command and mode", &relay, WithCrc({0xFB, 0xFB, 0xFB, 8, 1}), true},
        {"the value, then more", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 4, 1, 0x01, 0x2C, 0, 0}), true},
        {"another sleep time", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 4, 1, 0x01, 0x2D}), false},
        {"another sleep time, cut", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 4, 1, 0x02}), false},
        {"another channel", &channel, WithCrc({0xFB, 0xFB, 0xFB, 7, 1, 13}), false},
        {"another air rate", &relay, WithCrc({0xFB, 0xFB, 0xFB, 8, 1, 1, 9, 3}), false},
        {"another node cleared", &clear, WithCrc({0xFB, 0xFB, 0xFB, 6, 1, 5, 5}), false},
        {"the read's mode byte", &channel, WithCrc({0xFB, 0xFB, 0xFB, 7, 0, 12}), false},
        {"another command", &sleep, WithCrc({0xFB, 0xFB, 0xFB, 7, 1, 0x01, 0x2C}), false},
        {"bad crc", &sleep,
         [&] {
             Bytes b = Echo(sleep);
             b.back() ^= 0x5A;
             return b;
         }(),
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWirelessSetReply(*c.request, c.reply.data(), c.reply.size()), c.ok)
            << c.name;
}
