// The reader thread against a real pseudo-terminal: bursts are separated by line silence
// alone, and the port can be re-opened under it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "pty_line.h"
#include "serial_link.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::uint8_t> WaitForFrame(transport::SerialLink& link,
                                       std::chrono::milliseconds limit = 2000ms) {
    std::uint8_t buffer[2048];
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::size_t n = link.TakeFrame(buffer, sizeof buffer);
        if (n) return {buffer, buffer + n};
        std::this_thread::sleep_for(2ms);
    }
    return {};
}

void Send(const sim::PtyLine& line, std::vector<std::uint8_t> bytes) {
    ASSERT_EQ(::write(line.MasterFd(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
}

}  // namespace

TEST(ReaderThread, PauseShorterThanTheSilenceKeepsOneBurstLongerSplitsIt) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);

    Send(line, {1, 2, 3});
    std::this_thread::sleep_for(3ms);
    Send(line, {4, 5});
    EXPECT_EQ(WaitForFrame(link), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));

    Send(line, {6, 7});
    std::this_thread::sleep_for(300ms);
    Send(line, {8});
    EXPECT_EQ(WaitForFrame(link), (std::vector<std::uint8_t>{6, 7}));
    EXPECT_EQ(WaitForFrame(link), (std::vector<std::uint8_t>{8}));
}

TEST(ReaderThread, BurstAppearsOnlyAfterTheLineFallsSilent) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
    const std::uint64_t pollsBefore = link.ReaderPolls();
    Send(line, {0x11, 0x22});
    std::this_thread::sleep_for(5ms);
    std::uint8_t buffer[16];
    EXPECT_EQ(link.TakeFrame(buffer, sizeof buffer), 0u);  // still inside the silence
    EXPECT_EQ(WaitForFrame(link).size(), 2u);
    // At least 30 polls passed between the bytes and the burst.
    EXPECT_GE(link.ReaderPolls() - pollsBefore, 30u);
}

TEST(ReaderThread, ReopeningDropsWhatTheEarlierConnectionLeftUnframed) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
    Send(line, {9, 9, 9});
    // Close before the silence runs out: the bytes sit in the raw queue.
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    while (link.PendingRawBytes() < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100us);
    link.Port().Close();
    EXPECT_TRUE(WaitForFrame(link, 200ms).empty());
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
    // They must not be glued to the front of the next reply.
    Send(line, {7});
    EXPECT_EQ(WaitForFrame(link), (std::vector<std::uint8_t>{7}));
}

TEST(ReaderThread, ReopeningAtAnotherBaudWhileTheReaderRuns) {
    sim::PtyLine line;
    transport::SerialLink link;
    const std::uint32_t rates[] = {2400, 4800, 9600};
    for (int round = 0; round < 60; ++round) {
        const std::uint32_t baud = rates[round % 3];
        ASSERT_EQ(link.Reopen(line.SlavePath(), baud), 1);
        EXPECT_EQ(line.LineBaud(), baud);
        Send(line, {static_cast<std::uint8_t>(round)});
        std::this_thread::sleep_for(1ms);
    }
    // The link still works after all the re-opens.
    std::this_thread::sleep_for(100ms);
    std::uint8_t drain[4096];
    link.TakeFrame(drain, sizeof drain);
    Send(line, {0x42});
    EXPECT_EQ(WaitForFrame(link).back(), 0x42);
}

TEST(SerialLink, ExchangeFlushesStaleBytesAndTakesTheFirstBurst) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
    Send(line, {0xEE, 0xEE});
    std::this_thread::sleep_for(150ms);  // stale burst waits in the frame queue
    std::thread device([&] {
        std::uint8_t req[16];
        for (int i = 0; i < 200; ++i) {
            if (::read(line.MasterFd(), req, sizeof req) > 0) break;
            std::this_thread::sleep_for(2ms);
        }
        Send(line, {0x01, 0x02, 0x03, 0x04});
    });
    const std::uint8_t request[] = {0xAB};
    std::uint8_t reply[1024];
    const std::size_t n = link.Exchange(request, 1, reply, sizeof reply);
    device.join();
    ASSERT_EQ(n, 4u);
    EXPECT_EQ(reply[0], 0x01);
}

TEST(SerialLink, ExchangeWithNobodyAnsweringWaitsThePolicyOut) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
    const std::uint8_t request[] = {0xAB};
    std::uint8_t reply[16];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Exchange(request, 1, reply, sizeof reply, {5, 10, 1}), 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}
