// RegisterClient end to end: the real port, reader thread and wait loop against a simulated
// device on a pseudo-terminal.
#include "register_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "register_device.h"
#include "simulated_line.h"

using protocol::ExchangeStatus;
using protocol::RegisterClient;
using sim::Fault;

namespace {

class RegisterClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::RegisterDeviceConfig config;
        config.address = 7;
        config.baud = 4800;
        device_ = std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{0, 550},
                                                                                 {1, 0xFF9C},
                                                                                 {2, 0x1234},
                                                                                 {3, 0x5678},
                                                                                 {0x10, 0x3F73},
                                                                                 {0x11, 0x3333},
                                                                                 {0x30, 0}});
        line_ = std::make_unique<sim::SimulatedLine>(device_);
        ASSERT_TRUE(line_->Ok());
        ASSERT_EQ(link_.Reopen(line_->Path(), 4800), 1);
        link_.SetDeviceAddress(7);
    }

    std::shared_ptr<sim::RegisterDevice> device_;
    std::unique_ptr<sim::SimulatedLine> line_;
    transport::SerialLink link_;
    RegisterClient client_{link_};
};

}  // namespace

TEST_F(RegisterClientTest, ReadsAndWritesAgainstTheDevice) {
    std::uint16_t value = 0;
    EXPECT_EQ(client_.ReadRegister(1, &value), ExchangeStatus::Ok);
    EXPECT_EQ(value, 0xFF9C);
    std::uint32_t pair = 0;
    EXPECT_EQ(client_.ReadRegisterPair(2, &pair), ExchangeStatus::Ok);
    EXPECT_EQ(pair, 0x12345678u);
    float f = 0;
    EXPECT_EQ(client_.ReadFloat(0x10, &f), ExchangeStatus::Ok);
    EXPECT_FLOAT_EQ(f, 0.95f);
    EXPECT_EQ(client_.WriteRegister(0x30, 355), ExchangeStatus::Ok);
    EXPECT_EQ(device_->Register(0x30), 355);
    EXPECT_EQ(client_.WriteRegisterPair(2, 0xCAFEBABE), ExchangeStatus::Ok);
    EXPECT_EQ(device_->Register(2), 0xCAFE);
    EXPECT_EQ(device_->Register(3), 0xBABE);
    std::uint16_t block[4] = {};
    EXPECT_EQ(client_.ReadRegisters(0, 4, block), ExchangeStatus::Ok);
    EXPECT_EQ(block[2], 0xCAFE);
    EXPECT_EQ(block[3], 0xBABE);
    // Exactly one request per call, with the device address.
    const auto received = line_->Received();
    ASSERT_EQ(received.size(), 6u);
    const protocol::Frame first = protocol::BuildReadRegisters(7, 1, 1);
    EXPECT_EQ(received[0], sim::Bytes(first.data(), first.data() + first.size));
    for (const auto& r : received) EXPECT_EQ(r[0], 7);
}

TEST_F(RegisterClientTest, PortClosedSendsNothing) {
    link_.Port().Close();
    std::uint16_t value = 42;
    std::uint32_t pair = 42;
    float f = 42;
    EXPECT_EQ(client_.ReadRegister(1, &value), ExchangeStatus::PortClosed);
    EXPECT_EQ(client_.ReadRegisterPair(2, &pair), ExchangeStatus::PortClosed);
    EXPECT_EQ(client_.ReadFloat(0x10, &f), ExchangeStatus::PortClosed);
    EXPECT_EQ(client_.WriteRegister(0x30, 1), ExchangeStatus::PortClosed);
    EXPECT_EQ(client_.WriteRegisterPair(2, 1), ExchangeStatus::PortClosed);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(pair, 42u);
    EXPECT_TRUE(line_->Received().empty());
}

