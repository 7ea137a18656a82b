// Ports behind a serial device server: the real SerialLink against Debian's ser2net serving a
// pseudo-terminal, and against small fake servers for what ser2net will not do (stay silent,
// refuse, confirm another rate, write a reply in pieces).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "pty_line.h"
#include "register_device.h"
#include "ser2net_process.h"
#include "serial_link.h"
#include "simulated_line.h"

using namespace std::chrono_literals;
using nettest::Ser2netProcess;
using transport::OpenError;
using Bytes = std::vector<std::uint8_t>;
using Kind = Ser2netProcess::Kind;

namespace {

template <class F>
bool WaitUntil(F condition, std::chrono::milliseconds limit = 3000ms) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

Bytes WithCrc(Bytes bytes) {
    sim::AppendCrc(bytes);
    return bytes;
}

// Reads holding register 0 of device 1.
Bytes ReadRegisterZero(transport::SerialLink& link) {
    const Bytes request = WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    std::uint8_t reply[64];
    const std::size_t n = link.Exchange(request.data(), request.size(), reply, sizeof reply);
    if (n) link.ReplyAccepted();
    return Bytes(reply, reply + n);
}

const Bytes kRegisterZeroReply = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});

std::shared_ptr<sim::RegisterDevice> DeviceAt(std::uint32_t baud) {
    sim::RegisterDeviceConfig config;
    config.address = 1;
    config.baud = baud;
    return std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{0, 0x1234}});
}

const char* KindName(Kind kind) {
    return kind == Kind::Rfc2217 ? "rfc2217" : "tcp";
}

class Ser2netTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (Ser2netProcess::Program().empty()) {
            GTEST_SKIP() << "ser2net is not installed (scripts/setup installs it)";
        }
    }
};

}  // namespace

// The device answers only at 4800: it answers exactly when the rate the link opened with
// reached its line through the server.
TEST_F(Ser2netTest, Rfc2217RatesReachTheRemoteLine) {
    sim::SimulatedLine line(DeviceAt(4800));
    ASSERT_TRUE(line.Ok());
    Ser2netProcess server({{line.Path(), Kind::Rfc2217}});
    ASSERT_EQ(server.Error(), "");
    transport::SerialLink link;
    const struct {
        std::uint32_t baud;
        bool answers;
    } rows[] = {{4800, true}, {2400, false}, {9600, false}, {4800, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.baud);
        ASSERT_EQ(link.Reopen(server.PortName(0), row.baud), 1)
            << static_cast<int>(link.Port().LastOpenError()) << server.Log();
        EXPECT_TRUE(link.Port().CanSetRate());
        EXPECT_TRUE(WaitUntil([&] { return line.LineBaud() == row.baud; })) << line.LineBaud();
        EXPECT_EQ(ReadRegisterZero(link), row.answers ? kRegisterZeroReply : Bytes{});
    }
}

// Over both kinds: every byte value, 0xFF (IAC) runs and CR NUL among them, passes both ways
// unharmed; then the server goes away under the open link, which is a lost line as a pulled
// adapter is (closed, reported, exchanges fail), and with nothing listening any more the next
// open is refused.
TEST_F(Ser2netTest, BytesPassUnharmedAndAStoppedServerIsALostLine) {
    Bytes block;
    for (int i = 0; i < 256; ++i) block.push_back(static_cast<std::uint8_t>(i));
    const Bytes tricky = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x0D, 0x00, 0x0D, 0x0A, 0xFF};
    block.insert(block.end(), tricky.begin(), tricky.end());
    for (const Kind kind : {Kind::Rfc2217, Kind::RawTcp}) {
        SCOPED_TRACE(KindName(kind));
        sim::PtyLine line;
        ASSERT_TRUE(line.Ok());
        Ser2netProcess server({{line.SlavePath(), kind}});
        ASSERT_EQ(server.Error(), "");
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(server.PortName(0), 9600), 1);

        // To the line first: once it has arrived the server has the line open, and what the
        // line sends next cannot be flushed away by the server's open.
        ASSERT_EQ(link.Port().Write(block.data(), block.size()), 1);
        Bytes atLine;
        EXPECT_TRUE(WaitUntil([&] {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(line.MasterFd(), buffer, sizeof buffer);
            if (n > 0) atLine.insert(atLine.end(), buffer, buffer + n);
            return atLine.size() >= block.size();
        }));
        EXPECT_EQ(atLine, block);

        const Bytes back(block.rbegin(), block.rend());
        ASSERT_EQ(::write(line.MasterFd(), back.data(), back.size()),
                  static_cast<ssize_t>(back.size()));
        Bytes atLink;
        EXPECT_TRUE(WaitUntil([&] {
            std::uint8_t buffer[1024];
            const std::size_t n = link.TakeFrame(buffer, sizeof buffer);
            atLink.insert(atLink.end(), buffer, buffer + n);
            return atLink.size() >= back.size();
        }));
        EXPECT_EQ(atLink, back);

        EXPECT_FALSE(link.Lost());
        server.Stop();
        ASSERT_TRUE(WaitUntil([&] { return link.Lost(); }));
        EXPECT_FALSE(link.IsOpen());
        EXPECT_EQ(ReadRegisterZero(link), Bytes{});
        EXPECT_EQ(link.Port().Write(block.data(), 1), 0);
        EXPECT_EQ(link.Reopen(server.PortName(0), 9600), 0);
        EXPECT_EQ(link.Port().LastOpenError(), OpenError::Refused);
    }
}

