// The link on a bad line: a reply that comes after its exchange gave up, a line that goes
// away under the program, and the reader against a storm of re-opens.
#include "serial_link.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "pty_line.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

void Send(const sim::PtyLine& line, const Bytes& bytes) {
    ASSERT_EQ(::write(line.MasterFd(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
}

// Waits for the next request on the device side.
Bytes Receive(const sim::PtyLine& line, std::chrono::milliseconds limit = 10000ms) {
    pollfd p{line.MasterFd(), POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(limit.count())) <= 0) return {};
    std::this_thread::sleep_for(2ms);  // the rest of the request
    std::uint8_t buffer[64];
    const ssize_t n = ::read(line.MasterFd(), buffer, sizeof buffer);
    return n > 0 ? Bytes(buffer, buffer + n) : Bytes{};
}

template <class F>
bool WaitUntil(F condition, std::chrono::milliseconds limit = 3000ms) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

Bytes Exchange(transport::SerialLink& link, std::uint8_t request) {
    std::uint8_t reply[64];
    const std::size_t n = link.Exchange(&request, 1, reply, sizeof reply);
    return Bytes(reply, reply + n);
}

}  // namespace

// A device answers the first request late, ignores the second one sent meanwhile and answers
// the third at once: however late the first answer comes (within what the guard covers), the
// second exchange gets nothing and the third gets exactly its own reply.
TEST(SerialLink, LateReplyIsNeverTakenForTheNextRequestsReply) {
    for (const int lateMs : {100, 300, 480, 520, 600, 650}) {
        SCOPED_TRACE(lateMs);
        sim::PtyLine line;
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
        std::thread device([&] {
            const Bytes first = Receive(line);
            const auto asked = std::chrono::steady_clock::now();
            std::this_thread::sleep_until(asked + std::chrono::milliseconds(lateMs));
            Send(line, {0xA1, 0xA1, 0xA1, 0xA1});
            // Whatever arrived while the late answer was pending goes unanswered.
            std::uint8_t drop[64];
            while (::read(line.MasterFd(), drop, sizeof drop) > 0) {
            }
            for (;;) {
                const Bytes next = Receive(line);
                if (next.empty()) return;
                if (next[0] == 3) {
                    Send(line, {0xC3, 0xC3, 0xC3, 0xC3});
                    return;
                }
            }
        });
        const Bytes first = Exchange(link, 1);
        // Around the end of the wait (and on a busy machine, later) the answer may or may not
        // be taken; a taken answer that the caller did not accept counts as failed all the
        // same.
        if (lateMs <= 300) {
            EXPECT_EQ(first.size(), 4u);
        }
        const Bytes second = Exchange(link, 2);
        EXPECT_TRUE(second.empty()) << "the first request's answer was taken for the second's";
        EXPECT_TRUE(link.LastExchangeSilent());
        EXPECT_EQ(Exchange(link, 3), (Bytes{0xC3, 0xC3, 0xC3, 0xC3}));
        device.join();
    }
}

TEST(SerialLink, AcceptedReplyLetsTheNextRequestGoAtOnceAndSilenceIsTold) {
    sim::PtyLine line;
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line.SlavePath(), 9600), 1);
    std::thread device([&] {
        for (std::uint8_t i = 0; i < 2; ++i) {
            Receive(line);
            Send(line, {i, i, i, i});
        }
    });
    EXPECT_EQ(Exchange(link, 1), (Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(link.LastExchangeSilent());
    link.ReplyAccepted();
    EXPECT_EQ(Exchange(link, 2), (Bytes{1, 1, 1, 1}));
    device.join();
    std::uint8_t reply[8];
    std::uint8_t request = 9;
    EXPECT_EQ(link.Exchange(&request, 1, reply, sizeof reply, {3, 10, 1}), 0u);
    EXPECT_TRUE(link.LastExchangeSilent());
}

TEST(SerialLink, LineThatGoesAwayIsClosedAndReportedLost) {
    auto line = std::make_unique<sim::PtyLine>();
    transport::SerialLink link;
    ASSERT_EQ(link.Reopen(line->SlavePath(), 9600), 1);
    EXPECT_FALSE(link.Lost());
    line->Close();  // the other end hangs up, as a pulled adapter does
    ASSERT_TRUE(WaitUntil([&] { return link.Lost(); }));
    EXPECT_FALSE(link.IsOpen());
    const std::uint8_t request[] = {1, 2, 3};
    EXPECT_EQ(link.Port().Write(request, sizeof request), 0);

    // Another line (the adapter back under another name) opens as usual.
    sim::PtyLine again;
    ASSERT_EQ(link.Reopen(again.SlavePath(), 4800), 1);
    EXPECT_FALSE(link.Lost());
    std::thread device([&] {
        Receive(again);
        Send(again, {5, 6, 7, 8});
    });
    EXPECT_EQ(Exchange(link, 1), (Bytes{5, 6, 7, 8}));
    device.join();
}

// Open, close and re-open under a running reader. Bytes sent while the port stays open reach
// the frame queue exactly once, in order; bytes in flight at a re-open may be dropped but
// never show up again.
TEST(ReaderThread, SurvivesTenThousandReopensWithoutLosingOrRepeatingBytes) {
    sim::PtyLine line;
    transport::SerialLink link;
    const std::uint32_t rates[] = {2400, 4800, 9600};
    std::uint8_t buffer[4096];
    for (int cycle = 0; cycle < 10000; ++cycle) {
        if (cycle % 7 == 0) link.Port().Close();
        ASSERT_EQ(link.Reopen(line.SlavePath(), rates[cycle % 3]), 1) << cycle;
        const auto tag = static_cast<std::uint8_t>(cycle);
        if (cycle % 250 != 0) {
            // In flight at the next re-open.
            Send(line, {tag, tag, tag});
            continue;
        }
        const Bytes block = {tag, 1, 2, 3, 4, 5, static_cast<std::uint8_t>(tag ^ 0xFF)};
        Send(line, block);
        Bytes got;
        ASSERT_TRUE(WaitUntil([&] {
            const std::size_t n = link.TakeFrame(buffer, sizeof buffer);
            got.insert(got.end(), buffer, buffer + n);
            return got.size() >= block.size();
        })) << cycle;
        std::this_thread::sleep_for(40ms);  // anything repeated would be framed by now
        const std::size_t n = link.TakeFrame(buffer, sizeof buffer);
        got.insert(got.end(), buffer, buffer + n);
        ASSERT_EQ(got, block) << cycle;
    }
}
