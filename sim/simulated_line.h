#pragma once
// Serves one simulated device on a pseudo-terminal, on a thread of its own. Records every
// request it received and can misbehave on demand.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device.h"
#include "pty_line.h"

namespace sim {

enum class Fault {
    None,
    Silence,        // no reply at all
    BadCrc,         // last CRC byte flipped
    WrongAddress,   // address byte changed, CRC made to match
    WrongFunction,  // function byte (or byte `param`, when given) changed, CRC made to match
    Truncate,       // only the first `param` bytes (default: all but the last three)
    ShortValid,     // the first `param` bytes with a fresh, matching CRC
    SplitPause,     // first half, a pause of `param` ms (default 80), then the rest
    DoubleReply,    // the reply twice, back to back
    LeadingNoise,   // `param` noise bytes (default 2) before the reply
    Delay,          // the reply after `param` ms
    CloseLine,      // the line is hung up instead of answering
};

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

    // The next `count` replies (-1: every reply) misbehave as `fault` says.
    void SetFault(Fault fault, int count = -1, int param = 0);
    void ClearFault() { SetFault(Fault::None); }

    // Every complete request received so far, in order, whatever the line's baud rate.
    std::vector<Bytes> Received() const;
    void ClearReceived();
    // Sends bytes nobody asked for (noise on the bus).
    void Inject(const Bytes& bytes);

  private:
    void Run();
    void Serve(const Bytes& request);
    void Send(const Bytes& bytes);

    PtyLine pty_;
    std::shared_ptr<Device> device_;
    mutable std::mutex mutex_;  // guards the fault plan and the record
    Fault fault_ = Fault::None;
    int faultCount_ = 0;
    int faultParam_ = 0;
    std::vector<Bytes> received_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
