// devsim from the shell: argument checks, and a Modbus master talking to the printed path.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "register_client.h"

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;  // standard output, or standard error with `errors`
};

Outcome RunDevsim(const std::string& args, bool errors = false) {
    const std::string cmd = std::string(DEVSIM_PATH) + " " + args +
                            (errors ? " 2>&1 >/dev/null </dev/null" : " 2>/dev/null </dev/null");
    Outcome o;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) o.out += buffer;
    const int status = ::pclose(pipe);
    o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

// devsim serving in the background; closing its input ends it.
class Served {
  public:
    explicit Served(std::vector<const char*> args) {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) return;
        args.insert(args.begin(), DEVSIM_PATH);
        args.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::close(in[1]);
            ::close(out[0]);
            ::execv(DEVSIM_PATH, const_cast<char* const*>(args.data()));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        lines_ = ::fdopen(out[0], "r");
        char path[256] = {};
        if (std::fgets(path, sizeof path, lines_)) path_ = path;
        path_.erase(path_.find_last_not_of('\n') + 1);
    }
    // Closes devsim's input and returns its exit code.
    int End() {
        ::close(input_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        std::fclose(lines_);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& Path() const { return path_; }

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    FILE* lines_ = nullptr;
    std::string path_;
};

}  // namespace

TEST(Devsim, RejectsBadArgumentsWithExitCode2AndOneLine) {
    for (const char* args : {"--baud 1234",
                             "--baud",
                             "--address 300",
                             "--mode star",
                             "--reg 5",
                             "--reg 1=70000",
                             "--profile nosuch",
                             "--bogus",
                             "--timeout x",
                             "--fault",
                             "--fault bogus",
                             "--fault silent,,badcrc",
                             "--fault split",
                             "--fault split:x",
                             "--fault late:0",
                             "--fault late:-5",
                             "--fault badcrc:3",
                             "--fault silent --fault-rate 1.5",
                             "--fault silent --fault-rate -0.1",
                             "--fault silent --fault-rate nan",
                             "--fault silent --seed x",
                             "--fault-rate 0.5"}) {
        const Outcome o = RunDevsim(args, true);
        EXPECT_EQ(o.exitCode, 2) << args;
        EXPECT_TRUE(o.out.starts_with("devsim: ") && o.out.find('\n') == o.out.size() - 1)
            << args << ": " << o.out;
    }
    EXPECT_EQ(RunDevsim("--list").exitCode, 0);
}

TEST(Devsim, HelpNamesEveryOptionAndFault) {
    const Outcome o = RunDevsim("--help");
    EXPECT_EQ(o.exitCode, 0);
    for (const char* name :
         {"--profile", "--baud",       "--address", "--mode", "--reg",  "--timeout",
          "--fault",   "--fault-rate", "--seed",    "--list", "--help", "silent",
          "badcrc",    "short",        "wrongaddr", "double", "noise",  "split:MS",
          "late:MS",   "badecho",      "exception", "echo"})
        EXPECT_NE(o.out.find("\n  " + std::string(name) + " "), std::string::npos) << name;
}

TEST(Devsim, ServesTheRegistersItWasGivenOnThePrintedPathUntilItsInputCloses) {
    Served devsim({"--baud", "4800", "--address", "7", "--mode", "frame", "--reg", "1=253", "--reg",
                   "0=550", "--timeout", "60"});
    {
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(devsim.Path(), 4800), 1) << devsim.Path();
        link.SetDeviceAddress(7);
        protocol::RegisterClient client(link);
        std::uint16_t value = 0;
        EXPECT_EQ(client.ReadRegister(1, &value), protocol::ExchangeStatus::Ok);
        EXPECT_EQ(value, 253);
        EXPECT_EQ(client.ReadRegister(0, &value), protocol::ExchangeStatus::Ok);
        EXPECT_EQ(value, 550);
    }
    EXPECT_EQ(devsim.End(), 0);
}

TEST(Devsim, LateFaultAnswersAfterItsTime) {
    Served devsim({"--address", "7", "--reg", "1=253", "--fault", "late:200", "--timeout", "60"});
    {
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(devsim.Path(), 9600), 1) << devsim.Path();
        link.SetDeviceAddress(7);
        protocol::RegisterClient client(link);
        std::uint16_t value = 0;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(client.ReadRegister(1, &value), protocol::ExchangeStatus::Ok);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
        EXPECT_EQ(value, 253);
    }
    EXPECT_EQ(devsim.End(), 0);
}

TEST(Devsim, AnswersAtRatesBeyondTheScan) {
    for (const char* rate : {"1200", "19200", "38400"}) {
        SCOPED_TRACE(rate);
        Served devsim({"--baud", rate, "--address", "7", "--reg", "1=253", "--timeout", "60"});
        {
            transport::SerialLink link;
            ASSERT_EQ(link.Reopen(devsim.Path(), static_cast<std::uint32_t>(std::stoul(rate))), 1);
            link.SetDeviceAddress(7);
            protocol::RegisterClient client(link);
            std::uint16_t value = 0;
            EXPECT_EQ(client.ReadRegister(1, &value), protocol::ExchangeStatus::Ok);
            EXPECT_EQ(value, 253);
        }
        EXPECT_EQ(devsim.End(), 0);
    }
}

TEST(Devsim, EchoFaultHandsTheMasterItsOwnRequestFirst) {
    Served devsim({"--address", "7", "--reg", "0=550", "--reg", "1=253", "--fault", "echo",
                   "--timeout", "60"});
    {
        transport::SerialLink link;
        ASSERT_EQ(link.Reopen(devsim.Path(), 9600), 1) << devsim.Path();
        link.SetDeviceAddress(7);
        protocol::RegisterClient client(link);
        std::uint32_t pair = 0;
        EXPECT_NE(client.ReadRegisterPair(0, &pair), protocol::ExchangeStatus::Ok);
        EXPECT_EQ(client.LastVerdict(), protocol::Verdict::Echo);
        // The echo alone, or with the reply right behind it when the line is slow to fall
        // silent between them.
        const protocol::Frame request = protocol::BuildReadRegisters(7, 0, 2);
        const auto records = link.Tap().Since(0);
        ASSERT_GE(records.size(), 2u);
        EXPECT_EQ(records[1].event, transport::TrafficEvent::Taken);
        const auto taken = records[1].Bytes();
        ASSERT_GE(taken.size(), request.size);
        EXPECT_TRUE(std::equal(request.data(), request.data() + request.size, taken.begin()));
    }
    EXPECT_EQ(devsim.End(), 0);
}
