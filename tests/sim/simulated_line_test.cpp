// The line's faults as any master sees them: the slave end opened raw, a request written and
// the bytes that come back read with a deadline.
#include "simulated_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "config_frames.h"
#include "modbus_crc.h"
#include "register_device.h"
#include "register_frames.h"
#include "transmitter_device.h"
#include "wireless_frames.h"

using namespace std::chrono_literals;
using sim::Bytes;
using sim::Fault;
using Clock = std::chrono::steady_clock;

namespace {

Bytes B(const protocol::Frame& f) {
    return Bytes(f.data(), f.data() + f.size);
}
Bytes WithCrc(Bytes b) {
    sim::AppendCrc(b);
    return b;
}
bool CrcValid(const Bytes& b) {
    return b.size() > 2 && protocol::CrcMatches(b.data(), b.size());
}

// The slave end as a serial program opens it: raw, 9600 baud.
class RawPort {
  public:
    explicit RawPort(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ~RawPort() { ::close(fd_); }
    void Write(const Bytes& b) { EXPECT_EQ(::write(fd_, b.data(), b.size()), ssize_t(b.size())); }
    // Bytes one at a time until `done` holds or three seconds pass.
    Bytes ReadUntil(const std::function<bool(const Bytes&)>& done) {
        Bytes got;
        const auto deadline = Clock::now() + 3s;
        while (!done(got) && Clock::now() < deadline) {
            pollfd p{fd_, POLLIN, 0};
            std::uint8_t byte;
            if (::poll(&p, 1, 10) > 0 && ::read(fd_, &byte, 1) == 1) got.push_back(byte);
        }
        return got;
    }
    Bytes Read(std::size_t n) {
        return ReadUntil([n](const Bytes& b) { return b.size() >= n; });
    }

  private:
    int fd_;
};

// A register device at address 5 and the transmitter in configuration mode, both found by
// the FD frame at 9600 baud.
class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(regLine.Ok() && txLine.Ok());
        tx.Write(B(protocol::BuildEnterConfigMode()));
        ASSERT_TRUE(CrcValid(tx.Read(41)));
    }
    sim::RegisterDeviceConfig config{.address = 5};
    std::shared_ptr<sim::RegisterDevice> device =
        std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{1, 236}, {2, 0}, {3, 0}});
    sim::SimulatedLine regLine{device};
    sim::SimulatedLine txLine{std::make_shared<sim::TransmitterDevice>(
        sim::TransmitterConfig{}, sim::RegisterMap{}, sim::TransmitterDevice::DefaultParameters())};
    RawPort reg{regLine.Path()};
    RawPort tx{txLine.Path()};
};

TEST_F(FaultTest, LateAnswersAfterItsTimeAndIgnoresRequestsMeanwhile) {
    const Bytes read = B(protocol::BuildReadRegisters(5, 1, 1));
    const Bytes write = B(protocol::BuildWriteRegister(5, 3, 77));
    regLine.SetFault(Fault::Late, 1, 600);
    const auto sent = Clock::now();
    reg.Write(read);
    reg.Write(write);  // arrives while the late reply waits
    const Bytes reply = reg.Read(7);
    EXPECT_GE(Clock::now() - sent, 600ms);
    EXPECT_EQ(reply, WithCrc({5, 3, 2, 0, 236}));
    // The write was heard but neither answered nor carried out.
    reg.Write(read);
    EXPECT_EQ(reg.Read(7), reply);
    EXPECT_EQ(regLine.Received(), (std::vector<Bytes>{read, write, read}));
    EXPECT_EQ(device->Register(3), 0);
}

TEST_F(FaultTest, SplitSendsTwoPiecesWithAPauseBetween) {
    const Bytes read = B(protocol::BuildReadRegisters(5, 1, 1));
    regLine.SetFault(Fault::SplitPause, 1, 400);
    const auto sent = Clock::now();
    reg.Write(read);
    Bytes got = reg.Read(1);
    const auto firstAt = Clock::now();
    const Bytes rest = reg.Read(6);
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(got, WithCrc({5, 3, 2, 0, 236}));
    EXPECT_GE(Clock::now() - sent, 400ms);
    EXPECT_GE(Clock::now() - firstAt, 200ms);  // the last byte came well after the first
}

}  // namespace
