#pragma once
// A pseudo-terminal pair: the program opens the slave path as its serial port, the
// simulated device works on the master side.
#include <atomic>
#include <cstdint>
#include <string>

namespace sim {

class PtyLine {
  public:
    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool Ok() const { return master_ >= 0; }
    const std::string& SlavePath() const { return path_; }
    int MasterFd() const { return master_; }
    // The baud rate the program set on its end of the line (0 when unknown).
    std::uint32_t LineBaud() const;
    // Hangs the line up under the program: both ends are closed for good.
    void Close();

  private:
    std::atomic<int> master_{-1};
    std::atomic<int> slave_{-1};  // held open so the line stays up while the program re-opens it
    std::string path_;
};

}  // namespace sim