TEST_F(RegisterClientTest, FaultyRepliesGiveTheirStatusAndLeaveTheValue) {
    const struct {
        std::string name;
        Fault fault;
        int param;
        ExchangeStatus read, write, writePair;
    } cases[] = {
        {"silence", Fault::Silence, 0, ExchangeStatus::NoReply, ExchangeStatus::NoReply,
         ExchangeStatus::NoReply},
        {"bad crc", Fault::BadCrc, 0, ExchangeStatus::CheckFailed, ExchangeStatus::CheckFailed,
         ExchangeStatus::CheckFailed},
        {"wrong address", Fault::WrongAddress, 0, ExchangeStatus::NoReply,
         ExchangeStatus::CheckFailed, ExchangeStatus::NoReply},
        {"wrong function", Fault::WrongFunction, 0, ExchangeStatus::NoReply,
         ExchangeStatus::CheckFailed, ExchangeStatus::NoReply},
        {"three bytes", Fault::Truncate, 3, ExchangeStatus::NoReply, ExchangeStatus::NoReply,
         ExchangeStatus::NoReply},
        {"truncated", Fault::Truncate, 0, ExchangeStatus::CheckFailed, ExchangeStatus::CheckFailed,
         ExchangeStatus::CheckFailed},
        {"short with valid crc", Fault::ShortValid, 3, ExchangeStatus::NoReply,
         ExchangeStatus::CheckFailed, ExchangeStatus::NoReply},
        {"address and function only", Fault::ShortValid, 2, ExchangeStatus::NoReply,
         ExchangeStatus::CheckFailed, ExchangeStatus::NoReply},
        {"two replies", Fault::DoubleReply, 0, ExchangeStatus::CheckFailed, ExchangeStatus::Ok,
         ExchangeStatus::CheckFailed},
        {"leading noise", Fault::LeadingNoise, 2, ExchangeStatus::NoReply,
         ExchangeStatus::CheckFailed, ExchangeStatus::CheckFailed},
        {"split by a long pause", Fault::SplitPause, 200, ExchangeStatus::NoReply,
         ExchangeStatus::CheckFailed, ExchangeStatus::CheckFailed},
        {"split by a short pause", Fault::SplitPause, 5, ExchangeStatus::Ok, ExchangeStatus::Ok,
         ExchangeStatus::Ok},
        {"delay past the wait", Fault::Delay, 700, ExchangeStatus::NoReply, ExchangeStatus::NoReply,
         ExchangeStatus::NoReply},
        {"delay within the wait", Fault::Delay, 100, ExchangeStatus::Ok, ExchangeStatus::Ok,
         ExchangeStatus::Ok},
    };
    for (const auto& c : cases) {
        // Late bytes of a split or delayed reply must land before the next request's flush.
        const bool late = c.fault == Fault::SplitPause || c.fault == Fault::Delay;
        auto settle = [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(late ? 400 : 0));
        };
        std::uint16_t value = 42;
        line_->SetFault(c.fault, 1, c.param);
        EXPECT_EQ(client_.ReadRegister(0, &value), c.read) << c.name;
        if (c.read != ExchangeStatus::Ok) {
            EXPECT_EQ(value, 42) << c.name;
        }
        settle();
        line_->SetFault(c.fault, 1, c.param);
        EXPECT_EQ(client_.WriteRegister(0x30, 5), c.write) << c.name;
        settle();
        line_->SetFault(c.fault, 1, c.param);
        EXPECT_EQ(client_.WriteRegisterPair(2, 0x00010002), c.writePair) << c.name;
        settle();
    }
}

TEST_F(RegisterClientTest, ExceptionRepliesAreFailures) {
    std::uint16_t value = 42;
    EXPECT_EQ(client_.ReadRegister(0x999, &value), ExchangeStatus::NoReply);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(client_.WriteRegister(0x999, 1), ExchangeStatus::CheckFailed);
    EXPECT_EQ(client_.WriteRegisterPair(0x999, 1), ExchangeStatus::NoReply);
}

