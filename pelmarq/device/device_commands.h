#pragma once
// Finding the one device on the bus and changing its address and baud rate, as exchanges on
// a link: the scan's probes and what each accepts, and the address and baud frames with
// the replies that confirm them. The window and pelmarq-cli run these and say the outcome
// in their own words. No Qt.
#include <cstdint>
#include <span>
#include <string>

#include "link_diagnosis.h"
#include "register_frames.h"
#include "serial_link.h"

namespace device {

using protocol::Addressing;

// The scan, in order: the FD query at 2400, 4800 and 9600 baud, then the comm block read at
// 9600 baud at 0xFF and at 0.
struct ScanProbe {
    std::uint32_t baud;
    Addressing kind;
};
// Over a port whose rate the server keeps (tcp://) the three requests go out once each at
// the server's rate (baud 0), on one connection.
std::span<const ScanProbe> ScanProbes(const std::string& port);
// The fixed address of a comm block mode (0xFF or 0); unused for the FD frame.
std::uint8_t SlaveOf(Addressing mode);

// What the device said about itself, and how it is found.
struct FoundDevice {
    Addressing mode = Addressing::Frame;
    std::uint8_t address = 0;      // the device's own address as it reported it
    std::uint32_t baud = 0;        // the rate it runs at (0: a code without a rate)
    std::uint8_t baudCode = 0xFF;  // comm block: the baud code it reported
    std::uint8_t parity = 0;       // comm block only
    std::uint8_t stop1 = 0;
    std::uint8_t stop2 = 0;
    // The comm block's stop-bit status words are those of one stop bit.
    bool StopBitsOk() const { return stop1 == 0 && stop2 == 1; }
    // The address register operations go to: 0xFF or 0 in the comm block modes, the
    // device's own with the FD frame.
    std::uint8_t RegisterAddress() const;
    void Take(const protocol::CommBlock& block);
    void Take(const protocol::AddressInfo& info);
};

// One probe on a link already open at the probe's rate: the request, the first burst, the
// probe's accept rule. On acceptance the link is told and `found` holds the device.
bool RunProbe(transport::SerialLink& link, const ScanProbe& probe, FoundDevice* found);

struct ScanResult {
    bool opened = false;  // false: the port would not open (the link says why)
    bool found = false;
    FoundDevice device;
};
// Every probe in turn, the port re-opened at each rate, until one is answered. The port is
// left open at the last rate tried; the link's device address is set to RegisterAddress().
// `probing` is told each probe before it goes out.
ScanResult Scan(transport::SerialLink& link, const std::string& port,
                const std::function<void(const ScanProbe&)>& probing = {});

// Reads the address and rate the device reports, in its mode. On success `device` takes
// them (the mode is kept).
bool Query(transport::SerialLink& link, FoundDevice& device);

// The comm block code an address change writes back: the one the device reported where it
// is a rate, else the code for its current rate. Changing the address never changes the rate.
std::uint8_t CommBlockBaudCode(const FoundDevice& device);
// A comm block write at the mode's fixed address, confirmed by its reply; on success
// `device` holds the written address and code.
bool WriteCommBlock(transport::SerialLink& link, FoundDevice& device, std::uint8_t address,
                    std::uint8_t baudCode, std::uint16_t lastRegister);
// The FD frame's address set, confirmed by a reply that reports the new address.
bool SetAddressByFrame(transport::SerialLink& link, FoundDevice& device, std::uint8_t address);

// The steps of an address change in the device's mode: broadcast, then (after a failure)
// the FD frame; zero-address alone; the FD frame alone. Each step's outcome is reported.
enum class AddressStep : std::uint8_t { CommBlock, Frame };
bool SetAddress(transport::SerialLink& link, FoundDevice& device, std::uint8_t address,
                const std::function<void(AddressStep, bool ok)>& outcome = {});

// A baud rate change: 2400, 4800 or 9600 only (false without a request for any other). The
// comm block modes write `address` and the new code at the fixed address; the FD frame
// sends the code and needs a reply that reports it. The port stays at its rate.
bool IsSettableBaud(std::uint32_t baud);
bool SetBaud(transport::SerialLink& link, FoundDevice& device, std::uint8_t address,
             std::uint32_t baud);

}  // namespace device
