// devsim from the shell: argument checks, and a Modbus master talking to the printed path.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "register_client.h"

namespace {

int RunDevsim(const std::string& args) {
    const std::string cmd = std::string(DEVSIM_PATH) + " " + args + " >/dev/null 2>&1 </dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Devsim, RejectsBadArgumentsWithExitCode2) {
    for (const char* args : {"--baud 1234", "--baud", "--address 300", "--mode star", "--reg 5",
                             "--reg 1=70000", "--profile nosuch", "--bogus", "--timeout x"})
        EXPECT_EQ(RunDevsim(args), 2) << args;
    EXPECT_EQ(RunDevsim("--list"), 0);
}

TEST(Devsim, ServesTheRegistersItWasGivenOnThePrintedPathUntilItsInputCloses) {
    int in[2], out[2];
    ASSERT_EQ(::pipe(in), 0);
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(in[1]);
        ::close(out[0]);
        ::execl(DEVSIM_PATH, DEVSIM_PATH, "--baud", "4800", "--address", "7", "--mode", "frame",
                "--reg", "1=253", "--reg", "0=550", "--timeout", "60", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    FILE* lines = ::fdopen(out[0], "r");
    char path[256] = {};
    ASSERT_NE(std::fgets(path, sizeof path, lines), nullptr);
    std::string p(path);
    p.erase(p.find_last_not_of('\n') + 1);
    {
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(p, 4800), 1) << p;
        link.SetDeviceAddress(7);
        protocol::RegisterClient client(link);
        std::uint16_t value = 0;
        EXPECT_EQ(client.ReadRegister(1, &value), protocol::ExchangeStatus::Ok);
        EXPECT_EQ(value, 253);
        EXPECT_EQ(client.ReadRegister(0, &value), protocol::ExchangeStatus::Ok);
        EXPECT_EQ(value, 550);
    }
    ::close(in[1]);  // closing its input ends devsim
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::fclose(lines);
}
