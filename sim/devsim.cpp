// devsim: serves a simulated field device on a pseudo-terminal.
//   devsim [--profile NAME] [--baud N] [--address N] [--mode frame|broadcast|zero]
//          [--reg R=V]... [--timeout SECONDS] [--fault LIST [--fault-rate P] [--seed N]]
//          [--list] [--help]
// Prints the path to open on its first line, then serves until its standard input closes
// or the timeout passes.
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "profiles.h"
#include "serial_port.h"
#include "simulated_line.h"

namespace {

int Usage(const std::string& message) {
    std::fprintf(stderr, "devsim: %s\n", message.c_str());
    return 2;
}

void Help() {
    std::printf(
        "usage: devsim [OPTION]...\n"
        "Serves a simulated field device on a pseudo-terminal and prints its path first.\n"
        "  --profile NAME     the device (see --list; default register)\n"
        "  --baud N           the only rate the device answers at (1200 ... 115200)\n"
        "  --address N        its address, 0..255\n"
        "  --mode M           frame|broadcast|zero: found by the FD frame, comm block at FF or 00\n"
        "  --reg R=V          sets register R to V, each 0..65535 (decimal or 0x hex); repeats\n"
        "  --timeout SECONDS  ends after this time (also ends when standard input closes)\n"
        "  --fault LIST       faults, comma-separated, repeatable; each faulted reply gets one\n"
        "  --fault-rate P     chance that a reply is faulted, 0..1 (default 1: every reply)\n"
        "  --seed N           seed of the fault picks (default 1); a seed repeats its faults\n"
        "  --list             lists the profiles and exits\n"
        "  --help             this text\n"
        "faults:\n");
    for (const sim::FaultName& f : sim::FaultNames()) {
        const std::string name = std::string(f.name) + (f.takesMs ? ":MS" : "");
        std::printf("  %-12s %s\n", name.c_str(), f.help);
    }
}

bool ParseNumber(const std::string& text, unsigned long max, unsigned long* out) {
    int base = 10;
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    }
    unsigned long value = 0;
    const auto [ptr, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || value > max)
        return false;
    *out = value;
    return true;
}

// A probability written as a plain decimal: 0, 0.25, 1.
bool ParseRate(const std::string& text, double* out) {
    double rate = -1;
    const auto [ptr, ec] =
        std::from_chars(text.data(), text.data() + text.size(), rate, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() ||
        !(rate >= 0 && rate <= 1))
        return false;
    *out = rate;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string profileName = "register";
    sim::DeviceOptions options;
    unsigned long timeout = 0;
    sim::FaultPlan plan;
    bool faultOptions = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        std::string v;
        unsigned long n = 0;
        if (arg == "--list") {
            for (const sim::Profile& p : sim::Profiles())
                std::printf("%-16s %s\n", p.name.c_str(), p.description.c_str());
            return 0;
        } else if (arg == "--help" || arg == "-h") {
            Help();
            return 0;
        } else if (arg == "--profile") {
            if (!value(&v) || !sim::FindProfile(v)) return Usage("unknown profile (see --list)");
            profileName = v;
        } else if (arg == "--baud") {
            if (!value(&v) || !ParseNumber(v, 1000000, &n) ||
                !transport::SerialPort::IsSupportedBaud(static_cast<std::uint32_t>(n)))
                return Usage("--baud takes a rate such as 2400, 4800 or 9600");
            options.baud = static_cast<std::uint32_t>(n);
        } else if (arg == "--address") {
            if (!value(&v) || !ParseNumber(v, 255, &n)) return Usage("--address takes 0..255");
            options.address = static_cast<std::uint8_t>(n);
        } else if (arg == "--mode") {
            if (!value(&v)) return Usage("--mode takes frame, broadcast or zero");
            if (v == "frame")
                options.mode = sim::AddressingMode::Frame;
            else if (v == "broadcast")
                options.mode = sim::AddressingMode::Broadcast;
            else if (v == "zero")
                options.mode = sim::AddressingMode::Zero;
            else
                return Usage("--mode takes frame, broadcast or zero");
        } else if (arg == "--reg") {
            unsigned long reg = 0;
            const auto eq = value(&v) ? v.find('=') : std::string::npos;
            if (eq == std::string::npos || !ParseNumber(v.substr(0, eq), 0xFFFF, &reg) ||
                !ParseNumber(v.substr(eq + 1), 0xFFFF, &n))
                return Usage("--reg takes REGISTER=VALUE, each 0..65535");
            options.registers[static_cast<std::uint16_t>(reg)] = static_cast<std::uint16_t>(n);
        } else if (arg == "--timeout") {
            if (!value(&v) || !ParseNumber(v, 100000000, &n))
                return Usage("--timeout takes seconds");
            timeout = n;
        } else if (arg == "--fault") {
            if (!value(&v)) return Usage("--fault takes a list of faults (see --help)");
            std::string error;
            const auto faults = sim::ParseFaultList(v, &error);
            if (!faults) return Usage("--fault: " + error);
            plan.faults.insert(plan.faults.end(), faults->begin(), faults->end());
        } else if (arg == "--fault-rate") {
            if (!value(&v) || !ParseRate(v, &plan.rate))
                return Usage("--fault-rate takes a number from 0 to 1");
            faultOptions = true;
        } else if (arg == "--seed") {
            if (!value(&v) || !ParseNumber(v, ~0UL, &n)) return Usage("--seed takes a number");
            plan.seed = n;
            faultOptions = true;
        } else {
            return Usage("unknown argument " + arg);
        }
    }
    if (faultOptions && plan.faults.empty()) return Usage("--fault-rate and --seed need --fault");
    sim::SimulatedLine line(sim::FindProfile(profileName)->make(options));
    if (!line.Ok()) {
        std::fprintf(stderr, "devsim: cannot open a pseudo-terminal\n");
        return 1;
    }
    line.SetFaultPlan(plan);
    std::printf("%s\n", line.Path().c_str());
    std::fflush(stdout);
    // Standard input closing ends the device; /dev/null as input (a background job) cannot
    // say anything, so then only the timeout or a signal ends it.
    struct stat in {};
    const bool devNull =
        ::fstat(STDIN_FILENO, &in) == 0 && S_ISCHR(in.st_mode) && !::isatty(STDIN_FILENO);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout);
    while (timeout == 0 || std::chrono::steady_clock::now() < deadline) {
        if (devNull) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) break;
        }
    }
    return 0;
}
