// Every exchange of Quillet's client against every fault of a bad line, through the real
// port, reader thread and wait loop: what it returns, its output values, and that the next
// request on the same link gets exactly its own reply.
#include <gtest/gtest.h>

#include <memory>

#include "fault_matrix.h"
#include "simulated_line.h"
#include "transmitter_client.h"
#include "transmitter_device.h"

using namespace faultmatrix;
using quillet::TransmitterClient;

namespace {

constexpr std::uint16_t kSentinel = 0xDEAD;
constexpr std::uint8_t kFrameAddress = 7;
constexpr std::uint8_t kGatewayAddress = 3;
constexpr std::uint16_t kFollowUpRegister = 5;
constexpr std::uint16_t kFollowUpValue = 2204;

// The transmitter found by the FD frame, and the gateway found by the comm block at 0xFF
// (broadcast mode), in configuration mode for its wireless commands.
enum class Device { Transmitter, Gateway };

protocol::GatewayState GatewayAtStart() {
    protocol::GatewayState g;
    g.sleepTime = 300;
    g.SetNode(5, true);
    g.relaySupport = 1;
    g.relayMode = 1;
    g.relayChannel = 9;
    g.airRate = 2;
    return g;
}

sim::TransmitterConfig Config(Device device) {
    sim::TransmitterConfig c;
    c.link.baud = 9600;
    if (device == Device::Transmitter) {
        c.link.address = kFrameAddress;
        c.link.mode = sim::AddressingMode::Frame;
    } else {
        c.link.address = kGatewayAddress;
        c.link.mode = sim::AddressingMode::Broadcast;
        c.relaySupport = true;
        c.gateway = GatewayAtStart();
        c.channel = 12;
    }
    return c;
}

Values StateValues(const protocol::GatewayState& s) {
    Values v{s.sleepTime};
    v.insert(v.end(), s.nodes.begin(), s.nodes.end());
    v.insert(v.end(), {s.relaySupport, s.relayMode, s.relayChannel, s.airRate});
    return v;
}

protocol::GatewayState SentinelState() {
    protocol::GatewayState s;
    s.sleepTime = 0xBEEF;
    s.nodes.fill(0xAA);
    s.relaySupport = s.relayMode = s.relayChannel = s.airRate = 0xEE;
    return s;
}

// What the gateway reports: its state at start, with node `configured` (when not 0) and the
// air rate `airRate`.
Values Reported(std::uint8_t airRate, int configured = 0) {
    protocol::GatewayState s = GatewayAtStart();
    if (configured != 0) s.SetNode(configured, true);
    s.airRate = airRate;
    return StateValues(s);
}

// The device's address and rate as the client holds them, after sentinels.
Outcome AddressFrame(TransmitterClient& c, std::uint8_t code, std::uint8_t address) {
    c.StoreCommBlock(0x55, 5);
    const Values before{c.Address(), c.Baud()};
    const Result r = Of(c.SendAddressFrame(code, address));
    return Outcome{r, before, {c.Address(), c.Baud()}};
}

struct Row {
    const char* name;
    Device device;
    Outcome (*op)(TransmitterClient&);
    int waitMs;
    Values own;
    Spoiled spoiled;
    std::array<Result, kColumns> want;
};

constexpr auto OK = Result::Ok;
constexpr auto NO = Result::Failed;
constexpr auto NR = Result::NoReply;
constexpr auto CF = Result::CheckFailed;

// The device of the row on its own line, with the link open and the client set up as a scan
// leaves it.
struct Rig {
    explicit Rig(Device d)
        : device(std::make_shared<sim::TransmitterDevice>(
              Config(d),
              sim::RegisterMap{{0, 553}, {1, 236}, {2, 1}, {3, 0}, {4, 45}, {5, 2204}, {6, 830}},
              sim::TransmitterDevice::DefaultParameters())),
          line(device),
          address(d == Device::Transmitter ? kFrameAddress : kGatewayAddress) {
        EXPECT_TRUE(line.Ok());
        EXPECT_EQ(link.Reopen(line.Path(), 9600), 1);
        link.SetDeviceAddress(address);
        client.SetBroadcast(d == Device::Gateway);
        if (d == Device::Gateway) {
            protocol::GatewayState state;
            EXPECT_TRUE(client.EnterConfigMode(&state));
        }
    }

