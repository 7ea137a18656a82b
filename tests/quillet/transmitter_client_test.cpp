// Quillet's client over a real link to the simulated transmitter: the verdict it keeps of each
// command's exchange, judged by that command's own rule.
#include "transmitter_client.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "simulated_line.h"
#include "transmitter_device.h"

using protocol::Verdict;
using quillet::TransmitterClient;
using sim::Fault;

TEST(TransmitterClient, LastVerdictJudgesEachCommandByItsOwnRule) {
    sim::TransmitterConfig config;
    config.link.address = 0xFE;
    config.link.mode = sim::AddressingMode::Broadcast;
    config.reportParameterWrites = true;  // the 11-byte report instead of the echo
    sim::SimulatedLine line(std::make_shared<sim::TransmitterDevice>(
        config, sim::RegisterMap{{0, 550}}, sim::TransmitterDevice::DefaultParameters()));
    ASSERT_TRUE(line.Ok());
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.Path(), 9600), 1);
    TransmitterClient client(link);
    ASSERT_TRUE(client.ReadCommBlock());
    client.SetBroadcast(true);

    std::uint16_t value = 0;
    const struct {
        std::string name;
        Fault fault;
        int param;
        std::function<bool()> command;
        Verdict verdict;
    } cases[] = {
        {"parameter read", Fault::None, 0, [&] { return client.ReadParameter(2, &value); },
         Verdict::Ok},
        {"parameter read, bad crc", Fault::BadCrc, 0,
         [&] { return client.ReadParameter(2, &value); }, Verdict::CrcError},
        {"parameter read, markers and code only", Fault::ShortValid, 0,
         [&] { return client.ReadParameter(2, &value); }, Verdict::TooShort},
        {"parameter read, nothing", Fault::Silence, 0,
         [&] { return client.ReadParameter(2, &value); }, Verdict::NoReply},
        {"parameter write, report", Fault::None, 0, [&] { return client.WriteParameter(3, 45); },
         Verdict::Ok},
        {"parameter write that must be echoed, report", Fault::None, 0,
         [&] { return client.WriteParameterEchoed(13, 900); }, Verdict::EchoMismatch},
        {"register read at 0xFF", Fault::None, 0,
         [&] { return client.ReadRegisters(0, 1, &value); }, Verdict::Ok},
        // The reply comes from 0xFE, the address the device reported: taken in this mode.
        {"register read at 0xFF, answered from the device's address", Fault::WrongAddress, 0,
         [&] { return client.ReadRegisters(0, 1, &value); }, Verdict::Ok},
        {"register read, exception", Fault::Exception, 0,
         [&] { return client.ReadRegisters(0, 1, &value); }, Verdict::Exception},
        {"comm block write, reply for another function", Fault::WrongFunction, 0,
         [&] { return client.WriteCommBlock(0xFE, 3); }, Verdict::WrongFunction},
        {"comm block write", Fault::None, 0, [&] { return client.WriteCommBlock(0xFE, 3); },
         Verdict::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        line.SetFault(c.fault, 1, c.param);
        const bool ok = c.command();
        EXPECT_EQ(client.LastVerdict(), c.verdict) << protocol::VerdictName(client.LastVerdict());
        EXPECT_EQ(ok, c.verdict == Verdict::Ok);
    }
    link.Port().Close();
    EXPECT_FALSE(client.ReadParameter(2, &value));
    EXPECT_EQ(client.LastVerdict(), Verdict::NotSent);
}
