#pragma once
// One serial line named by its device path. Open/Close/Read/Write are safe against each
// other across threads (the reader thread reads while the UI thread may write or re-open the
// line, and the reader closes a line that went away under it); SetParams belongs to the UI
// thread.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace transport {

class SerialPort {
  public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Stores the settings only; they take effect at the next Open. The programs always
    // pass 8 data bits, parity 0 (none) and stop bits 0 (one).
    void SetParams(const std::string& path, std::uint8_t byteSize, std::uint8_t parity,
                   std::uint8_t stopBits, std::uint32_t baud);
    // Nonzero on success. A missing path, a file that is not a terminal, a busy line or a
    // baud rate the platform cannot set all give 0.
    int Open();
    void Close();
    // Bytes already waiting, at most `maximum`; 0 when closed or nothing waits. A line that
    // reports an error here has gone away: it is closed and marked lost.
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum);
    // 1 when all bytes went out, 0 when closed or the line refused them for about 1 s. A
    // line that has gone away is closed and marked lost.
    int Write(const std::uint8_t* bytes, std::size_t length);

    // For the reader thread: sleeps until input waits, the port is opened or closed, Wake is
    // called, or `timeoutMs` pass. Keeps an idle reader off the processor. A line that hangs
    // up while we wait (the adapter pulled, the other end of a pseudo-terminal closed) is
    // closed and marked lost, so the reader goes back to sleep instead of spinning on it.
    void WaitForInput(int timeoutMs);
    void Wake();

    // The port-ready flag.
    bool IsOpen() const { return open_.load(std::memory_order_acquire); }
    // True once the open line went away under the program, until the next successful Open.
    bool Lost() const { return lost_.load(std::memory_order_acquire); }
    const std::string& Path() const { return path_; }
    std::uint32_t Baud() const { return baud_; }

    static bool IsSupportedBaud(std::uint32_t baud);

  private:
    void CloseLocked();
    void LoseLocked();

    std::string path_;
    std::uint8_t byteSize_ = 8;
    std::uint8_t parity_ = 0;
    std::uint8_t stopBits_ = 0;
    std::uint32_t baud_ = 9600;
    std::atomic<int> fd_{-1};
    int wake_ = -1;  // eventfd that ends a WaitForInput early
    std::atomic<bool> open_{false};
    std::atomic<bool> lost_{false};
    std::mutex mutex_;
};

}  // namespace transport
