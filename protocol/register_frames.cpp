#include "register_frames.h"

#include "modbus_crc.h"

namespace protocol {

void Frame::AppendCrc() {
    const std::uint16_t crc = ModbusCrc16(bytes.data(), size);
    Put(static_cast<std::uint8_t>(crc & 0xFF));
    Put(static_cast<std::uint8_t>(crc >> 8));
}

Frame BuildReadRegisters(std::uint8_t address, std::uint16_t reg, std::uint8_t count) {
    Frame f{address, kReadHolding};
    f.Put16(reg);
    f.Put16(count);
    f.AppendCrc();
    return f;
}

Frame BuildWriteRegister(std::uint8_t address, std::uint16_t reg, std::uint16_t value) {
    Frame f{address, kWriteSingle};
    f.Put16(reg);
    f.Put16(value);
    f.AppendCrc();
    return f;
}

Frame BuildWriteRegisterPair(std::uint8_t address, std::uint16_t reg, std::uint32_t value) {
    Frame f{address, kWriteMultiple};
    f.Put16(reg);
    f.Put16(2);
    f.Put(4);
    f.Put16(static_cast<std::uint16_t>(value >> 16));
    f.Put16(static_cast<std::uint16_t>(value & 0xFFFF));
    f.AppendCrc();
    return f;
}

Frame BuildCommBlockRead(std::uint8_t address) {
    return BuildReadRegisters(address, kCommBlockRegister, kCommBlockCount);
}

Frame BuildCommBlockWrite(std::uint8_t address, const std::array<std::uint16_t, 5>& regs) {
    Frame f{address, kWriteMultiple};
    f.Put16(kCommBlockRegister);
    f.Put16(kCommBlockCount);
    f.Put(2 * kCommBlockCount);
    for (std::uint16_t r : regs) f.Put16(r);
    f.AppendCrc();
    return f;
}

Frame BuildAddressFrame(std::uint8_t code, std::uint8_t address) {
    Frame f{0xFD, 0xFD, 0xFD, code, address};
    f.AppendCrc();
    return f;
}

ExchangeStatus CheckReadReply(std::uint8_t address, std::uint8_t count, const std::uint8_t* reply,
                              std::size_t n, std::uint16_t* out) {
    if (n <= 3) return ExchangeStatus::NoReply;
    if (reply[0] != address || reply[1] != kReadHolding) return ExchangeStatus::NoReply;
    if (!CrcMatches(reply, n)) return ExchangeStatus::CheckFailed;
    // The registers start at byte 3 and the CRC follows them, so a reply is exactly that long.
    // A longer one is not taken either: the 8-byte echo of a one-register request (an adapter
    // hearing itself) has a valid CRC and would read as a register value.
    if (n != 3 + 2 * std::size_t{count} + 2) return ExchangeStatus::NoReply;
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint16_t>(reply[3 + 2 * i] << 8 | reply[4 + 2 * i]);
    return ExchangeStatus::Ok;
}

ExchangeStatus CheckWriteReply(const Frame& request, const std::uint8_t* reply, std::size_t n) {
    if (n <= 3) return ExchangeStatus::NoReply;
    if (n < 8 || request.size < 8) return ExchangeStatus::CheckFailed;
    for (std::size_t i = 0; i < 8; ++i)
        if (reply[i] != request[i]) return ExchangeStatus::CheckFailed;
    return ExchangeStatus::Ok;
}

ExchangeStatus CheckWritePairReply(const Frame& request, const std::uint8_t* reply, std::size_t n) {
    if (n <= 3) return ExchangeStatus::NoReply;
    if (!CrcMatches(reply, n)) return ExchangeStatus::CheckFailed;
    // Address, function, register and quantity, then the CRC: nothing less confirms.
    constexpr std::size_t kReplySize = 8;
    constexpr std::size_t kEchoed = 6;
    if (n != kReplySize || request.size < kEchoed) return ExchangeStatus::NoReply;
    for (std::size_t i = 0; i < kEchoed; ++i)
        if (reply[i] != request[i]) return ExchangeStatus::NoReply;
    return ExchangeStatus::Ok;
}

std::uint32_t CommBlockBaud(unsigned code) {
    static constexpr std::uint32_t kRates[] = {1200, 2400, 4800, 9600, 19200, 38400};
    return code < 6 ? kRates[code] : 0;
}

std::uint8_t CommBlockCodeFor(std::uint32_t baud) {
    switch (baud) {
        case 2400:
            return 1;
        case 4800:
            return 2;
        case 9600:
            return 3;
        default:
            return 2;
    }
}

std::uint32_t AddressFrameBaud(unsigned code) {
    switch (code) {
        case 1:
            return 2400;
        case 2:
            return 4800;
        case 3:
            return 9600;
        default:
            return 0;
    }
}

std::uint8_t AddressFrameCodeFor(std::uint32_t baud) {
    switch (baud) {
        case 2400:
            return 1;
        case 4800:
            return 2;
        case 9600:
            return 3;
        default:
            return 0;
    }
}

bool ParseCommBlockReply(const std::uint8_t* reply, std::size_t n, CommBlock* out) {
    if (n < 3 + 2 * kCommBlockCount + 2) return false;
    if (reply[1] & 0x80) return false;  // exception reply
    if (!CrcMatches(reply, n)) return false;
    out->address = reply[4];
    out->baudCode = reply[6];
    out->parity = reply[8];
    out->stop1 = reply[10];
    out->stop2 = reply[12];
    return true;
}

bool CheckCommBlockWriteReply(const Frame& request, std::uint8_t deviceAddress,
                              const std::uint8_t* reply, std::size_t n) {
    // The request: target, 10 02 00 00 05 0A, then the five registers (address first).
    constexpr std::size_t kNewAddressLow = 8;
    constexpr std::uint8_t kEcho[] = {kWriteMultiple, kCommBlockRegister >> 8,
                                      kCommBlockRegister & 0xFF, 0, kCommBlockCount};
    if (n != 8 || request.size <= kNewAddressLow || !CrcMatches(reply, n)) return false;
    for (std::size_t i = 0; i < sizeof kEcho; ++i)
        if (reply[1 + i] != kEcho[i]) return false;
    const std::uint8_t from = reply[0];
    return from == request[0] || from == deviceAddress || from == request[kNewAddressLow];
}

bool ParseAddressFrameReply(const std::uint8_t* reply, std::size_t n, AddressInfo* out) {
    if (n < 7) return false;
    if (!CrcMatches(reply, n)) return false;
    if (reply[0] != 0xFD || reply[1] != 0xFD || reply[2] != 0xFD) return false;
    if (reply[3] < 1 || reply[3] > 3) return false;
    out->baudCode = reply[3];
    out->address = reply[4];
    return true;
}

bool CheckAddressFrameSetReply(const Frame& request, const std::uint8_t* reply, std::size_t n,
                               AddressInfo* out) {
    AddressInfo info;
    if (request.size < 5 || !ParseAddressFrameReply(reply, n, &info)) return false;
    const std::uint8_t code = request[3];
    const std::uint8_t address = request[4];
    if (code == 0 && address != 0 && info.address != address) return false;
    if (code != 0 && info.baudCode != code) return false;
    *out = info;
    return true;
}

const char* ParityText(unsigned code) {
    switch (code) {
        case 0:
            return "无校验";
        case 1:
            return "奇校验";
        case 2:
            return "偶校验";
        default:
            return "错误校验";
    }
}

}  // namespace protocol
