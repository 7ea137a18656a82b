#pragma once
// A local serial line on POSIX, named by its device path: raw termios, taken exclusively.
#include <atomic>
#include <string_view>
#include <vector>

#include "port_backend.h"

namespace transport {

class PosixSerialBackend : public PortBackend {
  public:
    ~PosixSerialBackend() override;
    OpenError Open(const std::string& path, const LineSettings& settings) override;
    void Close() override;
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) override;
    bool Write(const std::uint8_t* bytes, std::size_t length, bool* gone) override;
    bool Wait(Waker& waker, int timeoutMs) override;

  private:
    // Read by a Wait on the reader thread while the UI thread may close the line.
    std::atomic<int> fd_{-1};
};

// Why an open failed, from its errno, the group that owns the device and the groups of this
// user (both by name; only a refusal looks at them).
OpenError OpenErrorOf(int error, std::string_view deviceGroup,
                      const std::vector<std::string>& userGroups);

}  // namespace transport
