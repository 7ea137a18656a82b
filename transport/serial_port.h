#pragma once
// One serial line named by its device path. Open/Close/Read are safe against each other
// across threads (the reader thread reads while the UI thread may re-open the line);
// Write, SetParams, Open and Close belong to the UI thread.
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
    // Bytes already waiting, at most `maximum`; 0 when closed or nothing waits.
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum);
    // 1 when all bytes went out, 0 when closed or the line refused them for about 1 s.
    int Write(const std::uint8_t* bytes, std::size_t length);

    // For the reader thread: sleeps until input waits, the port is opened or closed, Wake is
    // called, or `timeoutMs` pass. Keeps an idle reader off the processor.
    void WaitForInput(int timeoutMs);
    void Wake();

    // The port-ready flag.
    bool IsOpen() const { return open_.load(std::memory_order_acquire); }
    const std::string& Path() const { return path_; }
    std::uint32_t Baud() const { return baud_; }

    static bool IsSupportedBaud(std::uint32_t baud);

  private:
    void CloseLocked();

    std::string path_;
    std::uint8_t byteSize_ = 8;
    std::uint8_t parity_ = 0;
    std::uint8_t stopBits_ = 0;
    std::uint32_t baud_ = 9600;
    std::atomic<int> fd_{-1};
    int wake_ = -1;  // eventfd that ends a WaitForInput early
    std::atomic<bool> open_{false};
    std::mutex mutex_;
};

}  // namespace transport
