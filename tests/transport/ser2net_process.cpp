#include "ser2net_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace nettest {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Ports taken together, so that they differ; all are closed again on return.
std::vector<std::uint16_t> FreeLoopbackPorts(std::size_t count) {
    std::vector<int> sockets;
    std::vector<std::uint16_t> ports;
    for (std::size_t i = 0; i < count; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            ports.push_back(0);
        } else {
            ports.push_back(ntohs(address.sin_port));
        }
        sockets.push_back(fd);
    }
    for (const int fd : sockets) {
        if (fd >= 0) ::close(fd);
    }
    return ports;
}

}  // namespace

std::uint16_t FreeLoopbackPort() {
    return FreeLoopbackPorts(1)[0];
}

std::string Ser2netProcess::Program() {
    // It lives in sbin, which a user's PATH may lack.
    std::string dirs = std::getenv("PATH") ? std::getenv("PATH") : "";
    dirs += ":/usr/sbin:/sbin:/usr/local/sbin";
    std::istringstream list(dirs);
    for (std::string dir; std::getline(list, dir, ':');) {
        if (dir.empty()) continue;
        const std::string path = dir + "/ser2net";
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

Ser2netProcess::Ser2netProcess(std::vector<Served> served) : served_(std::move(served)) {
    std::string pattern = (fs::temp_directory_path() / "ser2net_testXXXXXX").string();
    if (::mkdtemp(pattern.data())) {
        dir_ = pattern;
        Start();
    } else {
        error_ = "no temporary folder";
    }
}

Ser2netProcess::~Ser2netProcess() {
    Stop();
    if (!dir_.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
}

std::string Ser2netProcess::PortName(std::size_t i) const {
    const char* scheme = served_[i].kind == Kind::Rfc2217 ? "rfc2217://" : "tcp://";
    return scheme + std::string("127.0.0.1:") + std::to_string(ports_[i]);
}

void Ser2netProcess::Start() {
    const std::string program = Program();
    if (program.empty()) {
        error_ = "ser2net is not installed";
        return;
    }
    ports_ = FreeLoopbackPorts(served_.size());
    const std::string config = dir_ + "/ser2net.yaml";
    {
        std::ofstream out(config);
        out << "%YAML 1.1\n---\n";
        for (std::size_t i = 0; i < served_.size(); ++i) {
            const Served& s = served_[i];
            out << "connection: &line" << i << "\n"
                << "    accepter: " << (s.kind == Kind::Rfc2217 ? "telnet(rfc2217)," : "")
                << "tcp,127.0.0.1," << ports_[i] << "\n"
                << "    connector: serialdev," << s.device << "," << s.baud << "n81,local\n";
        }
    }
    const std::string pidFile = dir_ + "/ser2net.pid";
    const std::string logFile = dir_ + "/ser2net.log";
    // -n: stay in the foreground as our child; -u: no lock files left behind.
    const char* argv[] = {program.c_str(), "-n",   "-u", "-c", config.c_str(), "-P",
                          pidFile.c_str(), nullptr};
    const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // Dies with the test, even one killed by a timeout.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        ::dup2(null, STDIN_FILENO);
        ::dup2(log, STDOUT_FILENO);
        ::dup2(log, STDERR_FILENO);
        ::execv(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    if (log >= 0) ::close(log);
    if (null >= 0) ::close(null);
    if (pid_ < 0) {
        error_ = "fork failed";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!Listening()) {
        int status;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error_ = "ser2net ended at once: " + Log();
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            error_ = "ser2net does not listen: " + Log();
            return;
        }
        std::this_thread::sleep_for(5ms);
    }
}

// Every port in the kernel's table of listening IPv4 sockets (ser2net opens the serial line
// only when a client connects, so trying a connection would disturb the test).
bool Ser2netProcess::Listening() const {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the header
    std::vector<bool> found(ports_.size(), false);
    while (std::getline(table, line)) {
        unsigned address = 0;
        unsigned port = 0;
        unsigned state = 0;
        if (std::sscanf(line.c_str(), " %*d: %8X:%4X %*8X:%*4X %2X", &address, &port, &state) !=
            3) {
            continue;
        }
        for (std::size_t i = 0; i < ports_.size(); ++i) {
            if (port == ports_[i] && state == 0x0A) found[i] = true;  // LISTEN
        }
    }
    for (const bool f : found) {
        if (!f) return false;
    }
    return true;
}

std::string Ser2netProcess::Log() const {
    std::ifstream in(dir_ + "/ser2net.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Ser2netProcess::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    int status;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(2ms);
    }
    pid_ = -1;
}

}  // namespace nettest
