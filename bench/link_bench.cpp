// Measures the link against a simulated device on a pseudo-terminal:
//   - median and 95th percentile of 200 ReadRegister round trips, and of 200 reads of the
//     multi-element page's 19-register block,
//   - the reader thread's real poll period,
//   - the time a scan takes when no device answers,
//   - the cost of one traffic record,
//   - CPU used by the reader thread with the port open and silent, with it closed, and after
//     the line went away under the program.
// Usage: link_bench [--seconds N]   (N: length of each CPU measurement, default 10)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

#include "pty_line.h"
#include "register_client.h"
#include "register_device.h"
#include "simulated_line.h"

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

namespace {

double ProcessCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// With only the reader thread awake, the process's CPU time is the reader's.
double ReaderCpuPercent(transport::SerialLink& link, double seconds) {
    (void)link;
    const double cpu0 = ProcessCpuSeconds();
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    return 100.0 * (ProcessCpuSeconds() - cpu0) / wall;
}

// Registers 0-18 as the multi-element monitor has them, register 1 read alone.
sim::RegisterMap BenchRegisters() {
    sim::RegisterMap registers;
    for (std::uint16_t r = 0; r < 19; ++r) registers[r] = static_cast<std::uint16_t>(200 + r);
    registers[1] = 236;
    return registers;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 10;
    if (argc == 3 && std::strcmp(argv[1], "--seconds") == 0) seconds = std::atof(argv[2]);

    double pollMs = 0;
    {
        sim::RegisterDeviceConfig config;
        config.address = 1;
        config.baud = 9600;
        sim::SimulatedLine line(std::make_shared<sim::RegisterDevice>(config, BenchRegisters()));
        transport::SerialLink link;
        if (!line.Ok() || !link.Reopen(line.Path(), 9600)) {
            std::fprintf(stderr, "link_bench: cannot open a pseudo-terminal\n");
            return 1;
        }
        link.SetDeviceAddress(1);

        // The 1 ms poll runs while a burst is being collected: keep one coming for 2 s.
        {
            sim::PtyLine busy;
            transport::SerialLink counted;
            counted.Reopen(busy.SlavePath(), 9600);
            const std::uint64_t p0 = counted.ReaderPolls();
            const auto t0 = Clock::now();
            while (Clock::now() - t0 < std::chrono::seconds(2)) {
                const std::uint8_t byte = 0x55;
                [[maybe_unused]] auto n = ::write(busy.MasterFd(), &byte, 1);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            pollMs =
                Ms(Clock::now() - t0).count() / static_cast<double>(counted.ReaderPolls() - p0);
        }

        protocol::RegisterClient client(link);
        // 200 round trips of one request; returns the sorted times in ms.
        const auto measure = [&](auto request) {
            std::vector<double> trips;
            int failures = 0;
            for (int i = 0; i < 200; ++i) {
                const auto start = Clock::now();
                if (request() != protocol::ExchangeStatus::Ok) ++failures;
                trips.push_back(Ms(Clock::now() - start).count());
            }
            std::sort(trips.begin(), trips.end());
            return std::pair{trips, failures};
        };
        const auto report = [](const char* name, const std::pair<std::vector<double>, int>& r) {
            const auto& [trips, failures] = r;
            std::printf("%-25s median %.1f ms, p95 %.1f ms (%d failed of 200)\n", name,
                        trips[trips.size() / 2], trips[trips.size() * 95 / 100], failures);
        };
        const double floor = 30 * pollMs;
        std::printf("reader poll period        %.3f ms\n", pollMs);
        report("ReadRegister round trip", measure([&] {
                   std::uint16_t value = 0;
                   return client.ReadRegister(1, &value);
               }));
        // The multi-element page's poll: 19 registers with the 20 ms wait steps.
        report("19-register block poll", measure([&] {
                   std::uint16_t block[19] = {};
                   return client.ReadRegisters(0, 19, block, transport::kBlockWait);
               }));
        std::printf(
            "  floor: 30 x poll period = %.1f ms; target: median within 3 ms of it, "
            "p95 within 8 ms\n",
            floor);
    }

    // A scan with no device on the line: the five probes, each a re-open at its rate and one
    // request waited out (a re-open empties the queues, so no late-reply guard between them).
    {
        sim::PtyLine nobody;
        transport::SerialLink link;
        const std::pair<std::uint32_t, protocol::Frame> probes[] = {
            {2400, protocol::BuildAddressFrame(0, 0)},
            {4800, protocol::BuildAddressFrame(0, 0)},
            {9600, protocol::BuildAddressFrame(0, 0)},
            {9600, protocol::BuildCommBlockRead(protocol::kBroadcastAddress)},
            {9600, protocol::BuildCommBlockRead(protocol::kZeroAddress)}};
        std::vector<double> scans;
        for (int i = 0; i < 3; ++i) {
            const auto t0 = Clock::now();
            for (const auto& [baud, frame] : probes) {
                link.Reopen(nobody.SlavePath(), baud);
                std::uint8_t reply[transport::SerialLink::kReplySize];
                link.Exchange(frame.data(), frame.size, reply, sizeof reply);
            }
            scans.push_back(Ms(Clock::now() - t0).count());
        }
        std::sort(scans.begin(), scans.end());
        std::printf("scan without a device     median %.0f ms of 3 (target under 3000 ms)\n",
                    scans[1]);
    }

    // The traffic record every exchange makes (a request and its reply: two records), timed
    // alone, against a round trip of tens of milliseconds.
    {
        transport::TrafficTap tap;
        const std::uint8_t frame[8] = {1, 3, 0, 1, 0, 1, 0xD5, 0xCA};
        constexpr int kRecords = 1000000;
        const auto t0 = Clock::now();
        for (int i = 0; i < kRecords; ++i)
            tap.Record(transport::TrafficEvent::Written, 9600, frame, sizeof frame);
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
        std::printf("traffic record            %.0f ns each (%d records, ring of %zu)\n",
                    ns / kRecords, kRecords, transport::TrafficTap::kCapacity);
    }

    // CPU: a bare pseudo-terminal with nobody talking, so only the reader thread is awake.
    sim::PtyLine quiet;
    transport::SerialLink link;
    link.Reopen(quiet.SlavePath(), 9600);
    const double open = ReaderCpuPercent(link, seconds);
    link.Port().Close();
    const double closed = ReaderCpuPercent(link, seconds);
    // A line that goes away under the program (a pulled adapter): the link closes it and the
    // reader goes back to sleep.
    double lost = -1;
    {
        sim::PtyLine pulled;
        transport::SerialLink gone;
        gone.Reopen(pulled.SlavePath(), 9600);
        pulled.Close();
        const auto t0 = Clock::now();
        while (!gone.Lost() && Clock::now() - t0 < std::chrono::seconds(2))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (gone.Lost()) lost = ReaderCpuPercent(gone, seconds);
    }
    std::printf(
        "reader CPU over %.0f s      port open and silent %.2f %%, port closed %.2f %%, "
        "line lost %.2f %% of one core (targets: under 1 %%, lost under 0.2 %%)\n",
        seconds, open, closed, lost);
    return 0;
}