    // One cell: the fault on the next reply, the operation, then a clean register read on the
    // same link that must get exactly its own reply.
    template <class Op>
    Outcome Cell(const Fault& fault, Op op) {
        line.ClearReceived();
        line.SetFault(fault.fault, 1, fault.param);
        const Outcome got = op(client);
        link.SetDeviceAddress(address);  // an accepted FD reply may have named another
        std::uint16_t value = kSentinel;
        EXPECT_STREQ(Name(Of(client.ReadRegisters(kFollowUpRegister, 1, &value))), "Ok");
        EXPECT_EQ(value, kFollowUpValue);
        const protocol::Frame followUp = protocol::BuildReadRegisters(
            client.Broadcast() ? protocol::kBroadcastAddress : address, kFollowUpRegister, 1);
        const std::vector<sim::Bytes> received = line.Received();
        EXPECT_EQ(received.size(), 2u);
        if (!received.empty()) {
            EXPECT_EQ(received.back(),
                      sim::Bytes(followUp.data(), followUp.data() + followUp.size));
        }
        return got;
    }

    std::shared_ptr<sim::TransmitterDevice> device;
    sim::SimulatedLine line;
    transport::SerialLink link;
    TransmitterClient client{link};
    std::uint8_t address;
};

}  // namespace

TEST(TransmitterClientMatrix, EveryExchangeAgainstEveryFault) {
    const Row rows[] = {
        // Modbus registers at the device's own address (found by the FD frame).
        {"ReadRegisters, own address", Device::Transmitter,
         [](TransmitterClient& c) {
             std::uint16_t v[2] = {kSentinel, kSentinel};
             const Values before{v[0], v[1]};
             const Result r = Of(c.ReadRegisters(0, 2, v));
             return Outcome{r, before, {v[0], v[1]}};
         },
         500, {553, 236}, {{kBadEcho, {553, 237}}},
         // silent badcrc short wrongaddr double noise split> split< late< late> badecho exc
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},
        // Ok only for an echo of all 8 bytes; a doubled reply begins with one.
        {"WriteDeviceRegister", Device::Transmitter,
         [](TransmitterClient& c) {
             return Outcome{Of(c.WriteDeviceRegister(0x2F, 1)), {}, {}};
         },
         500, {}, {},
         {NR, CF, CF, CF, OK, CF, CF, OK, OK, NR, CF, CF}},
        // A parameter read takes the value from any FC reply (the code byte is not compared);
        // the byte before the CRC is the second value, which nothing reads.
        {"ReadParameter", Device::Transmitter,
         [](TransmitterClient& c) {
             std::uint16_t v = kSentinel;
             const Values before{v};
             const Result r = Of(c.ReadParameter(11, &v));
             return Outcome{r, before, {v}};
         },
         500, {5}, {},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"WriteParameter", Device::Transmitter,
         [](TransmitterClient& c) { return Outcome{Of(c.WriteParameter(11, 9)), {}, {}}; }, 500,
         {}, {},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, NO, NO}},
        {"WriteParameterEchoed", Device::Transmitter,
         [](TransmitterClient& c) {
             return Outcome{Of(c.WriteParameterEchoed(13, 1200)), {}, {}};
         },
         500, {}, {},
         {NO, NO, NO, NO, OK, NO, NO, OK, OK, NO, NO, NO}},
        // FD replies: "wrongaddr" turns the baud code 3 (9600) into 2 (4800), "badecho" the
        // address 7 into 6. A set is done only when the reply reports what it asked.
        {"SendAddressFrame query", Device::Transmitter,
         [](TransmitterClient& c) { return AddressFrame(c, 0, 0); }, 500, {7, 9600},
         {{kWrongAddress, {7, 4800}}, {kBadEcho, {6, 9600}}},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"SendAddressFrame set address", Device::Transmitter,
         [](TransmitterClient& c) { return AddressFrame(c, 0, kFrameAddress); }, 500, {7, 9600},
         {{kWrongAddress, {7, 4800}}},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, NO, NO}},
        {"SendAddressFrame set baud", Device::Transmitter,
         [](TransmitterClient& c) { return AddressFrame(c, 3, 0); }, 500, {7, 9600},
         {{kBadEcho, {6, 9600}}},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},

        // Broadcast mode: reads at 0xFF accept a reply from 0xFF or the device's address.
        {"ReadRegisters, broadcast", Device::Gateway,
         [](TransmitterClient& c) {
             std::uint16_t v[2] = {kSentinel, kSentinel};
             const Values before{v[0], v[1]};
             const Result r = Of(c.ReadRegisters(0, 2, v));
             return Outcome{r, before, {v[0], v[1]}};
         },
         500, {553, 236}, {{kBadEcho, {553, 237}}},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"ReadDeviceRegister", Device::Gateway,
         [](TransmitterClient& c) {
             std::uint16_t v = kSentinel;
             const Values before{v};
             const Result r = Of(c.ReadDeviceRegister(0x2D, &v));
             return Outcome{r, before, {v}};
         },
         500, {1}, {{kBadEcho, {0}}},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},
        // The comm block reply is taken from any address; its last register is the second
        // stop-bit word.
        {"ReadCommBlock", Device::Gateway,
         [](TransmitterClient& c) {
             c.StoreCommBlock(0x55, 5);
             const auto values = [&c] {
                 return Values{c.Address(), c.Baud(), c.Block().address, c.Block().baudCode,
                               c.Block().stop2};
             };
             const Values before = values();
             const Result r = Of(c.ReadCommBlock());
             return Outcome{r, before, values()};
         },
         500, {3, 9600, 3, 3, 1}, {{kBadEcho, {3, 9600, 3, 3, 0}}},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"WriteCommBlock", Device::Gateway,
         [](TransmitterClient& c) {
             return Outcome{Of(c.WriteCommBlock(kGatewayAddress, 3)), {}, {}};
         },
         500, {}, {},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, NO, NO}},

        // The gateway's reads take their bytes from any gateway reply long enough to hold
        // them (the command byte is compared by the relay read only).
        {"ReadSleepTime", Device::Gateway,
         [](TransmitterClient& c) {
             std::uint16_t v = kSentinel;
             const Values before{v};
             const Result r = Of(c.ReadSleepTime(&v));
             return Outcome{r, before, {v}};
         },
         500, {300}, {{kBadEcho, {301}}},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"ReadChannel", Device::Gateway,
         [](TransmitterClient& c) {
             std::uint8_t v = 0xEE;
             const Values before{v};
             const Result r = Of(c.ReadChannel(&v));
             return Outcome{r, before, {v}};
         },
         500, {12}, {{kBadEcho, {13}}},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"ReadClimate", Device::Gateway,
         [](TransmitterClient& c) {
             std::uint16_t t = kSentinel;
             std::uint16_t h = kSentinel;
             const Values before{t, h};
             const Result r = Of(c.ReadClimate(&t, &h));
             return Outcome{r, before, {t, h}};
         },
         500, {236, 553}, {{kBadEcho, {236, 552}}},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"ReadRelay", Device::Gateway,
         [](TransmitterClient& c) {
             protocol::RelayParameters p{0xEE, 0xEE, 0xEE};
             const Values before{p.mode, p.channel, p.airRate};
             const Result r = Of(c.ReadRelay(&p));
             return Outcome{r, before, {p.mode, p.channel, p.airRate}};
         },
         500, {1, 9, 2}, {{kBadEcho, {1, 9, 3}}},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"ConfigureNode", Device::Gateway,
         [](TransmitterClient& c) {
             protocol::GatewayState s = SentinelState();
             const Values before = StateValues(s);
             const Result r = Of(c.ConfigureNode(9, &s));
             return Outcome{r, before, StateValues(s)};
         },
         1000, Reported(2, 10), {{kBadEcho, Reported(3, 10)}},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},

        // The gateway's sets: a reply that names the command and nothing else confirms one;
        // a reply that names another value does not.
        {"WriteSleepTime", Device::Gateway,
         [](TransmitterClient& c) { return Outcome{Of(c.WriteSleepTime(300)), {}, {}}; }, 500,
         {}, {},
         {NO, NO, OK, NO, NO, NO, NO, OK, OK, NO, NO, NO}},
        {"WriteChannel", Device::Gateway,
         [](TransmitterClient& c) { return Outcome{Of(c.WriteChannel(12)), {}, {}}; }, 500, {},
         {},
         {NO, NO, OK, NO, NO, NO, NO, OK, OK, NO, NO, NO}},
        {"WriteRelay", Device::Gateway,
         [](TransmitterClient& c) {
             return Outcome{Of(c.WriteRelay({1, 9, 2})), {}, {}};
         },
         500, {}, {},
         {NO, NO, OK, NO, NO, NO, NO, OK, OK, NO, NO, NO}},
        {"ClearNode", Device::Gateway,
         [](TransmitterClient& c) { return Outcome{Of(c.ClearNode(4)), {}, {}}; }, 500, {}, {},
         {NO, NO, OK, NO, NO, NO, NO, OK, OK, NO, NO, NO}},
    };
    EachRow(rows, [](const Row& row) {
        SCOPED_TRACE(row.name);
        Rig rig(row.device);
        const auto faults = Faults(row.waitMs);
        for (std::size_t col = 0; col < kColumns; ++col) {
            SCOPED_TRACE(faults[col].name);
            ExpectCell(static_cast<Column>(col), row.want[col], rig.Cell(faults[col], row.op),
                       row.own, row.spoiled);
        }
    });
}