// A raw TCP server keeps its own rate: the link's asks for another change nothing, and it
// says it cannot set the rate.
TEST_F(Ser2netTest, RawTcpExchangesAtTheServersRate) {
    sim::SimulatedLine line(DeviceAt(4800));
    ASSERT_TRUE(line.Ok());
    Ser2netProcess server({{line.Path(), Kind::RawTcp, 4800}});
    ASSERT_EQ(server.Error(), "");
    transport::SerialLink link;
    // The second time by a name that is looked up.
    std::string byName = server.PortName(0);
    byName.replace(byName.find("127.0.0.1"), 9, "localhost");
    for (const auto& [name, asked] : {std::pair{server.PortName(0), 9600u}, {byName, 2400u}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(link.Reopen(name, asked), 1);
        EXPECT_FALSE(link.Port().CanSetRate());
        EXPECT_EQ(ReadRegisterZero(link), kRegisterZeroReply);
        EXPECT_EQ(line.LineBaud(), 4800u);
    }
}

namespace {

constexpr std::uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, DO = 253, DONT = 254;
constexpr std::uint8_t COMPORT = 44;
const Bytes kFirstPiece = {0x01, 0x03, 0x02};
const Bytes kSecondPiece = {0x12, 0x34, 0xB5, 0x33};

// A Telnet server for one connection that answers the com port option as told.
class FakeServer {
  public:
    enum class Behaviour {
        Silent,               // reads, never answers
        AgreesOnly,           // agrees to the option, confirms no setting
        RefusesOption,        // DONT to the option
        ClosesAtOnce,         // accepts and closes
        ConfirmsAnotherRate,  // confirms every setting, but 9600 for the rate
        ConfirmsAll,          // confirms what it was sent (the rate, data size, parity, stops)
        AnswersInTwoWrites,   // raw: answers each request with two small writes, back to back
    };

    explicit FakeServer(Behaviour behaviour) : behaviour_(behaviour) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~FakeServer() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    std::string Name(const char* scheme) const {
        return scheme + std::string("127.0.0.1:") + std::to_string(port_);
    }
    Bytes Received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

  private:
    void Run() {
        pollfd p{listener_, POLLIN, 0};
        while (!stop_ && ::poll(&p, 1, 10) <= 0) {
        }
        if (stop_) return;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (behaviour_ == Behaviour::ClosesAtOnce) {
            ::close(fd);
            return;
        }
        std::size_t parsed = 0;
        bool agreed = false;
        while (!stop_) {
            pollfd c{fd, POLLIN, 0};
            if (::poll(&c, 1, 10) <= 0) continue;
            std::uint8_t buffer[512];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            std::lock_guard lock(mutex_);
            received_.insert(received_.end(), buffer, buffer + n);
            if (behaviour_ == Behaviour::Silent) continue;
            if (behaviour_ == Behaviour::AnswersInTwoWrites) {
                ::send(fd, kFirstPiece.data(), kFirstPiece.size(), MSG_NOSIGNAL);
                ::send(fd, kSecondPiece.data(), kSecondPiece.size(), MSG_NOSIGNAL);
                continue;
            }
            Bytes answer;
            const Bytes will = {IAC, WILL, COMPORT};
            if (!agreed && std::search(received_.begin(), received_.end(), will.begin(),
                                       will.end()) != received_.end()) {
                agreed = true;
                answer.insert(answer.end(),
                              {IAC, behaviour_ == Behaviour::RefusesOption ? DONT : DO, COMPORT});
            }
            // Each whole IAC SB COMPORT code value IAC SE received so far, answered once.
            const Bytes start = {IAC, SB, COMPORT};
            const Bytes end = {IAC, SE};
            for (;;) {
                const auto from = received_.begin() + static_cast<std::ptrdiff_t>(parsed);
                const auto sb = std::search(from, received_.end(), start.begin(), start.end());
                if (sb == received_.end()) break;
                const auto se = std::search(sb + 3, received_.end(), end.begin(), end.end());
                if (se == received_.end()) break;
                parsed = static_cast<std::size_t>(se + 2 - received_.begin());
                Bytes value(sb + 4, se);
                const std::uint8_t code = *(sb + 3);
                if (code < 1 || code > 4 || behaviour_ == Behaviour::AgreesOnly) continue;
                if (code == 1 && behaviour_ == Behaviour::ConfirmsAnotherRate) {
                    value = {0x00, 0x00, 0x25, 0x80};
                }
                answer.insert(answer.end(),
                              {IAC, SB, COMPORT, static_cast<std::uint8_t>(code + 100)});
                answer.insert(answer.end(), value.begin(), value.end());
                answer.insert(answer.end(), end.begin(), end.end());
            }
            if (!answer.empty()) ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
        }
        ::close(fd);
    }

    Behaviour behaviour_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    Bytes received_;
    std::thread thread_;
};

bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

}  // namespace

TEST(NetworkPort, OpenFailsAsTheServerAnswers) {
    using B = FakeServer::Behaviour;
    const struct {
        const char* what;
        B behaviour;
        OpenError error;
        bool waitsOut;  // fails only when the 2 s for an answer have passed
    } rows[] = {
        {"silent server", B::Silent, OpenError::NoAnswer, true},
        {"settings never confirmed", B::AgreesOnly, OpenError::NoAnswer, true},
        {"option refused", B::RefusesOption, OpenError::NotSerial, false},
        {"connection closed at once", B::ClosesAtOnce, OpenError::Refused, false},
        {"another rate confirmed", B::ConfirmsAnotherRate, OpenError::BadSettings, false},
        {"all confirmed", B::ConfirmsAll, OpenError::None, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        FakeServer server(row.behaviour);
        transport::SerialPort port;
        port.SetParams(server.Name("rfc2217://"), 8, 0, 0, 4800);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.Open(), row.error == OpenError::None ? 1 : 0);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(port.LastOpenError(), row.error);
        EXPECT_EQ(port.IsOpen(), row.error == OpenError::None);
        if (row.waitsOut) {
            EXPECT_GE(took, 1900ms);
            EXPECT_LT(took, 4000ms);
        } else {
            EXPECT_LT(took, 1500ms);
        }
    }
}

// What reaches the server for the line's settings, byte for byte.
TEST(NetworkPort, LineSettingsGoToTheServer) {
    const struct {
        std::uint32_t baud;
        std::uint8_t parity;
        std::uint8_t stopBits;
        Bytes baudBytes;
        std::uint8_t parityCode;
        std::uint8_t stopCode;
    } rows[] = {
        {4800, 0, 0, {0x00, 0x00, 0x12, 0xC0}, 1, 1},
        {9600, 2, 2, {0x00, 0x00, 0x25, 0x80}, 3, 2},
        {115200, 1, 0, {0x00, 0x01, 0xC2, 0x00}, 2, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.baud);
        FakeServer server(FakeServer::Behaviour::ConfirmsAll);
        transport::SerialPort port;
        port.SetParams(server.Name("rfc2217://"), 8, row.parity, row.stopBits, row.baud);
        ASSERT_EQ(port.Open(), 1);
        Bytes baud = {IAC, SB, COMPORT, 1};
        baud.insert(baud.end(), row.baudBytes.begin(), row.baudBytes.end());
        baud.insert(baud.end(), {IAC, SE});
        const Bytes received = server.Received();
        EXPECT_TRUE(Contains(received, baud));
        EXPECT_TRUE(Contains(received, {IAC, SB, COMPORT, 2, 8, IAC, SE}));
        EXPECT_TRUE(Contains(received, {IAC, SB, COMPORT, 3, row.parityCode, IAC, SE}));
        EXPECT_TRUE(Contains(received, {IAC, SB, COMPORT, 4, row.stopCode, IAC, SE}));
        EXPECT_TRUE(Contains(received, {IAC, SB, COMPORT, 12, 3, IAC, SE}));  // purge both
    }
}

// A server that writes a reply in pieces (a serial line read as it arrives) must not have it
// cut in two by the network: a piece held back until the last was acknowledged would arrive
// after the framing gap.
TEST(NetworkPort, ReplyWrittenInPiecesIsOneFrame) {
    FakeServer server(FakeServer::Behaviour::AnswersInTwoWrites);
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(server.Name("tcp://"), 9600), 1);
    Bytes whole = kFirstPiece;
    whole.insert(whole.end(), kSecondPiece.begin(), kSecondPiece.end());
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ReadRegisterZero(link), whole);
    }
}

TEST(NetworkPort, NothingListeningIsRefusedAndBadNamesAreMissing) {
    const std::string free = std::to_string(nettest::FreeLoopbackPort());
    const struct {
        std::string name;
        OpenError error;
    } rows[] = {
        {"rfc2217://127.0.0.1:" + free, OpenError::Refused},
        {"tcp://127.0.0.1:" + free, OpenError::Refused},
        {"tcp://localhost:" + free, OpenError::Refused},
        {"rfc2217://127.0.0.1", OpenError::Missing},
        {"rfc2217://:2217", OpenError::Missing},
        {"tcp://127.0.0.1:0", OpenError::Missing},
        {"tcp://127.0.0.1:65536", OpenError::Missing},
        {"tcp://127.0.0.1:40x", OpenError::Missing},
        {"tcp://::1:2217", OpenError::Missing},  // an IPv6 address needs brackets
        {"telnet://127.0.0.1:23", OpenError::Missing},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        transport::SerialPort port;
        port.SetParams(row.name, 8, 0, 0, 9600);
        EXPECT_EQ(port.Open(), 0);
        EXPECT_EQ(port.LastOpenError(), row.error);
    }
}
