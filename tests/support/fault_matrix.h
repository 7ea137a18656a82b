#pragma once
// The columns of a fault matrix: every operation meets each fault of a bad line once, through
// the real link against a simulated device on a pseudo-terminal, and what each cell wants of
// it. No Qt: the register client's matrix uses it as well as Quillet's.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "exchange_status.h"
#include "simulated_line.h"

namespace faultmatrix {

enum Column : std::size_t {
    kSilent,
    kBadCrc,
    kShort,         // a fragment with a valid CRC
    kWrongAddress,  // marker frames: the byte after the markers
    kDouble,
    kNoise,
    kSplitLong,   // a pause longer than the framing gap of 30 silent polls
    kSplitShort,  // a pause well inside it
    kLateInside,  // late, but within the wait
    kLateAfter,   // after the give-up, before the next request has waited it out
    kBadEcho,     // the last byte before the CRC changed, CRC fixed
    kException,   // marker frames have none: no reply
    kColumns
};

struct Fault {
    const char* name;
    sim::Fault fault;
    int param;
};

// Each with room on both sides for a thread that runs late on a busy machine: the long pause
// against the 30 polls that frame the first half, and against the guard that drops the rest.
inline constexpr int kLongPauseMs = 120;
inline constexpr int kShortPauseMs = 5;
inline constexpr int kLateInsideMs = 100;
// Past the give-up by this much: the next request waits 150 ms past it and then for 30 silent
// polls, so the late reply lands in the middle of that guard.
inline constexpr int kPastGiveUpMs = 90;

// The faults met by an operation whose wait gives up after `waitMs`.
inline std::array<Fault, kColumns> Faults(int waitMs) {
    return {{
        {"silent", sim::Fault::Silence, 0},
        {"badcrc", sim::Fault::BadCrc, 0},
        {"short", sim::Fault::ShortValid, 0},
        {"wrongaddr", sim::Fault::WrongAddress, 0},
        {"double", sim::Fault::DoubleReply, 0},
        {"noise", sim::Fault::LeadingNoise, 0},
        {"split long", sim::Fault::SplitPause, kLongPauseMs},
        {"split short", sim::Fault::SplitPause, kShortPauseMs},
        {"late inside", sim::Fault::Late, kLateInsideMs},
        {"late after", sim::Fault::Late, waitMs + kPastGiveUpMs},
        {"badecho", sim::Fault::BadEcho, 0},
        {"exception", sim::Fault::Exception, 0},
    }};
}

// What an operation returned: an ExchangeStatus, or false (Failed) / true (Ok).
enum class Result { Ok, PortClosed, NoReply, CheckFailed, Failed };

inline Result Of(protocol::ExchangeStatus status) {
    switch (status) {
        case protocol::ExchangeStatus::Ok:
            return Result::Ok;
        case protocol::ExchangeStatus::PortClosed:
            return Result::PortClosed;
        case protocol::ExchangeStatus::NoReply:
            return Result::NoReply;
        case protocol::ExchangeStatus::CheckFailed:
            return Result::CheckFailed;
    }
    return Result::Failed;
}
inline Result Of(bool ok) {
    return ok ? Result::Ok : Result::Failed;
}

inline const char* Name(Result r) {
    constexpr const char* kNames[] = {"Ok", "PortClosed", "NoReply", "CheckFailed", "Failed"};
    return kNames[static_cast<std::size_t>(r)];
}

// An operation's output values (registers, float bits, addresses, ...), as prefilled with
// sentinels before the call and as found after it.
using Values = std::vector<std::int64_t>;
struct Outcome {
    Result result;
    Values before;
    Values after;
};

// Output values an accepted reply gives when its fault left it valid but different (the
// device said so, nothing can tell), by column.
using Spoiled = std::vector<std::pair<Column, Values>>;

// One cell: the result it wants; on success the device's own values or what the spoiled
// reply carries; on failure the outputs as they were.
inline void ExpectCell(Column column, Result want, const Outcome& got, const Values& own,
                       const Spoiled& spoiled) {
    EXPECT_STREQ(Name(got.result), Name(want));
    if (got.result != Result::Ok) {
        EXPECT_EQ(got.after, got.before) << "outputs changed by a failed exchange";
        return;
    }
    const Values* expected = &own;
    for (const auto& [c, values] : spoiled)
        if (c == column) expected = &values;
    EXPECT_EQ(got.after, *expected);
}

// Runs `run(row)` for every row, a few rows at a time, each on a thread of its own (each row
// brings its own simulated line and link): the matrix spends its time waiting out silent and
// late replies, not computing. More at once would crowd a small machine, and late replies
// must still come in time.
inline constexpr std::size_t kRowsAtOnce = 6;

template <class Row, std::size_t N, class Run>
void EachRow(const Row (&rows)[N], Run run) {
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < std::min(N, kRowsAtOnce); ++t)
        threads.emplace_back([&] {
            for (std::size_t i; (i = next.fetch_add(1)) < N;) run(rows[i]);
        });
    for (std::thread& t : threads) t.join();
}

}  // namespace faultmatrix
