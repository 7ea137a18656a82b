#pragma once
// What carries a port's bytes: a local serial line, a serial device server on the network.
// Each backend is a small table of operations under the one SerialPort that the link owns;
// the factory picks the backend from the port's name.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "waker.h"

namespace transport {

struct LineSettings {
    std::uint32_t baud = 9600;
    std::uint8_t byteSize = 8;
    std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even
    std::uint8_t stopBits = 0;  // 0 one, 2 two
};

// Why a port could not be opened.
enum class OpenError : std::uint8_t {
    None,
    Missing,      // no such device or host name
    Busy,         // another program holds the line
    Denied,       // this user may not open it
    NotInGroup,   // this user may not open it, and joining its group (dialout) would allow it
    NotSerial,    // a file or device that is no serial line, a server that will not set one
    BadSettings,  // the line refused the rate or framing
    Refused,      // the server refused the connection
    NoAnswer,     // the server did not answer the line-setting negotiation in time
    Other,
};

class PortBackend {
  public:
    virtual ~PortBackend() = default;
    virtual OpenError Open(const std::string& name, const LineSettings& settings) = 0;
    // Safe to call when not open.
    virtual void Close() = 0;
    // The bytes that wait now, at most `maximum`; never blocks. Sets `gone` when the line has
    // gone away (a pulled adapter, a dropped connection).
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t maximum, bool* gone) = 0;
    // All bytes, or false after about a second; sets `gone` as Read does.
    virtual bool Write(const std::uint8_t* bytes, std::size_t length, bool* gone) = 0;
    // Sleeps until input waits, `waker` fires or `timeoutMs` pass. False when the line hung
    // up while we waited.
    virtual bool Wait(Waker& waker, int timeoutMs) = 0;
    // False where the line's rate belongs to the other end (a raw TCP server).
    virtual bool CanSetRate() const { return true; }
};

// The backend for a port name: "rfc2217://HOST:PORT", "tcp://HOST:PORT", or a device of
// this platform (a path such as /dev/ttyUSB0; COMn on Windows). Null for a name no backend
// takes.
std::shared_ptr<PortBackend> MakeBackend(const std::string& name);

}  // namespace transport
