#include "device_commands.h"

namespace device {
namespace {

constexpr ScanProbe kProbes[] = {
    {2400, Addressing::Frame},     {4800, Addressing::Frame}, {9600, Addressing::Frame},
    {9600, Addressing::Broadcast}, {9600, Addressing::Zero},
};

// A server that keeps its line's rate (raw TCP): one connection, each request once, at
// whatever rate the server has; the rate shown is then the one the device reports.
constexpr ScanProbe kFixedRateProbes[] = {
    {0, Addressing::Frame},
    {0, Addressing::Broadcast},
    {0, Addressing::Zero},
};

// One request/reply cycle; the reply in `reply`, its length returned.
std::size_t Exchange(transport::SerialLink& link, const protocol::Frame& request,
                     std::uint8_t (&reply)[transport::SerialLink::kReplySize]) {
    return link.Exchange(request.data(), request.size, reply, sizeof reply);
}

// Passes `ok` through, telling the link when a reply was accepted (a failed exchange makes
// the next request wait out a late reply first).
bool Accepted(transport::SerialLink& link, bool ok) {
    if (ok) link.ReplyAccepted();
    return ok;
}

}  // namespace

std::span<const ScanProbe> ScanProbes(const std::string& port) {
    if (transport::SerialPort::FixedRate(port)) return kFixedRateProbes;
    return kProbes;
}

std::uint8_t SlaveOf(Addressing mode) {
    return mode == Addressing::Zero ? protocol::kZeroAddress : protocol::kBroadcastAddress;
}

std::uint8_t FoundDevice::RegisterAddress() const {
    return mode == Addressing::Frame ? address : SlaveOf(mode);
}

void FoundDevice::Take(const protocol::CommBlock& block) {
    address = block.address;
    baud = block.Baud();
    baudCode = block.baudCode;
    parity = block.parity;
    stop1 = block.stop1;
    stop2 = block.stop2;
}

void FoundDevice::Take(const protocol::AddressInfo& info) {
    address = info.address;
    baud = info.Baud();
}

bool RunProbe(transport::SerialLink& link, const ScanProbe& probe, FoundDevice* found) {
    std::uint8_t reply[transport::SerialLink::kReplySize] = {};
    if (probe.kind == Addressing::Frame) {
        const std::size_t n = Exchange(link, protocol::BuildAddressFrame(0, 0), reply);
        protocol::AddressInfo info;
        if (!(n > 3 && Accepted(link, protocol::ParseAddressFrameReply(reply, n, &info))))
            return false;
        *found = {};
        found->Take(info);
        return true;
    }
    const std::size_t n = Exchange(link, protocol::BuildCommBlockRead(SlaveOf(probe.kind)), reply);
    protocol::CommBlock block;
    if (!(n > 3 && Accepted(link, protocol::ParseCommBlockReply(reply, n, &block)))) return false;
    *found = {};
    found->mode = probe.kind;
    found->Take(block);
    return true;
}

ScanResult Scan(transport::SerialLink& link, const std::string& port,
                const std::function<void(const ScanProbe&)>& probing) {
    ScanResult result;
    const std::span<const ScanProbe> probes = ScanProbes(port);
    for (const ScanProbe& probe : probes) {
        // A line whose rate the server keeps is opened once; the others at each probe's rate.
        if (&probe == &probes.front() || probe.baud != 0) {
            if (!link.Reopen(port, probe.baud)) {
                result.opened = false;
                return result;
            }
        }
        result.opened = true;
        if (probing) probing(probe);
        if (RunProbe(link, probe, &result.device)) {
            result.found = true;
            link.SetDeviceAddress(result.device.RegisterAddress());
            return result;
        }
    }
    return result;
}

bool Query(transport::SerialLink& link, FoundDevice& device) {
    std::uint8_t reply[transport::SerialLink::kReplySize] = {};
    if (device.mode != Addressing::Frame) {
        const std::size_t n =
            Exchange(link, protocol::BuildCommBlockRead(SlaveOf(device.mode)), reply);
        protocol::CommBlock block;
        if (!(n > 3 && Accepted(link, protocol::ParseCommBlockReply(reply, n, &block))))
            return false;
        device.Take(block);
        return true;
    }
    const std::size_t n = Exchange(link, protocol::BuildAddressFrame(0, 0), reply);
    protocol::AddressInfo info;
    if (!(n > 3 && Accepted(link, protocol::ParseAddressFrameReply(reply, n, &info)))) return false;
    device.Take(info);
    return true;
}

std::uint8_t CommBlockBaudCode(const FoundDevice& device) {
    if (protocol::CommBlockBaud(device.baudCode) != 0) return device.baudCode;
    return protocol::CommBlockCodeFor(device.baud);
}

bool WriteCommBlock(transport::SerialLink& link, FoundDevice& device, std::uint8_t address,
                    std::uint8_t baudCode, std::uint16_t lastRegister) {
    std::uint8_t reply[transport::SerialLink::kReplySize] = {};
    const protocol::Frame request = protocol::BuildCommBlockWrite(
        SlaveOf(device.mode), {address, baudCode, 0, 0, lastRegister});
    const std::size_t n = Exchange(link, request, reply);
    if (!Accepted(link, protocol::CheckCommBlockWriteReply(request, device.address, reply, n)))
        return false;
    // What the device holds now: a later address set writes this baud code back.
    device.address = address;
    device.baudCode = baudCode;
    return true;
}

bool SetAddressByFrame(transport::SerialLink& link, FoundDevice& device, std::uint8_t address) {
    std::uint8_t reply[transport::SerialLink::kReplySize] = {};
    const protocol::Frame request = protocol::BuildAddressFrame(0, address);
    const std::size_t n = Exchange(link, request, reply);
    protocol::AddressInfo info;
    if (!(n > 3 && Accepted(link, protocol::CheckAddressFrameSetReply(request, reply, n, &info))))
        return false;
    device.Take(info);
    return true;
}

bool SetAddress(transport::SerialLink& link, FoundDevice& device, std::uint8_t address,
                const std::function<void(AddressStep, bool)>& outcome) {
    const auto report = [&](AddressStep step, bool ok) {
        if (outcome) outcome(step, ok);
        return ok;
    };
    if (device.mode == Addressing::Broadcast) {
        if (report(AddressStep::CommBlock,
                   WriteCommBlock(link, device, address, CommBlockBaudCode(device), 0)))
            return true;
        // A failed broadcast write is followed by a second request by the FD frame.
    } else if (device.mode == Addressing::Zero) {
        return report(AddressStep::CommBlock,
                      WriteCommBlock(link, device, address, CommBlockBaudCode(device), 1));
    }
    return report(AddressStep::Frame, SetAddressByFrame(link, device, address));
}

bool IsSettableBaud(std::uint32_t baud) {
    return baud == 2400 || baud == 4800 || baud == 9600;
}

bool SetBaud(transport::SerialLink& link, FoundDevice& device, std::uint8_t address,
             std::uint32_t baud) {
    if (!IsSettableBaud(baud)) return false;
    const std::uint8_t code = protocol::AddressFrameCodeFor(baud);
    if (device.mode != Addressing::Frame) {
        // The device answers at the new rate only from now on.
        return WriteCommBlock(link, device, address, code, 1);
    }
    std::uint8_t reply[transport::SerialLink::kReplySize] = {};
    const protocol::Frame request = protocol::BuildAddressFrame(code, 0);
    const std::size_t n = Exchange(link, request, reply);
    protocol::AddressInfo info;
    // Only a reply that reports the new rate counts.
    if (!(n > 3 && Accepted(link, protocol::CheckAddressFrameSetReply(request, reply, n, &info))))
        return false;
    device.baud = baud;
    return true;
}

}  // namespace device