// Entering and leaving configuration mode wait in steps of 600 ms, up to ten of them: a reply
// is whatever arrived within the step that first brought at least 4 bytes.
TEST(TransmitterClientMatrix, ConfigurationModeAgainstTheFaultsOfItsLongSteps) {
    constexpr std::size_t kCells = 6;
    const Fault faults[kCells] = {
        {"badcrc", sim::Fault::BadCrc, 0},
        {"short", sim::Fault::ShortValid, 0},
        {"split within a step", sim::Fault::SplitPause, kLongPauseMs},
        {"split past the first step", sim::Fault::SplitPause, 700},
        {"late, in the second step", sim::Fault::Late, 1000},
        {"badecho", sim::Fault::BadEcho, 0},
    };
    const Column columns[kCells] = {kBadCrc,    kShort,      kSplitShort,
                                    kSplitLong, kLateInside, kBadEcho};
    const struct {
        const char* name;
        Outcome (*op)(TransmitterClient&);
        Values own;
        Spoiled spoiled;
        std::array<Result, kCells> want;
    } rows[] = {
        {"EnterConfigMode",
         [](TransmitterClient& c) {
             protocol::GatewayState s = SentinelState();
             const Values before = StateValues(s);
             const Result r = Of(c.EnterConfigMode(&s));
             return Outcome{r, before, StateValues(s)};
         },
         Reported(2),
         {{kBadEcho, Reported(3)}},
         {NO, NO, OK, NO, OK, OK}},
        // Leaving carries no value: a reply that names the command is enough.
        {"ExitConfigMode",
         [](TransmitterClient& c) {
             return Outcome{Of(c.ExitConfigMode()), {}, {}};
         },
         {},
         {},
         {NO, OK, OK, NO, OK, OK}},
    };
    EachRow(rows, [&](const auto& row) {
        SCOPED_TRACE(row.name);
        Rig rig(Device::Gateway);
        for (std::size_t i = 0; i < kCells; ++i) {
            SCOPED_TRACE(faults[i].name);
            ExpectCell(columns[i], row.want[i], rig.Cell(faults[i], row.op), row.own, row.spoiled);
        }
    });
}
