#pragma once
// Debian's ser2net as the serial device server of a test: serves pseudo-terminals on free
// loopback ports, from a configuration written to a temporary folder, and is stopped (and the
// folder removed) when the object goes.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nettest {

class Ser2netProcess {
  public:
    enum class Kind { Rfc2217, RawTcp };
    struct Served {
        std::string device;
        Kind kind;
        std::uint32_t baud = 9600;  // the line's rate until a client sets another
    };

    // The ser2net program, or empty when it is not installed.
    static std::string Program();

    explicit Ser2netProcess(std::vector<Served> served);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    // Empty once it listens on every port; else why not, with what it logged.
    const std::string& Error() const { return error_; }
    // The port name a link opens for the i-th served line: "rfc2217://127.0.0.1:P" or
    // "tcp://127.0.0.1:P".
    std::string PortName(std::size_t i) const;
    // What it wrote to its standard output and error so far.
    std::string Log() const;
    // Ends it (SIGTERM, then SIGKILL if it lingers) and waits for it.
    void Stop();

  private:
    void Start();
    bool Listening() const;

    std::vector<Served> served_;
    std::vector<std::uint16_t> ports_;
    std::string dir_;
    pid_t pid_ = -1;
    std::string error_;
};

// A loopback port nothing listens on at the moment.
std::uint16_t FreeLoopbackPort();

}  // namespace nettest
