// Measures the link against a simulated device on a pseudo-terminal:
//   - median and 95th percentile of 200 ReadRegister round trips,
//   - the reader thread's real poll period,
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

}  // namespace

int main(int argc, char** argv) {
    double seconds = 10;
    if (argc == 3 && std::strcmp(argv[1], "--seconds") == 0) seconds = std::atof(argv[2]);

    double pollMs = 0;
    {
        sim::RegisterDeviceConfig config;
        config.address = 1;
        config.baud = 9600;
        sim::SimulatedLine line(
            std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{1, 236}}));
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
        std::vector<double> trips;
        int failures = 0;
        for (int i = 0; i < 200; ++i) {
            std::uint16_t value = 0;
            const auto start = Clock::now();
            if (client.ReadRegister(1, &value) != protocol::ExchangeStatus::Ok) ++failures;
            trips.push_back(Ms(Clock::now() - start).count());
        }
        std::sort(trips.begin(), trips.end());
        const double median = trips[trips.size() / 2];
        const double p95 = trips[trips.size() * 95 / 100];
        const double floor = 30 * pollMs;
        std::printf("reader poll period        %.3f ms\n", pollMs);
        std::printf("ReadRegister round trip   median %.1f ms, p95 %.1f ms (%d failed of 200)\n",
                    median, p95, failures);
        std::printf(
            "  floor: 30 x poll period = %.1f ms, plus at most one 10 ms wait step "
            "= %.1f ms; target: median within 12 ms of %.1f ms\n",
            floor, floor + 10, floor);
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
