// The line's faults as any master sees them: the slave end opened raw, a request written and
// the bytes that come back read with a deadline.
#include "simulated_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

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
        SetSpeed(B9600);
    }
    void SetSpeed(speed_t speed) {
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, speed);
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
    std::shared_ptr<sim::RegisterDevice> device = std::make_shared<sim::RegisterDevice>(
        config, sim::RegisterMap{{1, 236}, {2, 0}, {3, 0}, {4, 99}});
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

TEST_F(FaultTest, EchoGoesOutAtOnceAndTheReplyAfterAPauseAndWithoutADeviceToo) {
    const Bytes read = B(protocol::BuildReadRegisters(5, 1, 1));
    regLine.SetFault(Fault::Echo, 2);
    const auto sent = Clock::now();
    reg.Write(read);
    EXPECT_EQ(reg.Read(read.size()), read);
    EXPECT_EQ(reg.Read(7), WithCrc({5, 3, 2, 0, 236}));
    // The reply waits longer than the silence after which a master takes a burst as ended.
    EXPECT_GE(Clock::now() - sent, 80ms);
    // The device does not listen at 4800; the adapter still echoes, and that is all.
    reg.SetSpeed(B4800);
    reg.Write(read);
    EXPECT_EQ(reg.Read(read.size()), read);
    reg.SetSpeed(B9600);
    reg.Write(B(protocol::BuildReadRegisters(5, 4, 1)));
    EXPECT_EQ(reg.Read(7), WithCrc({5, 3, 2, 0, 99}));
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

// How a faulted reply relates to the clean one.
using Check = std::function<bool(const Bytes& got, const Bytes& clean)>;
Check Is(const Bytes& exact) {
    return [exact](const Bytes& got, const Bytes&) { return got == exact; };
}
// Exactly one byte before the CRC differs, within [from, to), and the CRC fits.
Check OneChanged(std::size_t from, std::size_t to) {
    return [=](const Bytes& got, const Bytes& clean) {
        if (got.size() != clean.size() || !CrcValid(got)) return false;
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i + 2 < got.size(); ++i)
            if (got[i] != clean[i]) at.push_back(i);
        return at.size() == 1 && at[0] >= from && at[0] < to;
    };
}

