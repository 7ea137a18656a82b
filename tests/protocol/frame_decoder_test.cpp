// The decoder against a table of frames of every family, as sent and as answered, with what
// it must say of each; then record streams as the link's tap holds them.
#include "frame_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "config_frames.h"
#include "frame_bytes.h"
#include "modbus_crc.h"
#include "register_frames.h"
#include "wireless_frames.h"

using namespace protocol;
using namespace framebytes;

namespace {

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Cut(const Bytes& b, std::size_t n) {
    return Bytes(b.begin(), b.begin() + static_cast<long>(std::min(n, b.size())));
}

using Words = std::vector<std::uint16_t>;

constexpr std::uint8_t FD = 0xFD, FC = 0xFC, FB = 0xFB;

// A configuration-mode report: sleep time 300, nodes 1 and 10, channel 9, 25.0 ℃, 55.0 %RH,
// and the relay block when asked for.
Bytes Report(std::uint8_t command, bool relay) {
    Bytes b{FB, FB, FB, command, 1, 0x01, 0x2C};
    Bytes nodes(kGatewayNodeBytes, 0);
    nodes[0] = 0x01;
    nodes[1] = 0x02;
    b = Cat(b, nodes);
    b = Cat(b, {9, 0x00, 0xFA, 0x02, 0x26, 0, 0});
    if (relay) b = Cat(b, {0x55, 0xAA, 1, 2, 3, 4});
    return WithCrc(b);
}

// What a row expects; unset fields are not looked at.
struct Want {
    FrameKind kind = FrameKind::None;
    Verdict verdict = Verdict::None;
    std::optional<int> address{};
    std::optional<int> function{};
    std::optional<int> reg{};
    std::optional<int> count{};
    std::optional<std::vector<std::uint16_t>> values{};
    std::optional<ExceptionCode> exception{};
    std::optional<std::array<int, 5>> block{};      // address, baud code, parity, stop bits
    std::optional<std::array<int, 2>> fd{};         // code, address
    std::optional<std::array<int, 4>> parameter{};  // code, operation, value, second (-1: none)
    std::optional<int> node{};
    std::optional<int> sleepTime{};
    std::optional<int> channel{};
    std::optional<std::array<int, 2>> climate{};
    std::optional<std::array<int, 3>> relay{};
    std::optional<bool> report{};  // a configuration-mode report, with its relay block or not
    std::optional<bool> echoes{};
};

template <class T, class U>
void ExpectIfSet(const std::optional<T>& want, const U& got, const char* what) {
    if (want) {
        EXPECT_EQ(got, *want) << what;
    }
}

void ExpectMatches(const FrameDescription& d, const Want& w) {
    EXPECT_EQ(d.kind, w.kind);
    EXPECT_EQ(d.verdict, w.verdict) << VerdictName(d.verdict);
    ExpectIfSet(w.address, d.hasAddress ? int{d.address} : -1, "address");
    ExpectIfSet(w.function, int{d.function}, "function");
    ExpectIfSet(w.reg, int{d.reg}, "register");
    ExpectIfSet(w.count, int{d.count}, "count");
    ExpectIfSet(w.values, d.values, "values");
    ExpectIfSet(w.exception, d.exception, "exception");
    const CommBlock& c = d.commBlock;
    ExpectIfSet(w.block, std::array<int, 5>{c.address, c.baudCode, c.parity, c.stop1, c.stop2},
                "comm block");
    ExpectIfSet(w.fd, std::array<int, 2>{d.addressFrame.baudCode, d.addressFrame.address}, "fd");
    const ParameterFields& p = d.parameter;
    ExpectIfSet(w.parameter,
                std::array<int, 4>{p.code, p.operation, p.value, p.hasSecond ? p.second : -1},
                "parameter");
    const GatewayFields& g = d.gateway;
    ExpectIfSet(w.node, g.node, "node");
    ExpectIfSet(w.sleepTime, int{g.sleepTime}, "sleep time");
    ExpectIfSet(w.channel, int{g.channel}, "channel");
    ExpectIfSet(w.climate, std::array<int, 2>{g.temperature, g.humidity}, "climate");
    ExpectIfSet(w.relay, std::array<int, 3>{g.relay.mode, g.relay.channel, g.relay.airRate},
                "relay");
    ExpectIfSet(w.echoes, d.echoesRequest, "echoes the request");
    if (w.report) {
        EXPECT_TRUE(g.hasReport);
        EXPECT_EQ(g.hasRelayBlock, *w.report);
        EXPECT_TRUE(g.report.NodeConfigured(1) && g.report.NodeConfigured(10));
        EXPECT_FALSE(g.report.NodeConfigured(2));
    }
}

struct Row {
    std::string name;
    Bytes request;
    std::optional<Bytes> reply;  // none: the row describes the request
    Want want;
    ReplyContext context{};
};

// Requests of both programs.
const Bytes kRead = ToBytes(BuildReadRegisters(7, 0x10, 2));
const Bytes kWrite = ToBytes(BuildWriteRegister(7, 0x30, 355));
const Bytes kPair = ToBytes(BuildWriteRegisterPair(7, 2, 0xCAFEBABE));
const Bytes kBlockRead = ToBytes(BuildCommBlockRead(kBroadcastAddress));
const Bytes kBlockWrite = ToBytes(BuildCommBlockWrite(kBroadcastAddress, {9, 3, 0, 0, 1}));
const Bytes kQuery = ToBytes(BuildAddressFrame(0, 0));
const Bytes kSetAddress = ToBytes(BuildAddressFrame(0, 9));
const Bytes kSetBaud = ToBytes(BuildAddressFrame(1, 0));
const Bytes kParamRead = ToBytes(BuildConfigRead(2));
const Bytes kParamWrite = ToBytes(BuildConfigWrite(3, 45));
const Bytes kChannelWrite = ToBytes(BuildWriteChannel(9));
const Bytes kRelayRead = ToBytes(BuildReadRelay());

// Good replies.
const Bytes kReadReply = WithCrc({7, 3, 4, 0x00, 0xFA, 0xFF, 0x38});
const Bytes kBlock = WithCrc({0xFF, 3, 10, 0, 9, 0, 3, 0, 0, 0, 0, 0, 1});
const Bytes kFdReply = WithCrc({FD, FD, FD, 3, 7});

// One row per frame or reply; kept in columns by hand.
// clang-format off
std::vector<Row> Rows() {
    using K = FrameKind;
    using V = Verdict;
    using E = ExceptionCode;
    return {
        // Modbus requests.
        {"read", kRead, {}, {.kind = K::ReadRegisters, .address = 7, .function = 3, .reg = 0x10, .count = 2}},
        {"write one", kWrite, {},
         {.kind = K::WriteRegister, .address = 7, .function = 6, .reg = 0x30, .values = Words{355}}},
        {"write two", kPair, {}, {.kind = K::WriteRegisters, .address = 7, .function = 16, .reg = 2, .count = 2,
                                  .values = Words{0xCAFE, 0xBABE}}},
        {"comm block read", kBlockRead, {}, {.kind = K::CommBlockRead, .address = 0xFF, .reg = 0x0200, .count = 5}},
        {"comm block write", kBlockWrite, {}, {.kind = K::CommBlockWrite, .address = 0xFF, .reg = 0x0200, .count = 5,
                                               .block = {{9, 3, 0, 0, 1}}}},
        // Read replies.
        {"read reply", kRead, kReadReply, {.kind = K::ReadRegisters, .verdict = V::Ok, .address = 7, .reg = 0x10,
                                           .count = 2, .values = Words{0x00FA, 0xFF38}, .echoes = false}},
        {"read reply, other address", kRead, WithCrc({8, 3, 4, 0, 0xFA, 0xFF, 0x38}),
         {.kind = K::ReadRegisters, .verdict = V::WrongAddress, .address = 8}},
        {"read reply, other function", kRead, WithCrc({7, 4, 4, 0, 0xFA, 0xFF, 0x38}),
         {.kind = K::Unknown, .verdict = V::WrongFunction}},
        {"read reply, bad crc", kRead, Corrupt(kReadReply),
         {.kind = K::ReadRegisters, .verdict = V::CrcError, .values = Words{0x00FA, 0xFF38}}},
        {"read reply, exception 02", kRead, WithCrc({7, 0x83, 2}),
         {.kind = K::Exception, .verdict = V::Exception, .address = 7, .function = 3,
          .exception = E::IllegalDataAddress}},
        {"read reply, address and function only", kRead, WithCrc({7, 3}),
         {.kind = K::ReadRegisters, .verdict = V::TooShort, .values = Words{}}},
        {"read reply, three bytes", kRead, Bytes{7, 3, 4}, {.kind = K::ReadRegisters, .verdict = V::TooShort}},
        {"read reply, one register of two", kRead, WithCrc({7, 3, 2, 0, 0xFA}),
         {.kind = K::ReadRegisters, .verdict = V::TooShort, .values = Words{0x00FA}}},
        {"read reply twice", kRead, Cat(kReadReply, kReadReply),
         {.kind = K::ReadRegisters, .verdict = V::TooLong, .values = Words{0x00FA, 0xFF38}}},
        {"read reply after noise", kRead, Cat({0x55, 0x55}, kReadReply), {.kind = K::Unknown, .verdict = V::CrcError}},
        {"read, own request back", kRead, kRead, {.kind = K::ReadRegisters, .verdict = V::Echo, .echoes = true}},
        {"read, own request and the reply in one burst", kRead, Cat(kRead, kReadReply),
         {.kind = K::ReadRegisters, .verdict = V::Echo, .echoes = true}},
        {"read reply from 0xFF in broadcast mode", kRead, WithCrc({0xFF, 3, 4, 0, 0xFA, 0xFF, 0x38}),
         {.kind = K::ReadRegisters, .verdict = V::Ok}, {.alsoFrom = 0xFF}},
        // Write replies.
        {"write one, echo", kWrite,
         kWrite, {.kind = K::WriteRegister, .verdict = V::Ok, .values = Words{355}, .echoes = true}},
        {"write one, echo of another value", kWrite, WithCrc({7, 6, 0, 0x30, 0x01, 0x64}),
         {.kind = K::WriteRegister, .verdict = V::EchoMismatch, .values = Words{356}}},
        {"write one, exception 03", kWrite, WithCrc({7, 0x86, 3}),
         {.kind = K::Exception, .verdict = V::Exception, .function = 6, .exception = E::IllegalDataValue}},
        {"write two, reply", kPair, WithCrc({7, 0x10, 0, 2, 0, 2}),
         {.kind = K::WriteRegisters, .verdict = V::Ok, .reg = 2, .count = 2}},
        {"write two, reply for another register", kPair, WithCrc({7, 0x10, 0, 3, 0, 2}),
         {.kind = K::WriteRegisters, .verdict = V::EchoMismatch, .reg = 3}},
        {"write two, reply cut to register and crc", kPair, WithCrc({7, 0x10, 0, 2, 0}),
         {.kind = K::WriteRegisters, .verdict = V::TooShort}},
        {"write two, own request back", kPair, kPair, {.kind = K::WriteRegisters, .verdict = V::Echo, .echoes = true}},
        // The comm block.
        {"comm block reply", kBlockRead, kBlock,
         {.kind = K::CommBlockRead, .verdict = V::Ok, .address = 0xFF, .reg = 0x0200, .block = {{9, 3, 0, 0, 1}}}},
        {"comm block reply from any address", kBlockRead, WithCrc({0xFE, 3, 10, 0, 9, 0, 3, 0, 0, 0, 0, 0, 1}),
         {.kind = K::CommBlockRead, .verdict = V::Ok, .address = 0xFE}},
        {"comm block exception", kBlockRead, WithCrc({0xFF, 0x83, 2}),
         {.kind = K::Exception, .verdict = V::Exception, .exception = E::IllegalDataAddress}},
        {"comm block reply, four registers", kBlockRead, WithCrc({0xFF, 3, 8, 0, 9, 0, 3, 0, 0, 0, 0}),
         {.kind = K::CommBlockRead, .verdict = V::TooShort, .values = Words{9, 3, 0, 0}}},
        {"comm block, own request back", kBlockRead, kBlockRead,
         {.kind = K::CommBlockRead, .verdict = V::Echo, .echoes = true}},
        {"comm block write, reply from the new address", kBlockWrite, WithCrc({9, 0x10, 2, 0, 0, 5}),
         {.kind = K::CommBlockWrite, .verdict = V::Ok, .address = 9}},
        {"comm block write, reply from 0xFF", kBlockWrite, WithCrc({0xFF, 0x10, 2, 0, 0, 5}),
         {.kind = K::CommBlockWrite, .verdict = V::Ok}},
        {"comm block write, reply from elsewhere", kBlockWrite, WithCrc({4, 0x10, 2, 0, 0, 5}),
         {.kind = K::CommBlockWrite, .verdict = V::WrongAddress}},
        {"comm block write, reply from the device's old address", kBlockWrite, WithCrc({4, 0x10, 2, 0, 0, 5}),
         {.kind = K::CommBlockWrite, .verdict = V::Ok}, {.alsoFrom = 4}},
        {"comm block write, reply for four registers", kBlockWrite, WithCrc({9, 0x10, 2, 0, 0, 4}),
         {.kind = K::WriteRegisters, .verdict = V::EchoMismatch}},
        // FD frames.
        {"fd query", kQuery, {}, {.kind = K::AddressQuery, .fd = {{0, 0}}}},
        {"fd set address", kSetAddress, {}, {.kind = K::AddressSet, .fd = {{0, 9}}}},
        {"fd set baud", kSetBaud, {}, {.kind = K::BaudSet, .fd = {{1, 0}}}},
        {"fd reply", kQuery, kFdReply, {.kind = K::AddressReport, .verdict = V::Ok, .fd = {{3, 7}}}},
        {"fd reply with a code the frame has not (19200)", kQuery, WithCrc({FD, FD, FD, 4, 7}),
         {.kind = K::AddressReport, .verdict = V::WrongFunction, .fd = {{4, 7}}}},
        {"fd reply, markers and code only", kQuery, WithCrc({FD, FD, FD, 3}),
         {.kind = K::AddressReport, .verdict = V::TooShort, .fd = {{3, 0}}}},
        {"fd query, own request back", kQuery, kQuery,
         {.kind = K::AddressReport, .verdict = V::Echo, .fd = {{0, 0}}, .echoes = true}},
        {"fd query answered by a register reply", kQuery, kReadReply,
         {.kind = K::ReadRegisters, .verdict = V::WrongFunction}},
        {"fd set address, reply with it", kSetAddress, WithCrc({FD, FD, FD, 3, 9}),
         {.kind = K::AddressReport, .verdict = V::Ok, .fd = {{3, 9}}}},
        {"fd set address, reply with the old one", kSetAddress,
         kFdReply, {.kind = K::AddressReport, .verdict = V::EchoMismatch}},
        {"fd set baud, reply with the new code", kSetBaud, WithCrc({FD, FD, FD, 1, 7}),
         {.kind = K::AddressReport, .verdict = V::Ok, .fd = {{1, 7}}}},
        {"fd set baud, reply with the old code", kSetBaud,
         kFdReply, {.kind = K::AddressReport, .verdict = V::EchoMismatch}},
        // FC frames.
        {"fc read", kParamRead, {}, {.kind = K::ParameterRead, .parameter = {{2, 0, 0, -1}}}},
        {"fc write", kParamWrite, {}, {.kind = K::ParameterWrite, .parameter = {{3, 1, 45, -1}}}},
        {"fc read, 11-byte reply", kParamRead, WithCrc({FC, FC, FC, 2, 0, 0x80, 0x14, 0, 7}),
         {.kind = K::ParameterRead, .verdict = V::Ok, .parameter = {{2, 0, 0x8014, 7}}}},
        {"fc read, bad crc", kParamRead, Corrupt(WithCrc({FC, FC, FC, 2, 0, 0x80, 0x14, 0, 7})),
         {.kind = K::ParameterRead, .verdict = V::CrcError}},
        {"fc read, markers and code only", kParamRead, WithCrc({FC, FC, FC, 2}),
         {.kind = K::ParameterRead, .verdict = V::TooShort}},
        {"fc write, 9-byte echo", kParamWrite, kParamWrite,
         {.kind = K::ParameterWrite, .verdict = V::Ok, .parameter = {{3, 1, 45, -1}}, .echoes = true}},
        {"fc write, 11-byte report", kParamWrite, WithCrc({FC, FC, FC, 3, 1, 0, 45, 0, 0}),
         {.kind = K::ParameterWrite, .verdict = V::Ok, .parameter = {{3, 1, 45, 0}}}},
        {"fc write, another value", kParamWrite, WithCrc({FC, FC, FC, 3, 1, 0, 46}),
         {.kind = K::ParameterWrite, .verdict = V::EchoMismatch}},
        {"fc write, another code", kParamWrite, WithCrc({FC, FC, FC, 4, 1, 0, 45}),
         {.kind = K::ParameterWrite, .verdict = V::WrongFunction}},
        {"fc write echoed exactly, answered by the report", kParamWrite, WithCrc({FC, FC, FC, 3, 1, 0, 45, 0, 0}),
         {.kind = K::ParameterWrite, .verdict = V::EchoMismatch}, {.exactEcho = true}},
        {"fc write echoed exactly, echo", kParamWrite, kParamWrite,
         {.kind = K::ParameterWrite, .verdict = V::Ok}, {.exactEcho = true}},
        // FB frames.
        {"fb enter", ToBytes(BuildEnterConfigMode()), {}, {.kind = K::EnterConfigMode}},
        {"fb exit", ToBytes(BuildExitConfigMode()), {}, {.kind = K::ExitConfigMode}},
        {"fb configure node 5", ToBytes(BuildConfigureNode(4)), {}, {.kind = K::ConfigureNode, .node = 5}},
        {"fb clear node 200", ToBytes(BuildClearNode(199)), {}, {.kind = K::ClearNode, .node = 200}},
        {"fb read sleep time", ToBytes(BuildReadSleepTime()), {}, {.kind = K::SleepTime, .sleepTime = 0}},
        {"fb write sleep time", ToBytes(BuildWriteSleepTime(300)), {}, {.kind = K::SleepTime, .sleepTime = 300}},
        {"fb read climate", ToBytes(BuildReadClimate()), {}, {.kind = K::ReadClimate, .climate = {{0, 0}}}},
        {"fb write channel", kChannelWrite, {}, {.kind = K::Channel, .channel = 9}},
        {"fb write relay", ToBytes(BuildWriteRelay(1, 2, 3)), {}, {.kind = K::RelayParameters, .relay = {{1, 2, 3}}}},
        {"fb other command", ToBytes(BuildWirelessFrame(0x09, 1, {0})), {}, {.kind = K::GatewayOther}},
        {"fb enter, report", ToBytes(BuildEnterConfigMode()), Report(1, false),
         {.kind = K::EnterConfigMode, .verdict = V::Ok, .sleepTime = 300, .channel = 9, .climate = {{250, 550}},
          .report = false}},
        {"fb enter, report with relay block", ToBytes(BuildEnterConfigMode()), Report(1, true),
         {.kind = K::EnterConfigMode, .verdict = V::Ok, .relay = {{2, 3, 4}}, .report = true}},
        {"fb enter, report cut before the node table ends", ToBytes(BuildEnterConfigMode()),
         WithCrc(Cut(Report(1, false), 31)),
         {.kind = K::EnterConfigMode, .verdict = V::TooShort}},
        {"fb configure node, report", ToBytes(BuildConfigureNode(4)), Report(3, false),
         {.kind = K::ConfigureNode, .verdict = V::Ok, .report = false}},
        {"fb clear node, echo", ToBytes(BuildClearNode(199)), ToBytes(BuildClearNode(199)),
         {.kind = K::ClearNode, .verdict = V::Ok, .node = 200, .echoes = true}},
        {"fb exit, reply", ToBytes(BuildExitConfigMode()), WithCrc({FB, FB, FB, 2, 1, 0, 0}),
         {.kind = K::ExitConfigMode, .verdict = V::Ok}},
        {"fb read sleep time, reply", ToBytes(BuildReadSleepTime()), WithCrc({FB, FB, FB, 4, 0, 1, 0x2C}),
         {.kind = K::SleepTime, .verdict = V::Ok, .sleepTime = 300}},
        {"fb read climate, reply", ToBytes(BuildReadClimate()), WithCrc({FB, FB, FB, 5, 1, 0xFF, 0x9C, 0x02, 0x26}),
         {.kind = K::ReadClimate, .verdict = V::Ok, .climate = {{0xFF9C, 550}}}},
        {"fb write channel, reply for another command", kChannelWrite, WithCrc({FB, FB, FB, 8, 1, 9}),
         {.kind = K::RelayParameters, .verdict = V::WrongFunction}},
        {"fb read relay, reply", kRelayRead, WithCrc({FB, FB, FB, 8, 0, 1, 2, 3}),
         {.kind = K::RelayParameters, .verdict = V::Ok, .relay = {{1, 2, 3}}}},
        {"fb read relay, reply for the channel", kRelayRead, WithCrc({FB, FB, FB, 7, 0, 1, 2, 3}),
         {.kind = K::Channel, .verdict = V::WrongFunction}},
        // Bytes of neither program.
        {"two bytes", Bytes{0x11, 0x22}, {}, {.kind = K::Unknown}},
        {"a reply to them", Bytes{0x11, 0x22}, kReadReply, {.kind = K::ReadRegisters, .verdict = V::Unjudged}},
        {"nothing back", kRead, Bytes{}, {.kind = K::None, .verdict = V::NoReply}},
    };
}
// clang-format on

}  // namespace

