// The shared command line: what each argument list asks for, and the port selected at start.
#include "command_line.h"

#include <gtest/gtest.h>

namespace {

using Action = ui::CommandLine::Action;
using Strings = std::vector<std::string>;

TEST(CommandLine, ReadsOptionsPortsAndQtsOwnOptions) {
    const struct {
        Strings args;
        Action action;
        bool demo;
        std::string profile;
        Strings ports;
    } cases[] = {
        {{}, Action::Run, false, "", {}},
        {{"/dev/pts/1", "/dev/ttyUSB0"}, Action::Run, false, "", {"/dev/pts/1", "/dev/ttyUSB0"}},
        {{"--demo"}, Action::Run, true, "", {}},
        {{"--demo", "co2"}, Action::Run, true, "co2", {}},
        {{"--demo", "/dev/pts/3"}, Action::Run, true, "", {"/dev/pts/3"}},
        {{"--demo", "tcp://host:4001"}, Action::Run, true, "", {"tcp://host:4001"}},
        {{"--demo", "--list"}, Action::List, true, "", {}},
        {{"--list"}, Action::List, false, "", {}},
        {{"--help"}, Action::Help, false, "", {}},
        {{"-h", "--version"}, Action::Help, false, "", {}},
        {{"--version"}, Action::Version, false, "", {}},
        {{"--demo", "--list", "--version"}, Action::Version, true, "", {}},
        // Qt's options, with their values, are Qt's.
        {{"-platform", "offscreen", "/dev/pts/2"}, Action::Run, false, "", {"/dev/pts/2"}},
        {{"--platform", "xcb", "-style=fusion", "-reverse"}, Action::Run, false, "", {}},
        {{"-geometry", "800x600", "--demo", "th"}, Action::Run, true, "th", {}},
        {{"--", "-odd-name"}, Action::Run, false, "", {"-odd-name"}},
        {{"--bogus"}, Action::Wrong, false, "", {}},
        {{"-x", "/dev/ttyS0"}, Action::Wrong, false, "", {}},
        {{"-reverse=1"}, Action::Wrong, false, "", {}},
        {{"-platform"}, Action::Wrong, false, "", {}},
        {{"--log"}, Action::Wrong, false, "", {}},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        const ui::CommandLine line = ui::ParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        if (c.action == Action::Wrong) {
            EXPECT_FALSE(line.problem.empty());
            continue;
        }
        EXPECT_EQ(line.demo, c.demo);
        EXPECT_EQ(line.profile, c.profile);
        EXPECT_EQ(line.ports, c.ports);
    }
}

TEST(CommandLine, LogTakesTheFileNameNotAPort) {
    const ui::CommandLine line = ui::ParseCommandLine({"--log", "values.csv", "/dev/pts/3"});
    EXPECT_EQ(line.action, ui::CommandLine::Action::Run);
    EXPECT_EQ(line.log, "values.csv");
    EXPECT_EQ(line.ports, std::vector<std::string>{"/dev/pts/3"});
}

// The port a scan (Pelmarq) or the start (Quillet) opens: the demo's line, else the first
// port named, never a system port the user did not name.
TEST(CommandLine, SelectsTheDemoOrTheFirstPortNamed) {
    const struct {
        Strings args;
        std::string demoPath;
        std::string selected;
    } cases[] = {
        {{}, "", ""},
        {{"/dev/pts/1"}, "", "/dev/pts/1"},
        {{"/dev/pts/4", "/dev/pts/1"}, "", "/dev/pts/4"},
        {{"--demo", "/dev/pts/4"}, "/dev/pts/9", "/dev/pts/9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        EXPECT_EQ(ui::PortToSelect(ui::ParseCommandLine(c.args), c.demoPath), c.selected);
    }
}

}  // namespace
