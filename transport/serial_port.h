#pragma once
// The one port a link talks through, whatever carries it: it picks the backend from the
// port's name at each Open and keeps what every backend shares. Open/Close/Read/Write are
// safe against each other across threads (the reader thread reads while the UI thread may
// write or re-open the line, and the reader closes a line that went away under it);
// SetParams belongs to the UI thread.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "port_backend.h"
#include "waker.h"

namespace transport {

class SerialPort {
  public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Stores the settings only; they take effect at the next Open. The programs always
    // pass 8 data bits, parity 0 (none) and stop bits 0 (one). `path` is the port's name.
    void SetParams(const std::string& path, std::uint8_t byteSize, std::uint8_t parity,
                   std::uint8_t stopBits, std::uint32_t baud);
    // Nonzero on success. A missing path, a file that is not a terminal, a busy line, a
    // server that does not answer or a baud rate the line cannot take all give 0, and
    // LastOpenError says which.
    int Open();
    void Close();
    OpenError LastOpenError() const { return openError_; }
    // Bytes already waiting, at most `maximum`; 0 when closed or nothing waits. A line that
    // reports an error here has gone away: it is closed and marked lost.
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum);
    // 1 when all bytes went out, 0 when closed or the line refused them for about 1 s. A
    // line that has gone away is closed and marked lost.
    int Write(const std::uint8_t* bytes, std::size_t length);

    // For the reader thread: sleeps until input waits, the port is opened or closed, Wake is
    // called, or `timeoutMs` pass. Keeps an idle reader off the processor. A line that hangs
    // up while we wait (the adapter pulled, the other end of a pseudo-terminal closed, the
    // connection dropped) is closed and marked lost, so the reader goes back to sleep instead
    // of spinning on it.
    void WaitForInput(int timeoutMs);
    void Wake() { waker_.Wake(); }

    // The port-ready flag.
    bool IsOpen() const { return open_.load(std::memory_order_acquire); }
    // True once the open line went away under the program, until the next successful Open.
    bool Lost() const { return lost_.load(std::memory_order_acquire); }
    // False where the line's rate is fixed at the other end (raw TCP): for the open port,
    // or by the name of the port to open when none is open.
    bool CanSetRate() const;
    const std::string& Path() const { return path_; }
    // The rate this program set on the line; 0 while the port open is one whose rate belongs
    // to the server, which the program cannot know.
    std::uint32_t Baud() const {
        return fixedRate_.load(std::memory_order_acquire) ? 0 : settings_.baud;
    }

    // A port by this name has a rate fixed at the other end ("tcp://HOST:PORT").
    static bool FixedRate(const std::string& name);

    // A local serial line of this platform can be set to this rate.
    static bool IsSupportedBaud(std::uint32_t baud);

  private:
    void CloseLocked();
    void LoseLocked();

    std::string path_;
    LineSettings settings_;
    OpenError openError_ = OpenError::None;
    Waker waker_;
    std::shared_ptr<PortBackend> backend_;  // guarded by mutex_; a wait holds its own copy
    std::atomic<bool> open_{false};
    std::atomic<bool> lost_{false};
    std::atomic<bool> fixedRate_{false};  // the open line's rate is the server's
    mutable std::mutex mutex_;
};

}  // namespace transport