TEST(FrameDecoder, DescribesEveryFrameAndJudgesEachReply) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        if (!row.reply) {
            const FrameDescription d = DescribeRequest(row.request);
            EXPECT_EQ(d.direction, Direction::Request);
            EXPECT_EQ(d.length, row.request.size());
            ExpectMatches(d, row.want);
            continue;
        }
        const FrameDescription d = DescribeReply(*row.reply, row.request, row.context);
        EXPECT_EQ(d.direction, Direction::Reply);
        ExpectMatches(d, row.want);
        EXPECT_EQ(JudgeReply(row.request, *row.reply, row.context), row.want.verdict);
    }
}

TEST(FrameDecoder, ReadsEveryFrameOnlyWithinItsLength) {
    // Every cut of every frame of the table, and random bytes, each in a buffer of exactly
    // its length: a read past the end is a sanitizer finding. A cut reply is never taken.
    struct Case {
        Bytes request, reply;
        bool real;  // a frame of the table
    };
    std::vector<Case> cases;
    for (const Row& row : Rows()) cases.push_back({row.request, row.reply.value_or(Bytes{}), true});
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        Bytes b(random() % 60);
        for (auto& x : b) x = static_cast<std::uint8_t>(random());
        if (b.size() > 3 && i % 2) b[0] = b[1] = b[2] = std::array{FB, FC, FD}[i % 3];
        cases.push_back({b, b.size() > 2 && i % 3 ? WithCrc(b) : b, false});
    }
    for (const Case& c : cases) {
        const bool taken = JudgeReply(c.request, c.reply) == Verdict::Ok;
        for (std::size_t n = 0; n <= std::max(c.request.size(), c.reply.size()); ++n) {
            const Bytes request = Cut(c.request, n);
            const Bytes reply = Cut(c.reply, n);
            const FrameDescription q = DescribeRequest(request);
            const FrameDescription r = DescribeReply(reply, c.request);
            EXPECT_LE(q.values.size() * 2, request.size());
            EXPECT_LE(r.values.size() * 2, reply.size());
            JudgeReply(request, reply);
            if (c.real && taken && n < c.reply.size()) {
                EXPECT_NE(r.verdict, Verdict::Ok) << testing::PrintToString(reply);
            }
        }
    }
}

