#pragma once
// A local serial line on Windows, named COMn or \\.\COMn: overlapped I/O on the port's
// handle, so that the reader can sleep on the line and the waker at once.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

#include "port_backend.h"

namespace transport {

// The device path CreateFile takes for a port name ("COM5", "com5" and "\\.\COM5" all give
// "\\.\COM5"); empty for a name that is no COM port.
std::string ComDevicePath(const std::string& name);

class Win32SerialBackend : public PortBackend {
  public:
    Win32SerialBackend();
    ~Win32SerialBackend() override;
    Win32SerialBackend(const Win32SerialBackend&) = delete;
    Win32SerialBackend& operator=(const Win32SerialBackend&) = delete;

    OpenError Open(const std::string& name, const LineSettings& settings) override;
    void Close() override;
    std::size_t Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) override;
    bool Write(const std::uint8_t* bytes, std::size_t length, bool* gone) override;
    bool Wait(Waker& waker, int timeoutMs) override;

  private:
    // For ports whose waits do not hold: looks at the input queue every few milliseconds
    // until bytes wait, the waker fires or `timeoutMs` pass.
    bool PollForInput(HANDLE wake, int timeoutMs);

    // The port: read by a Wait on the reader thread while the UI thread may close it. The
    // reader arms and collects its event wait under `waitMutex_`, and Close takes the same
    // mutex, so a wait never starts on a handle that is being closed, and a wait in flight
    // has ended before its handle goes.
    std::atomic<HANDLE> port_{nullptr};
    // Manual-reset events, one per kind of overlapped operation.
    HANDLE readEvent_ = nullptr;
    HANDLE writeEvent_ = nullptr;
    HANDLE waitEvent_ = nullptr;
    std::mutex waitMutex_;
    // The WaitCommEvent in flight; it may outlive one Wait and is taken up by the next.
    OVERLAPPED waitOverlapped_{};
    DWORD waitMask_ = 0;
    bool waitPending_ = false;
    // Waits in a row that the driver ended without an event (under waitMutex_).
    int emptyWaits_ = 0;
};

}  // namespace transport
