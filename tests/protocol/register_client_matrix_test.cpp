// Every register operation against every fault of a bad line, through the real port, reader
// thread and wait loop: the status, the output values, and that the next request on the same
// link gets exactly its own reply.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <memory>

#include "fault_matrix.h"
#include "register_client.h"
#include "register_device.h"
#include "simulated_line.h"

using namespace faultmatrix;
using protocol::RegisterClient;

namespace {

constexpr std::uint8_t kAddress = 7;
constexpr std::uint16_t kSentinel = 0xDEAD;
constexpr std::uint16_t kBlock = 0x40;  // 19 registers
constexpr std::uint16_t kFollowUp = 0x20;

sim::RegisterMap Registers() {
    sim::RegisterMap map{{0, 0x0550},    {2, 0x1234}, {3, 0x5678}, {0x10, 0x3F73}, {0x11, 0x3333},
                         {0x20, 0x2020}, {0x30, 0},   {0x31, 0},   {0x32, 0}};
    for (std::uint16_t i = 0; i < 19; ++i) map[kBlock + i] = 0x4000 + i;
    return map;
}

Values BlockValues(std::uint16_t lastXor) {
    Values v;
    for (std::uint16_t i = 0; i < 19; ++i) v.push_back(0x4000 + i);
    v.back() ^= lastXor;
    return v;
}

struct Row {
    const char* name;
    Outcome (*op)(RegisterClient&);
    int waitMs;
    Values own;
    Spoiled spoiled;
    std::array<Result, kColumns> want;
};

constexpr auto OK = Result::Ok;
constexpr auto NR = Result::NoReply;
constexpr auto CF = Result::CheckFailed;

}  // namespace

TEST(RegisterClientMatrix, EveryOperationAgainstEveryFault) {
    const Row rows[] = {
        {"ReadRegister",
         [](RegisterClient& c) {
             std::uint16_t v = kSentinel;
             const Values before{v};
             const Result r = Of(c.ReadRegister(0, &v));
             return Outcome{r, before, {v}};
         },
         500,
         {0x0550},
         {{kBadEcho, {0x0551}}},
         // silent badcrc short wrongaddr double noise split> split< late< late> badecho exc
         {NR, CF, NR, NR, CF, NR, NR, OK, OK, NR, OK, NR}},
        {"ReadRegisterPair",
         [](RegisterClient& c) {
             std::uint32_t v = 0xDEADBEEF;
             const Values before{v};
             const Result r = Of(c.ReadRegisterPair(2, &v));
             return Outcome{r, before, {v}};
         },
         500,
         {0x12345678},
         {{kBadEcho, {0x12345679}}},
         {NR, CF, NR, NR, CF, NR, CF, OK, OK, NR, OK, NR}},
        {"ReadFloat",
         [](RegisterClient& c) {
             float v = -1.5f;
             const Values before{std::bit_cast<std::uint32_t>(v)};
             const Result r = Of(c.ReadFloat(0x10, &v));
             return Outcome{r, before, {std::bit_cast<std::uint32_t>(v)}};
         },
         500,
         {0x3F733333},
         {{kBadEcho, {0x3F733332}}},
         {NR, CF, NR, NR, CF, NR, CF, OK, OK, NR, OK, NR}},
        {"ReadRegisters, a block of 19 on the 20 ms policy",
         [](RegisterClient& c) {
             std::uint16_t v[19];
             std::fill(std::begin(v), std::end(v), kSentinel);
             const Values before(std::begin(v), std::end(v));
             const Result r = Of(c.ReadRegisters(kBlock, 19, v, transport::kBlockWait));
             return Outcome{r, before, Values(std::begin(v), std::end(v))};
         },
         1000,
         BlockValues(0),
         {{kBadEcho, BlockValues(1)}},
         {NR, CF, NR, NR, CF, NR, CF, OK, OK, NR, OK, NR}},
        // A write has no output; Ok only for a reply that confirms it. A doubled echo still
        // begins with the whole echo of a single write.
        {"WriteRegister",
         [](RegisterClient& c) {
             return Outcome{Of(c.WriteRegister(0x30, 0x1111)), {}, {}};
         },
         500,
         {},
         {},
         {NR, CF, CF, CF, OK, CF, CF, OK, OK, NR, CF, CF}},
        {"WriteRegisterPair",
         [](RegisterClient& c) {
             return Outcome{Of(c.WriteRegisterPair(0x31, 0x22223333)), {}, {}};
         },
         500,
         {},
         {},
         {NR, CF, NR, NR, CF, CF, CF, OK, OK, NR, NR, NR}},
    };
    const protocol::Frame followUp = protocol::BuildReadRegisters(kAddress, kFollowUp, 1);
    EachRow(rows, [&](const Row& row) {
        SCOPED_TRACE(row.name);
        sim::RegisterDeviceConfig config;
        config.address = kAddress;
        config.baud = 9600;
        auto device = std::make_shared<sim::RegisterDevice>(config, Registers());
        sim::SimulatedLine line(device);
        ASSERT_TRUE(line.Ok());
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(line.Path(), 9600), 1);
        link.SetDeviceAddress(kAddress);
        RegisterClient client(link);
        const auto faults = Faults(row.waitMs);
        for (std::size_t col = 0; col < kColumns; ++col) {
            SCOPED_TRACE(faults[col].name);
            line.ClearReceived();
            line.SetFault(faults[col].fault, 1, faults[col].param);
            ExpectCell(static_cast<Column>(col), row.want[col], row.op(client), row.own,
                       row.spoiled);
            // Nothing of the faulted reply reaches the next request.
            std::uint16_t value = kSentinel;
            EXPECT_STREQ(Name(Of(client.ReadRegister(kFollowUp, &value))), "Ok");
            EXPECT_EQ(value, 0x2020);
            const std::vector<sim::Bytes> received = line.Received();
            ASSERT_EQ(received.size(), 2u);
            EXPECT_EQ(received[1], sim::Bytes(followUp.data(), followUp.data() + followUp.size));
        }
    });
}
