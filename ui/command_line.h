#pragma once
// The command line of both programs, read before Qt starts so that --help, --version and
// --list answer without a display:
//   PROGRAM [--demo [PROFILE]] [--log FILE] [PORT...]
//                                             the ports to offer; a simulated device; the
//                                             live values appended to a CSV file
//   PROGRAM --demo --list | --help | --version
// Qt's own options (-platform NAME, -style NAME, -reverse ...) are passed on to Qt.
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct Program {
    const char* name;            // "pelmarq"
    const char* version;         // "3.6.0"
    const char* defaultProfile;  // the simulated device of a plain --demo
};

struct CommandLine {
    enum class Action { Run, Help, Version, List, Wrong };
    Action action = Action::Run;
    std::string problem;  // Wrong: what is wrong
    bool demo = false;
    std::string profile;             // empty: the program's default device
    std::vector<std::string> ports;  // in the order given
    std::string log;                 // --log FILE: the CSV file live values are appended to
};

// `arguments` without the program's own name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Answers what needs no window (help, version, the list of simulated devices, a wrong
// command line, a device the program does not simulate) on stdout or stderr and returns the
// exit status; nullopt when the program is to start.
std::optional<int> Answer(const CommandLine& line, const Program& program);

// The profile a run simulates: the one named or the program's default.
std::string DemoProfile(const CommandLine& line, const Program& program);

// The port to select at start: the demo's line, else the first port named, else none.
std::string PortToSelect(const CommandLine& line, const std::string& demoPath);

}  // namespace ui