TEST(FrameDecoder, PairsEachReplyWithTheLastRequestInTheRecords) {
    transport::TrafficTap tap;
    using E = transport::TrafficEvent;
    using C = transport::DiscardCause;
    const auto record = [&](E event, const Bytes& b, C cause = C::None, std::uint32_t waited = 0) {
        tap.Record(event, 9600, b.data(), b.size(), cause, waited);
    };
    // The stream begins in the middle of an exchange.
    record(E::Taken, kReadReply);
    record(E::Discarded, {0xEE}, C::Stale);
    record(E::Written, kRead);
    record(E::Taken, kReadReply);
    record(E::Written, kQuery);
    record(E::NoReply, {}, C::None, 512);
    record(E::Discarded, kFdReply, C::Late);
    record(E::Written, kBlockRead);
    record(E::Taken, kBlock);
    record(E::Discarded, Cat(kBlock, kBlock), C::Reopen);
    record(E::Written, kWrite);
    record(E::Discarded, {7, 6}, C::Short);
    const auto records = tap.Since(0);
    const std::vector<FrameDescription> d = DescribeRecords(records);
    ASSERT_EQ(d.size(), records.size());

    const struct {
        Direction direction;
        FrameKind kind;
        Verdict verdict;
        std::uint64_t answers;
        C cause;
    } want[] = {
        {Direction::Reply, FrameKind::ReadRegisters, Verdict::Unjudged, 0, C::None},
        {Direction::Discarded, FrameKind::Unknown, Verdict::Discarded, 0, C::Stale},
        {Direction::Request, FrameKind::ReadRegisters, Verdict::None, 0, C::None},
        {Direction::Reply, FrameKind::ReadRegisters, Verdict::Ok, 3, C::None},
        {Direction::Request, FrameKind::AddressQuery, Verdict::None, 0, C::None},
        {Direction::NoReply, FrameKind::None, Verdict::NoReply, 5, C::None},
        {Direction::Discarded, FrameKind::AddressReport, Verdict::Discarded, 5, C::Late},
        {Direction::Request, FrameKind::CommBlockRead, Verdict::None, 0, C::None},
        {Direction::Reply, FrameKind::CommBlockRead, Verdict::Ok, 8, C::None},
        {Direction::Discarded, FrameKind::CommBlockRead, Verdict::Discarded, 8, C::Reopen},
        {Direction::Request, FrameKind::WriteRegister, Verdict::None, 0, C::None},
        {Direction::Discarded, FrameKind::WriteRegister, Verdict::Discarded, 11, C::Short},
    };
    for (std::size_t i = 0; i < d.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d[i].direction, want[i].direction);
        EXPECT_EQ(d[i].kind, want[i].kind);
        EXPECT_EQ(d[i].verdict, want[i].verdict);
        EXPECT_EQ(d[i].answers, want[i].answers);
        EXPECT_EQ(d[i].cause, want[i].cause);
        EXPECT_EQ(d[i].sequence, records[i].sequence);
        EXPECT_EQ(d[i].baud, 9600u);
        EXPECT_EQ(d[i].length, records[i].length);
    }
    EXPECT_EQ(d[5].waitedMs, 512u);
    EXPECT_EQ(d[6].addressFrame.address, 7);  // a late reply is still read
    EXPECT_EQ(d[8].reg, 0x0200);              // a reply's register comes from its request
    EXPECT_EQ(d[8].commBlock.address, 9);

    // A decoder fed record by record says the same as one given the whole stream.
    TrafficDecoder one;
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(one.Describe(records[i]).verdict, d[i].verdict);
}

