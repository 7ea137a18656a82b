// The decoder's verdict says Ok exactly when the reply check a program applies accepts the
// reply: for every frame family, over the good reply, its echo, its cuts, doublings, single
// and multiple byte changes (with the CRC made to match and without) and random frames.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "config_frames.h"
#include "frame_bytes.h"
#include "frame_decoder.h"
#include "modbus_crc.h"
#include "register_frames.h"
#include "wireless_frames.h"

using namespace protocol;
using namespace framebytes;

namespace {

Frame F(const Bytes& b) {
    Frame f;
    for (std::uint8_t x : b) f.Put(x);
    return f;
}

void FixCrc(Bytes& b) {
    if (b.size() < 2) return;
    const std::uint16_t crc = ModbusCrc16(b.data(), b.size() - 2);
    b[b.size() - 2] = crc & 0xFF;
    b[b.size() - 1] = crc >> 8;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using Check = std::function<bool(const Bytes& reply)>;

struct Family {
    std::string name;
    Bytes request;
    std::vector<Bytes> good;  // replies the check takes
    Check check;              // the check as the program applies it
    ReplyContext context{};
};

// Byte values worth trying anywhere: markers, the addresses in play, codes and commands.
constexpr std::uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                         0x08, 0x09, 0x10, 0x55, 0x7F, 0x80, 0x83, 0x86,
                                         0x90, 0xAA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

std::vector<Bytes> Variants(const Family& f, std::mt19937& random) {
    std::vector<Bytes> out = {{}, f.request, Cat(f.request, f.good.front())};
    for (const Bytes& good : f.good) {
        out.push_back(good);
        out.push_back(Cat(good, good));
        out.push_back(Cat({0x55, 0x55}, good));
        out.push_back(Cat(good, {0x00}));
        for (std::size_t n = 0; n < good.size(); ++n) {
            out.emplace_back(good.begin(), good.begin() + static_cast<long>(n));
            if (n >= 2) out.push_back(WithCrc(Bytes(good.begin(), good.begin() + long(n - 2))));
        }
        out.push_back(WithCrc(Bytes(good.begin(), good.end() - 1)));  // one byte more
        for (std::size_t at = 0; at < good.size(); ++at)
            for (std::uint8_t v : kInteresting) {
                Bytes b = good;
                b[at] = v;
                out.push_back(b);
                FixCrc(b);
                out.push_back(b);
            }
        for (int i = 0; i < 3000; ++i) {
            Bytes b = good;
            for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k)
                b[random() % b.size()] = static_cast<std::uint8_t>(random());
            if (random() % 3 == 0) b.resize(random() % (b.size() + 4));
            if (random() % 4) FixCrc(b);
            out.push_back(b);
        }
    }
    return out;
}

std::vector<Family> Families() {
    const Bytes read = ToBytes(BuildReadRegisters(7, 0x10, 2));
    const Bytes readOne = ToBytes(BuildReadRegisters(7, 0x10, 1));
    const Bytes readAtFF = ToBytes(BuildReadRegisters(0xFF, 0x10, 1));
    const Bytes write = ToBytes(BuildWriteRegister(7, 0x30, 355));
    const Bytes pair = ToBytes(BuildWriteRegisterPair(7, 2, 0xCAFEBABE));
    const Frame blockWrite = BuildCommBlockWrite(kBroadcastAddress, {9, 3, 0, 0, 0});
    const Frame setAddress = BuildAddressFrame(0, 9);
    const Frame setBaud = BuildAddressFrame(2, 0);
    const Frame paramWrite = BuildConfigWrite(3, 45);
    const Bytes report =
        WithCrc(Cat(Cat({0xFB, 0xFB, 0xFB, 1, 1, 0, 60}, Bytes(25, 0x11)), Bytes(7, 0)));
    const Bytes reportRelay =
        WithCrc(Cat(Cat(Cat({0xFB, 0xFB, 0xFB, 3, 1, 0, 60}, Bytes(25, 0x22)), Bytes(7, 0)),
                    {0x55, 0xAA, 1, 2, 3, 4}));
    const auto readCheck = [](std::uint8_t address, std::uint8_t count) {
        return [=](const Bytes& r) {
            std::uint16_t out[8];
            return CheckReadReply(address, count, r.data(), r.size(), out) == ExchangeStatus::Ok;
        };
    };
    // Quillet in broadcast mode: a register reply from 0xFF or from the reported address 7.
    const Check broadcastRead = [](const Bytes& r) {
        const std::uint8_t from = !r.empty() && (r[0] == 0xFF || r[0] == 7) ? r[0] : 0xFF;
        std::uint16_t out[1];
        return r.size() >= 4 &&
               CheckReadReply(from, 1, r.data(), r.size(), out) == ExchangeStatus::Ok;
    };
    const auto gateway = [](const Frame& request, const Bytes& good, Check check) {
        return Family{"fb " + std::to_string(request[3]) + "/" + std::to_string(request[4]),
                      ToBytes(request),
                      {good},
                      std::move(check)};
    };
    const auto command = [](const Frame& request) {
        return [request](const Bytes& r) {
            return CheckWirelessCommandReply(request, r.data(), r.size());
        };
    };
    const Check configMode = [](const Bytes& r) {
        GatewayState state;
        return ParseConfigModeReply(r.data(), r.size(), &state);
    };
    return {
        {"read", read, {WithCrc({7, 3, 4, 0, 1, 0, 2})}, readCheck(7, 2)},
        {"read one", readOne, {WithCrc({7, 3, 2, 0, 1}), readOne}, readCheck(7, 1)},
        {"read in broadcast mode",
         readAtFF,
         {WithCrc({0xFF, 3, 2, 0, 1}), WithCrc({7, 3, 2, 0, 1})},
         broadcastRead,
         {.alsoFrom = 7}},
        {"write one",
         write,
         {write},
         [=](const Bytes& r) {
             return CheckWriteReply(F(write), r.data(), r.size()) == ExchangeStatus::Ok;
         }},
        {"write two",
         pair,
         {WithCrc({7, 0x10, 0, 2, 0, 2})},
         [=](const Bytes& r) {
             return CheckWritePairReply(F(pair), r.data(), r.size()) == ExchangeStatus::Ok;
         }},
        {"comm block read",
         ToBytes(BuildCommBlockRead(kBroadcastAddress)),
         {WithCrc({0xFF, 3, 10, 0, 9, 0, 3, 0, 0, 0, 0, 0, 1})},
         [](const Bytes& r) {
             CommBlock block;
             return r.size() > 3 && ParseCommBlockReply(r.data(), r.size(), &block);
         }},
        {"comm block write",
         ToBytes(blockWrite),
         {WithCrc({0xFF, 0x10, 2, 0, 0, 5}), WithCrc({9, 0x10, 2, 0, 0, 5}),
          WithCrc({4, 0x10, 2, 0, 0, 5})},
         [=](const Bytes& r) {
             return CheckCommBlockWriteReply(blockWrite, 4, r.data(), r.size());
         },
         {.alsoFrom = 4}},
        {"fd query",
         ToBytes(BuildAddressFrame(0, 0)),
         {WithCrc({0xFD, 0xFD, 0xFD, 3, 7})},
         [](const Bytes& r) {
             AddressInfo info;
             return r.size() > 3 && ParseAddressFrameReply(r.data(), r.size(), &info);
         }},
        {"fd set address",
         ToBytes(setAddress),
         {WithCrc({0xFD, 0xFD, 0xFD, 3, 9})},
         [=](const Bytes& r) {
             AddressInfo info;
             return CheckAddressFrameSetReply(setAddress, r.data(), r.size(), &info);
         }},
        {"fd set baud",
         ToBytes(setBaud),
         {WithCrc({0xFD, 0xFD, 0xFD, 2, 7})},
         [=](const Bytes& r) {
             AddressInfo info;
             return CheckAddressFrameSetReply(setBaud, r.data(), r.size(), &info);
         }},
        {"fc read",
         ToBytes(BuildConfigRead(2)),
         {WithCrc({0xFC, 0xFC, 0xFC, 2, 0, 0, 5, 0, 0})},
         [](const Bytes& r) {
             std::uint16_t value;
             return ParseConfigReply(r.data(), r.size(), &value);
         }},
        {"fc write",
         ToBytes(paramWrite),
         {ToBytes(paramWrite), WithCrc({0xFC, 0xFC, 0xFC, 3, 1, 0, 45, 0, 0})},
         [=](const Bytes& r) { return CheckConfigWriteReply(paramWrite, r.data(), r.size()); }},
        {"fc write echoed",
         ToBytes(paramWrite),
         {ToBytes(paramWrite)},
         [=](const Bytes& r) { return CheckConfigEcho(paramWrite, r.data(), r.size()); },
         {.exactEcho = true}},
        gateway(BuildEnterConfigMode(), report, configMode),
        gateway(BuildConfigureNode(4), reportRelay, configMode),
        gateway(BuildExitConfigMode(), WithCrc({0xFB, 0xFB, 0xFB, 2, 1, 0, 0}),
                command(BuildExitConfigMode())),
        gateway(BuildClearNode(4), ToBytes(BuildClearNode(4)), command(BuildClearNode(4))),
        gateway(BuildWriteSleepTime(60), ToBytes(BuildWriteSleepTime(60)),
                command(BuildWriteSleepTime(60))),
        gateway(BuildWriteChannel(9), ToBytes(BuildWriteChannel(9)), command(BuildWriteChannel(9))),
        gateway(BuildWriteRelay(1, 2, 3), ToBytes(BuildWriteRelay(1, 2, 3)),
                command(BuildWriteRelay(1, 2, 3))),
        gateway(BuildReadSleepTime(), WithCrc({0xFB, 0xFB, 0xFB, 4, 0, 0, 60}),
                [](const Bytes& r) {
                    std::uint16_t seconds;
                    return ParseSleepTimeReply(r.data(), r.size(), &seconds);
                }),
        gateway(BuildReadChannel(), WithCrc({0xFB, 0xFB, 0xFB, 7, 0, 9}),
                [](const Bytes& r) {
                    std::uint8_t channel;
                    return ParseChannelReply(r.data(), r.size(), &channel);
                }),
        gateway(BuildReadClimate(), WithCrc({0xFB, 0xFB, 0xFB, 5, 1, 0, 250, 2, 0x26}),
                [](const Bytes& r) {
                    std::uint16_t temperature, humidity;
                    return ParseClimateReply(r.data(), r.size(), &temperature, &humidity);
                }),
        gateway(BuildReadRelay(), WithCrc({0xFB, 0xFB, 0xFB, 8, 0, 1, 2, 3}),
                [](const Bytes& r) {
                    RelayParameters relay;
                    return ParseRelayReply(r.data(), r.size(), &relay);
                }),
    };
}

}  // namespace

TEST(VerdictAgreement, DecoderSaysOkExactlyWhenTheCheckAccepts) {
    std::mt19937 random(11);
    for (const Family& f : Families()) {
        SCOPED_TRACE(f.name);
        int accepted = 0;
        int refused = 0;
        std::set<Verdict> reasons;
        for (const Bytes& reply : Variants(f, random)) {
            const bool taken = f.check(reply);
            const Verdict v = JudgeReply(f.request, reply, f.context);
            ASSERT_EQ(v == Verdict::Ok, taken)
                << VerdictName(v) << " for " << testing::PrintToString(reply);
            ++(taken ? accepted : refused);
            reasons.insert(v);
        }
        // Both answers came up many times, and a refusal names what is wrong.
        EXPECT_GE(accepted, 3);
        EXPECT_GT(refused, 1000);
        EXPECT_GE(reasons.size(), 4u);
        EXPECT_FALSE(reasons.contains(Verdict::Unjudged));
    }
}
