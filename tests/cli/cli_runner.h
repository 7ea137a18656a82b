#pragma once
// Runs the real pelmarq-cli program and collects its exit code, standard output and
// standard error.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace clitest {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CliRun RunCli(const std::vector<std::string>& args) {
    CliRun run;
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::close(out[0]);
        ::close(err[0]);
        ::close(out[1]);
        ::close(err[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(PELMARQ_CLI_PATH));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(PELMARQ_CLI_PATH, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // A sanitizer's report ends the program with an exit code a test might expect (1): it
    // counts as no exit code at all.
    if (run.err.find("Sanitizer") != std::string::npos ||
        run.err.find("runtime error:") != std::string::npos)
        run.exitCode = -2;
    return run;
}

}  // namespace clitest