TEST(FrameDecoder, VerdictsAndExceptionCodesHaveStableNames) {
    const std::vector<std::pair<Verdict, std::string>> names = {
        {Verdict::None, "none"},
        {Verdict::Ok, "ok"},
        {Verdict::NoReply, "no-reply"},
        {Verdict::CrcError, "crc-error"},
        {Verdict::WrongAddress, "wrong-address"},
        {Verdict::WrongFunction, "wrong-function"},
        {Verdict::Exception, "exception"},
        {Verdict::EchoMismatch, "echo-mismatch"},
        {Verdict::TooShort, "too-short"},
        {Verdict::TooLong, "too-long"},
        {Verdict::Echo, "echo"},
        {Verdict::Discarded, "discarded"},
        {Verdict::Unjudged, "unjudged"},
        {Verdict::NotSent, "not-sent"},
    };
    for (const auto& [verdict, name] : names) {
        EXPECT_EQ(VerdictName(verdict), name);
        EXPECT_EQ(VerdictFromName(name), verdict);
    }
    EXPECT_FALSE(VerdictFromName("OK"));
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 10, 11})
        EXPECT_TRUE(IsKnownExceptionCode(static_cast<ExceptionCode>(code))) << code;
    for (int code : {0, 9, 12, 0x80, 0xFF})
        EXPECT_FALSE(IsKnownExceptionCode(static_cast<ExceptionCode>(code))) << code;
}
