#pragma once
// Serves one simulated device on a pseudo-terminal, on a thread of its own. Records every
// request it received and can misbehave on demand.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "device.h"
#include "pty_line.h"

namespace sim {

// Replies of FD, FC and FB frames start with three equal marker bytes; "the byte after the
// markers" below is their code or command byte.
enum class Fault {
    None,
    Silence,        // no reply at all
    BadCrc,         // last CRC byte flipped
    WrongAddress,   // address byte (marker frames: the byte after the markers) changed, CRC fixed
    WrongFunction,  // function byte (or byte `param`, when given) changed, CRC made to match
    Truncate,       // only the first `param` bytes (default: all but the last three)
    ShortValid,     // the first `param` bytes with a fresh, matching CRC (default: address and
                    // function; marker frames: the markers and one byte)
    SplitPause,     // first half, a pause of `param` ms (default 80), then the rest
    DoubleReply,    // the reply twice, back to back
    LeadingNoise,   // `param` noise bytes (default 2) before the reply
    Delay,          // the reply after `param` ms; requests meanwhile are answered after it
    CloseLine,      // the line is hung up instead of answering
    Late,           // the reply `param` ms after the request; requests meanwhile get no reply
    BadEcho,        // the last byte before the CRC (a write echo's value) changed, CRC fixed
    Exception,      // Modbus exception 02 instead of the reply; marker frames: no reply
    Echo,           // the request sent back at once, as an adapter that hears itself does,
                    // also when no device answers; the reply `param` ms (default 80) later
};

struct FaultChoice {
    Fault fault = Fault::None;
    int param = 0;
};

// Faults as a command line names them: each faulted reply gets one of `faults`, picked
// uniformly; a reply is faulted with probability `rate`. The same seed and the same
// requests give the same faults.
struct FaultPlan {
    std::vector<FaultChoice> faults;
    double rate = 1.0;
    std::uint64_t seed = 1;
};

struct FaultName {
    const char* name;  // "silent", "split" (written split:MS), ...
    Fault fault;
    bool takesMs;      // needs ":MS", 1..60000 milliseconds
    const char* help;  // one line
};
// Every fault a plan can name, in the order a help text lists them.
std::span<const FaultName> FaultNames();
// "silent,split:80,late:200" -> the faults it names; nullopt and a one-line reason in
// `error` for an unknown name, a missing or bad MS, or an empty item.
std::optional<std::vector<FaultChoice>> ParseFaultList(std::string_view list, std::string* error);

class SimulatedLine {
  public:
    explicit SimulatedLine(std::shared_ptr<Device> device);
    ~SimulatedLine();
    SimulatedLine(const SimulatedLine&) = delete;
    SimulatedLine& operator=(const SimulatedLine&) = delete;

    bool Ok() const { return pty_.Ok(); }
    const std::string& Path() const { return pty_.SlavePath(); }
    Device& GetDevice() { return *device_; }
    std::uint32_t LineBaud() const { return pty_.LineBaud(); }

    // The next `count` requests (-1: every request) get replies that misbehave as `fault`
    // says.
    void SetFault(Fault fault, int count = -1, int param = 0);
    // Every reply from now on is faulted as `plan` says (an empty list: none is).
    void SetFaultPlan(const FaultPlan& plan);
    void ClearFault() { SetFault(Fault::None); }

    // Every complete request received so far, in order, whatever the line's baud rate, also
    // those ignored while a late reply was on its way.
    std::vector<Bytes> Received() const;
    void ClearReceived();
    // Sends bytes nobody asked for (noise on the bus).
    void Inject(const Bytes& bytes);

  private:
    using Clock = std::chrono::steady_clock;
    // A piece of a reply that goes out once its time has come; the device learns that its
    // reply went out after the last piece.
    struct Outgoing {
        Clock::time_point at;
        Bytes bytes;
        bool last;
    };

    void Run();
    bool AcceptsRequests() const { return outbox_.empty() || lateReply_; }
    void Serve(const Bytes& request, Clock::time_point now);
    FaultChoice DrawLocked();
    void Answer(const FaultChoice& fault, Bytes reply, Clock::time_point now);
    void Queue(Clock::time_point at, Bytes bytes, bool last = true);
    void Flush(Clock::time_point now);
    void Send(const Bytes& bytes);

    PtyLine pty_;
    std::shared_ptr<Device> device_;
    mutable std::mutex mutex_;  // guards the fault plan and the record
    std::vector<FaultChoice> faults_;
    double faultRate_ = 1.0;
    int faultCount_ = 0;
    std::mt19937_64 random_;
    std::vector<Bytes> received_;
    // Only the line's thread touches these.
    std::deque<Outgoing> outbox_;
    bool lateReply_ = false;  // the outbox holds a late reply: requests meanwhile are ignored
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