TEST_F(FaultTest, EachFaultChangesTheReplyOnTheWireAsNamed) {
    const Bytes read = B(protocol::BuildReadRegisters(5, 1, 1));
    const Bytes write6 = B(protocol::BuildWriteRegister(5, 3, 0x1234));
    const Bytes write16 = B(protocol::BuildWriteRegisterPair(5, 2, 0x00010002));
    const Bytes fd = B(protocol::BuildAddressFrame(0, 0));
    const Bytes fcRead = B(protocol::BuildConfigRead(1));
    const Bytes fcWrite = B(protocol::BuildConfigWrite(3, 45));
    const Bytes fbWrite = B(protocol::BuildWriteChannel(9));
    const Check badCrc = [](const Bytes& got, const Bytes& clean) {
        return got.size() == clean.size() && !CrcValid(got) &&
               std::equal(clean.begin(), clean.end() - 2, got.begin());
    };
    const Check twice = [](const Bytes& got, const Bytes& clean) {
        return got.size() == 2 * clean.size() &&
               std::equal(clean.begin(), clean.end(), got.begin()) &&
               std::equal(clean.begin(), clean.end(), got.begin() + long(clean.size()));
    };
    const Check echoFirst = [&](const Bytes& got, const Bytes& clean) {
        Bytes both = read;
        both.insert(both.end(), clean.begin(), clean.end());
        return got == both;
    };
    const Check afterNoise = [](const Bytes& got, const Bytes& clean) {
        return got.size() > clean.size() && got.size() <= clean.size() + 8 &&
               std::equal(clean.rbegin(), clean.rend(), got.rbegin());
    };
    const std::pair<Bytes, Bytes> regProbe{B(protocol::BuildReadRegisters(5, 4, 1)),
                                           WithCrc({5, 3, 2, 0, 99})};
    const std::pair<Bytes, Bytes> txProbe{B(protocol::BuildConfigRead(2)),
                                          WithCrc({0xFC, 0xFC, 0xFC, 2, 0, 0x80, 0x14, 0, 0})};
    const struct {
        const char* fault;
        bool transmitter;
        Bytes request;
        std::size_t length;  // of the clean reply
        Check check;
    } rows[] = {
        {"silent", false, read, 7, Is({})},
        {"badcrc", false, read, 7, badCrc},
        {"short", false, read, 7, Is(WithCrc({5, 0x03}))},
        {"short", false, write16, 8, Is(WithCrc({5, 0x10}))},
        {"short", false, fd, 7, Is(WithCrc({0xFD, 0xFD, 0xFD, 3}))},
        {"short", true, fcRead, 11, Is(WithCrc({0xFC, 0xFC, 0xFC, 1}))},
        {"wrongaddr", false, read, 7, OneChanged(0, 1)},
        {"wrongaddr", false, fd, 7, OneChanged(3, 4)},
        {"wrongaddr", true, fbWrite, 8, OneChanged(3, 4)},
        {"double", false, read, 7, twice},
        {"noise", false, read, 7, afterNoise},
        {"badecho", false, write6, 8, OneChanged(4, 6)},
        {"badecho", false, write16, 8, OneChanged(4, 6)},
        {"badecho", true, fcWrite, 9, OneChanged(5, 7)},
        {"badecho", true, fbWrite, 8, OneChanged(5, 6)},
        {"badecho", false, read, 7, OneChanged(3, 5)},
        {"exception", false, read, 7, Is(WithCrc({5, 0x83, 2}))},
        {"exception", false, write6, 8, Is(WithCrc({5, 0x86, 2}))},
        {"exception", false, write16, 8, Is(WithCrc({5, 0x90, 2}))},
        {"exception", true, fcRead, 11, Is({})},
        {"echo", false, read, 7, echoFirst},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.fault) + ", request " + testing::PrintToString(row.request));
        sim::SimulatedLine& line = row.transmitter ? txLine : regLine;
        RawPort& port = row.transmitter ? tx : reg;
        port.Write(row.request);
        const Bytes clean = port.Read(row.length);
        ASSERT_TRUE(CrcValid(clean));

        const auto choice = sim::ParseFaultList(row.fault, nullptr);
        ASSERT_TRUE(choice && choice->size() == 1);
        line.SetFault(choice->front().fault, 1, choice->front().param);
        port.Write(row.request);
        const Bytes got = port.ReadUntil([&](const Bytes& b) { return row.check(b, clean); });
        EXPECT_TRUE(row.check(got, clean)) << testing::PrintToString(got);
        // Nothing more came: a request no row makes is answered straight away.
        const auto& [probe, answer] = row.transmitter ? txProbe : regProbe;
        port.Write(probe);
        EXPECT_EQ(port.Read(answer.size()), answer);
    }
}

TEST_F(FaultTest, ARateWithASeedFaultsTheSameRepliesEveryTime) {
    const Bytes read = B(protocol::BuildReadRegisters(5, 1, 1));
    const Bytes clean = WithCrc({5, 3, 2, 0, 236});
    auto run = [&](double rate, std::uint64_t seed) {
        regLine.SetFaultPlan({*sim::ParseFaultList("badcrc,wrongaddr", nullptr), rate, seed});
        std::string kinds;
        for (int i = 0; i < 24; ++i) {
            reg.Write(read);
            const Bytes got = reg.Read(7);
            kinds += got == clean ? '.' : !CrcValid(got) ? 'c' : got[0] != 5 ? 'a' : '?';
        }
        return kinds;
    };
    const std::string first = run(0.5, 7);
    SCOPED_TRACE(first);
    EXPECT_EQ(run(0.5, 7), first);
    EXPECT_NE(run(0.5, 8), first);
    for (char kind : {'.', 'c', 'a'}) EXPECT_NE(first.find(kind), std::string::npos) << kind;
    EXPECT_EQ(first.find('?'), std::string::npos);
    EXPECT_EQ(run(0, 7), std::string(24, '.'));
    EXPECT_EQ(run(1, 7).find('.'), std::string::npos);
}

}  // namespace
