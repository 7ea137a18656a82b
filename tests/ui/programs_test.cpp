// The real programs answer --help, --version, --list and a wrong command line without a
// display: no DISPLAY, no WAYLAND_DISPLAY and no QT_QPA_PLATFORM in their environment.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

Outcome RunWithoutDisplay(const char* program, const std::string& args) {
    const std::string errPath = ::testing::TempDir() + "program-err-" + std::to_string(::getpid());
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                            std::string(program) + " " + args + " 2>" + errPath + " </dev/null";
    Outcome run;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.out += buffer;
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    std::ostringstream text;
    text << err.rdbuf();
    run.err = text.str();
    std::remove(errPath.c_str());
    return run;
}

TEST(Programs, AnswerWithoutADisplay) {
    const char* p = PELMARQ_PATH;
    const char* q = QUILLET_PATH;
    const struct {
        const char* program;
        std::string args;
        int exitCode;
        std::vector<std::string> out;  // each in standard output
        std::vector<std::string> err;  // each in standard error
        std::string notOut = "\x01";   // never in standard output
    } cases[] = {
        {p, "--help", 0, {"usage: pelmarq", "--demo --list", "--version"}, {}},
        {q, "--help", 0, {"usage: quillet", "(default: transmitter)"}, {}},
        {q, "-h", 0, {"usage: quillet"}, {}},
        {p, "--demo --list", 0, {"co2 ", "water-gauge ", "wind-direction "}, {}, "gateway"},
        {q, "--demo --list", 0, {"transmitter ", "gateway "}, {}, "co2"},
        {q, "-platform offscreen --help", 0, {"usage: quillet"}, {}},
        {p, "--bogus", 2, {}, {"pelmarq: unknown option --bogus", "usage: pelmarq"}, "usage"},
        {q, "-x /dev/ttyS0", 2, {}, {"quillet: unknown option -x", "usage: quillet"}, "usage"},
        {q, "--demo nosuch", 2, {}, {"no simulated device 'nosuch'", "gateway"}},
        {p, "--demo gateway", 2, {}, {"no simulated device 'gateway'", "co2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.args);
        const Outcome run = RunWithoutDisplay(c.program, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        for (const std::string& text : c.out) EXPECT_NE(run.out.find(text), std::string::npos);
        for (const std::string& text : c.err)
            EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find(c.notOut), std::string::npos) << run.out;
    }
}

TEST(Programs, VersionIsOneLineWithNameAndVersion) {
    EXPECT_EQ(RunWithoutDisplay(PELMARQ_PATH, "--version").out, "pelmarq 3.6.0\n");
    EXPECT_EQ(RunWithoutDisplay(QUILLET_PATH, "--version").out, "quillet 2.1.0\n");
    EXPECT_EQ(RunWithoutDisplay(QUILLET_PATH, "--version").exitCode, 0);
}

}  // namespace
