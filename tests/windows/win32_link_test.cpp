// The Win32 serial line under the real link, reader thread and RegisterClient, against the
// simulator. scripts/test-windows serves two devices and maps them to COM ports:
//   win32_link_test --port COM5 --hangup-port COM6
// --port: a device found by the FD frame at 4800 baud, address 7, register 1 = 253.
// --hangup-port: any device at 4800; when the program prints "hang up COM6 now" the script
// ends that device, as a pulled adapter would end the line.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "register_client.h"
#include "register_frames.h"
#include "serial_link.h"
#include "win32_serial_backend.h"

using namespace std::chrono_literals;
using transport::OpenError;
using transport::SerialLink;

namespace {

std::string gPort;
std::string gHangupPort;

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

OpenError OpenFails(const std::string& name, std::uint32_t baud) {
    SerialLink link;
    EXPECT_EQ(link.Reopen(name, baud), 0) << name;
    EXPECT_FALSE(link.IsOpen()) << name;
    return link.Port().LastOpenError();
}

// The FD query: the device reports its baud code and address, whatever its address is.
bool QueryByFrame(SerialLink& link, protocol::AddressInfo* info) {
    const protocol::Frame query = protocol::BuildAddressFrame(0, 0);
    std::uint8_t reply[SerialLink::kReplySize];
    const std::size_t n = link.Exchange(query.data(), query.size, reply, sizeof reply);
    const bool ok = protocol::ParseAddressFrameReply(reply, n, info);
    if (ok) link.ReplyAccepted();
    return ok;
}

template <class F>
bool WaitUntil(F condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

}  // namespace

TEST(Win32Port, ComNamesAsTypedBecomeDevicePaths) {
    const struct {
        const char* name;
        const char* path;  // empty: no COM port
    } cases[] = {
        {"COM5", "\\\\.\\COM5"},
        {"com12", "\\\\.\\COM12"},
        {"\\\\.\\COM5", "\\\\.\\COM5"},
        {"COM255", "\\\\.\\COM255"},
        {"COM256", ""},
        {"COM0", ""},
        {"COM05", ""},
        {"COM", ""},
        {"COMX", ""},
        {"COM5:", ""},
        {"LPT1", ""},
        {"/dev/ttyUSB0", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(transport::ComDevicePath(c.name), c.path) << c.name;
}

TEST(Win32Port, OpenFailuresSayWhy) {
    EXPECT_EQ(OpenFails("COM9", 4800), OpenError::Missing);  // no such port
    // A device path is no port on Windows; it is not handed to CreateFile.
    EXPECT_EQ(OpenFails("/dev/ttyS0", 4800), OpenError::Missing);
    EXPECT_EQ(OpenFails(gPort, 12345), OpenError::BadSettings);
    for (const std::uint32_t baud : {1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 115200u})
        EXPECT_TRUE(transport::SerialPort::IsSupportedBaud(baud)) << baud;
}

TEST(Win32Port, SecondProgramOnTheSamePortIsToldItIsBusy) {
    if (UnderWine()) GTEST_SKIP() << "wine lets two handles share a COM port";
    SerialLink first;
    ASSERT_EQ(first.Reopen(gPort, 4800), 1);
    EXPECT_EQ(OpenFails(gPort, 4800), OpenError::Busy);
}

TEST(Win32Link, FindsTheDeviceOnlyAtItsRateAndReadsARegister) {
    SerialLink link;
    ASSERT_EQ(link.Reopen(gPort, 9600), 1);
    protocol::AddressInfo info;
    EXPECT_FALSE(QueryByFrame(link, &info));
    EXPECT_TRUE(link.LastExchangeSilent());

    ASSERT_EQ(link.Reopen(gPort, 4800), 1);
    ASSERT_TRUE(QueryByFrame(link, &info));
    EXPECT_EQ(info.address, 7);
    EXPECT_EQ(info.Baud(), 4800u);

    link.SetDeviceAddress(info.address);
    protocol::RegisterClient client(link);
    std::uint16_t value = 0;
    EXPECT_EQ(client.ReadRegister(1, &value), protocol::ExchangeStatus::Ok);
    EXPECT_EQ(value, 253);
}

TEST(Win32Link, PortNamedAsADevicePathWorksAlike) {
    SerialLink link;
    ASSERT_EQ(link.Reopen("\\\\.\\" + gPort, 4800), 1);
    link.SetDeviceAddress(7);
    protocol::RegisterClient client(link);
    std::uint16_t value = 0;
    EXPECT_EQ(client.ReadRegister(1, &value), protocol::ExchangeStatus::Ok);
    EXPECT_EQ(value, 253);
}

// While nothing is on its way the reader sleeps on the port instead of polling every
// millisecond, and bytes still wake it: the next exchange gets its reply.
TEST(Win32Link, IdleReaderSleepsAndWakesForTheReply) {
    SerialLink link;
    ASSERT_EQ(link.Reopen(gPort, 4800), 1);
    protocol::AddressInfo info;
    ASSERT_TRUE(QueryByFrame(link, &info));
    std::this_thread::sleep_for(100ms);  // the reply's burst is framed and the line silent
    const std::uint64_t before = link.ReaderPolls();
    std::this_thread::sleep_for(1000ms);
    EXPECT_LT(link.ReaderPolls() - before, 100u) << "a reader polling every millisecond";
    EXPECT_TRUE(QueryByFrame(link, &info));
}

// Re-opens under a running reader close the port while the reader sleeps on it; none may
// hang or leave the link unusable.
TEST(Win32Link, ReopensUnderTheRunningReader) {
    SerialLink link;
    const std::uint32_t rates[] = {2400, 9600, 4800};
    for (int round = 0; round < 60; ++round) {
        ASSERT_EQ(link.Reopen(gPort, rates[round % 3]), 1) << round;
        if (round % 7 == 0) std::this_thread::sleep_for(20ms);  // let the reader go to sleep
    }
    protocol::AddressInfo info;
    EXPECT_TRUE(QueryByFrame(link, &info));
}

TEST(Win32Link, LineThatGoesAwayIsClosedAndReportedLost) {
    SerialLink link;
    ASSERT_EQ(link.Reopen(gHangupPort, 4800), 1);
    protocol::AddressInfo info;
    ASSERT_TRUE(QueryByFrame(link, &info));
    std::printf("hang up %s now\n", gHangupPort.c_str());
    std::fflush(stdout);
    ASSERT_TRUE(WaitUntil([&] { return link.Lost(); }, 10s));
    EXPECT_FALSE(link.IsOpen());
    const std::uint8_t request[] = {1, 2, 3};
    EXPECT_EQ(link.Port().Write(request, sizeof request), 0);

    // Another port (the adapter back under another number) opens as usual.
    ASSERT_EQ(link.Reopen(gPort, 4800), 1);
    EXPECT_FALSE(link.Lost());
    EXPECT_TRUE(QueryByFrame(link, &info));
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port") gPort = argv[++i];
        if (arg == "--hangup-port") gHangupPort = argv[++i];
    }
    if (gPort.empty() || gHangupPort.empty()) {
        std::fprintf(stderr, "usage: win32_link_test --port COMn --hangup-port COMm\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
