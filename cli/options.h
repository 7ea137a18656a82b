#pragma once
// The command line of pelmarq-cli, taken apart; nothing here talks to a device.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDevice = 1;  // no reply, a bad reply, a write not confirmed
inline constexpr int kExitUsage = 2;   // usage, or an entry refused before anything is sent
inline constexpr int kExitPort = 3;    // the port could not be opened

struct Options {
    bool json = false;
    bool trace = false;
    bool english = false;
    bool help = false;
    std::string command;
    std::vector<std::string> args;  // positional arguments after the command
    std::optional<std::string> address;
    std::optional<std::string> baud;
    std::string as = "uint";
    std::string mode = "frame";
    std::string page;
    std::optional<int> type;
    double interval = 1.0;
    std::optional<long> count;
    bool csv = false;
    bool dryRun = false;
};

// nullopt and a one-line reason in `error` for an unknown option or a missing value.
std::optional<Options> ParseOptions(const std::vector<std::string>& argv, std::string* error);

// The --help text.
const char* HelpText();

}  // namespace cli
