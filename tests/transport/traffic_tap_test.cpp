// The link's record of the line: what went out, what came back, what was dropped and why.
#include "traffic_tap.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "pty_line.h"
#include "serial_link.h"

using namespace std::chrono_literals;
using transport::DiscardCause;
using transport::TrafficEvent;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Seen {
    TrafficEvent event;
    DiscardCause cause;
    Bytes bytes;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Records(const transport::TrafficTap& tap) {
    std::vector<Seen> out;
    for (const transport::TrafficRecord& r : tap.Since(0))
        out.push_back({r.event, r.cause, Bytes(r.Bytes().begin(), r.Bytes().end())});
    return out;
}

void Send(const sim::PtyLine& line, const Bytes& bytes) {
    ASSERT_EQ(::write(line.MasterFd(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
}

void AwaitRequest(const sim::PtyLine& line) {
    pollfd p{line.MasterFd(), POLLIN, 0};
    ASSERT_GT(::poll(&p, 1, 2000), 0);
    std::this_thread::sleep_for(2ms);
    std::uint8_t drop[64];
    [[maybe_unused]] auto n = ::read(line.MasterFd(), drop, sizeof drop);
}

}  // namespace

TEST(TrafficTap, RecordsRequestsRepliesGiveUpsAndWhatWasDroppedInOrder) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 4800), 1);
    std::uint8_t reply[64];

    // Bytes nobody asked for wait in the frame queue; then a request that is answered.
    Send(line, {0xEE, 0xEE});
    std::this_thread::sleep_for(150ms);
    std::thread device([&] {
        AwaitRequest(line);
        Send(line, {1, 3, 2, 0, 7});
    });
    const std::uint8_t first[] = {0x11, 0x22};
    EXPECT_EQ(link.Exchange(first, 2, reply, sizeof reply), 5u);
    device.join();
    link.ReplyAccepted();

    // A request nobody answers in time; its answer comes late and is dropped before the next.
    std::thread late([&] {
        AwaitRequest(line);
        std::this_thread::sleep_for(560ms);
        Send(line, {9, 9, 9});
    });
    const std::uint8_t second[] = {0x33};
    EXPECT_EQ(link.Exchange(second, 1, reply, sizeof reply, {20, 10, 1}), 0u);
    late.join();
    std::thread third([&] {
        AwaitRequest(line);
        Send(line, {4, 4, 4, 4});
    });
    const std::uint8_t request3[] = {0x44};
    EXPECT_EQ(link.Exchange(request3, 1, reply, sizeof reply), 4u);
    third.join();

    const std::vector<Seen> expected = {
        {TrafficEvent::Discarded, DiscardCause::Stale, {0xEE, 0xEE}},
        {TrafficEvent::Written, DiscardCause::None, {0x11, 0x22}},
        {TrafficEvent::Taken, DiscardCause::None, {1, 3, 2, 0, 7}},
        {TrafficEvent::Written, DiscardCause::None, {0x33}},
        {TrafficEvent::NoReply, DiscardCause::None, {}},
        {TrafficEvent::Discarded, DiscardCause::Late, {9, 9, 9}},
        {TrafficEvent::Written, DiscardCause::None, {0x44}},
        {TrafficEvent::Taken, DiscardCause::None, {4, 4, 4, 4}},
    };
    EXPECT_EQ(Records(link.Tap()), expected);
    const auto records = link.Tap().Since(0);
    EXPECT_EQ(records.front().baud, 4800u);
    EXPECT_GE(records[4].waitedMs, 200u);  // the give-up says how long it waited
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(records[i].sequence, records[i - 1].sequence + 1);
        EXPECT_GE(records[i].timeMs, records[i - 1].timeMs);
    }
}

TEST(TrafficTap, KeepsTheLastTenThousandRecordsAndLongFramesTheirLength) {
    transport::TrafficTap tap;
    std::vector<std::uint8_t> big(600, 0xAB);
    for (int i = 0; i < 10005; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        tap.Record(TrafficEvent::Written, 9600, &b, 1);
    }
    tap.Record(TrafficEvent::Taken, 9600, big.data(), big.size());
    const auto all = tap.Since(0);
    ASSERT_EQ(all.size(), transport::TrafficTap::kCapacity);
    EXPECT_EQ(all.front().sequence, 10006u - transport::TrafficTap::kCapacity + 1);
    EXPECT_EQ(all.back().length, 600u);
    EXPECT_EQ(all.back().Bytes().size(), transport::TrafficRecord::kMaxBytes);
    EXPECT_EQ(tap.Since(10004).size(), 2u);
    tap.Clear();
    EXPECT_TRUE(tap.Since(0).empty());
    EXPECT_EQ(tap.LastSequence(), 10006u);
}