TEST_F(RegisterClientTest, WrongAddressOrBaudMeansNoReply) {
    std::uint16_t value = 0;
    link_.SetDeviceAddress(8);
    EXPECT_EQ(client_.ReadRegister(0, &value), ExchangeStatus::NoReply);
    link_.SetDeviceAddress(7);
    ASSERT_EQ(link_.Reopen(line_->Path(), 9600), 1);
    EXPECT_EQ(client_.ReadRegister(0, &value), ExchangeStatus::NoReply);
    ASSERT_EQ(link_.Reopen(line_->Path(), 4800), 1);
    EXPECT_EQ(client_.ReadRegister(0, &value), ExchangeStatus::Ok);
}

TEST_F(RegisterClientTest, LineClosedUnderTheProgram) {
    line_->SetFault(Fault::CloseLine, 1);
    std::uint16_t value = 42;
    EXPECT_EQ(client_.ReadRegister(0, &value), ExchangeStatus::NoReply);
    // The link noticed the hang-up and closed the port: later commands fail as with a closed
    // port, at once.
    EXPECT_TRUE(client_.Link().Lost());
    EXPECT_EQ(client_.ReadRegister(0, &value), ExchangeStatus::PortClosed);
    EXPECT_EQ(value, 42);
}

TEST_F(RegisterClientTest, LastVerdictSaysWhatBecameOfEachExchange) {
    using protocol::Verdict;
    const struct {
        std::string name;
        Fault fault;
        int param;
        Verdict read, write, writePair;
    } cases[] = {
        {"clean", Fault::None, 0, Verdict::Ok, Verdict::Ok, Verdict::Ok},
        {"silence", Fault::Silence, 0, Verdict::NoReply, Verdict::NoReply, Verdict::NoReply},
        {"bad crc", Fault::BadCrc, 0, Verdict::CrcError, Verdict::CrcError, Verdict::CrcError},
        {"wrong address", Fault::WrongAddress, 0, Verdict::WrongAddress, Verdict::WrongAddress,
         Verdict::WrongAddress},
        {"wrong function", Fault::WrongFunction, 0, Verdict::WrongFunction, Verdict::WrongFunction,
         Verdict::WrongFunction},
        {"three bytes", Fault::Truncate, 3, Verdict::TooShort, Verdict::TooShort,
         Verdict::TooShort},
        // A write's echo is taken on its first eight bytes, whatever follows.
        {"two replies", Fault::DoubleReply, 0, Verdict::TooLong, Verdict::Ok, Verdict::TooLong},
        // A changed register value still reads as a value; a changed echo confirms nothing.
        {"changed last byte", Fault::BadEcho, 0, Verdict::Ok, Verdict::EchoMismatch,
         Verdict::EchoMismatch},
        {"exception", Fault::Exception, 0, Verdict::Exception, Verdict::Exception,
         Verdict::Exception},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint16_t value = 0;
        line_->SetFault(c.fault, 1, c.param);
        const ExchangeStatus read = client_.ReadRegister(0, &value);
        EXPECT_EQ(client_.LastVerdict(), c.read) << protocol::VerdictName(client_.LastVerdict());
        EXPECT_EQ(read == ExchangeStatus::Ok, c.read == Verdict::Ok);
        line_->SetFault(c.fault, 1, c.param);
        const ExchangeStatus write = client_.WriteRegister(0x30, 5);
        EXPECT_EQ(client_.LastVerdict(), c.write) << protocol::VerdictName(client_.LastVerdict());
        EXPECT_EQ(write == ExchangeStatus::Ok, c.write == Verdict::Ok);
        line_->SetFault(c.fault, 1, c.param);
        const ExchangeStatus pair = client_.WriteRegisterPair(2, 0x00010002);
        EXPECT_EQ(client_.LastVerdict(), c.writePair)
            << protocol::VerdictName(client_.LastVerdict());
        EXPECT_EQ(pair == ExchangeStatus::Ok, c.writePair == Verdict::Ok);
    }
    link_.Port().Close();
    std::uint16_t value = 0;
    EXPECT_EQ(client_.ReadRegister(0, &value), ExchangeStatus::PortClosed);
    EXPECT_EQ(client_.LastVerdict(), Verdict::NotSent);
}
