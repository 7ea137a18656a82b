#include "command_line.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "profiles.h"

namespace ui {
namespace {

// Qt's options that take the next argument as their value, and those that stand alone.
constexpr std::array<std::string_view, 12> kQtValueOptions = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "style",
    "stylesheet",      "session",
    "display",         "geometry"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "nograb",
                                                      "dograb",  "sync",        "testability"};

template <std::size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

CommandLine Wrong(std::string problem) {
    CommandLine line;
    line.action = CommandLine::Action::Wrong;
    line.problem = std::move(problem);
    return line;
}

void PrintUsage(std::FILE* out, const Program& p) {
    std::fprintf(out,
                 "usage: %1$s [PORT...]                  the serial ports to offer besides the "
                 "system's own\n"
                 "       %1$s --demo [PROFILE] [PORT...] a simulated device (default: %2$s), "
                 "selected\n"
                 "       %1$s --demo --list              the simulated devices\n"
                 "       %1$s --log FILE ...             append the live values read to FILE "
                 "(CSV)\n"
                 "       %1$s --help | --version\n"
                 "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n",
                 p.name, p.defaultProfile);
}

void ListProfiles(std::FILE* out, const Program& p) {
    for (const sim::Profile* profile : sim::ProfilesFor(p.name))
        std::fprintf(out, "%-16s %s\n", profile->name.c_str(), profile->description.c_str());
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool list = false;
    bool options = true;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const bool hasNext = i + 1 < arguments.size();
        if (!options || arg.empty() || arg[0] != '-' || arg == "-") {
            line.ports.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::Help;
        } else if (arg == "--version") {
            if (line.action != CommandLine::Action::Help)
                line.action = CommandLine::Action::Version;
        } else if (arg == "--log") {
            if (!hasNext) return Wrong("--log needs a file name");
            line.log = arguments[++i];
        } else if (arg == "--list") {
            list = true;
        } else if (arg == "--demo") {
            line.demo = true;
            // A following word that is no option and no path names the device.
            const std::string& next = hasNext ? arguments[i + 1] : arg;
            if (hasNext && next[0] != '-' && next.find('/') == std::string::npos)
                line.profile = arguments[++i];
        } else {
            // Qt reads its options with one dash or two, a value after '=' or as the next word.
            std::string_view name(arg);
            name.remove_prefix(name.starts_with("--") ? 2 : 1);
            const std::size_t equals = name.find('=');
            const bool inlineValue = equals != std::string_view::npos;
            if (inlineValue) name = name.substr(0, equals);
            if (Among(kQtValueOptions, name)) {
                if (!inlineValue) {
                    if (!hasNext) return Wrong("option " + arg + " needs a value");
                    ++i;
                }
            } else if (!Among(kQtFlags, name) || inlineValue) {
                return Wrong("unknown option " + arg);
            }
        }
    }
    if (list && line.action == CommandLine::Action::Run) line.action = CommandLine::Action::List;
    return line;
}

std::string DemoProfile(const CommandLine& line, const Program& program) {
    return line.profile.empty() ? program.defaultProfile : line.profile;
}

std::optional<int> Answer(const CommandLine& line, const Program& program) {
    switch (line.action) {
        case CommandLine::Action::Help:
            PrintUsage(stdout, program);
            return 0;
        case CommandLine::Action::Version:
            std::printf("%s %s\n", program.name, program.version);
            return 0;
        case CommandLine::Action::List:
            ListProfiles(stdout, program);
            return 0;
        case CommandLine::Action::Wrong:
            std::fprintf(stderr, "%s: %s\n", program.name, line.problem.c_str());
            PrintUsage(stderr, program);
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    if (line.demo) {
        const std::string name = DemoProfile(line, program);
        const sim::Profile* profile = sim::FindProfile(name);
        if (!profile || profile->program != program.name) {
            std::fprintf(stderr, "%s: no simulated device '%s'; these are:\n", program.name,
                         name.c_str());
            ListProfiles(stderr, program);
            return 2;
        }
    }
    return std::nullopt;
}

std::string PortToSelect(const CommandLine& line, const std::string& demoPath) {
    if (!demoPath.empty()) return demoPath;
    return line.ports.empty() ? std::string() : line.ports.front();
}

}  // namespace ui
