#include "register_device.h"

#include "modbus_crc.h"
#include "register_frames.h"

namespace sim {
namespace {

// A device names its rate by the comm block's numbering (0 = 1200 ... 5 = 38400), in the
// comm block and in its FD reply alike; there 1..3 are the codes the FD frame itself knows,
// and a device at 1200, 19200 or 38400 reports one the programs refuse. 0xFF: a rate beyond
// the numbering.
std::uint8_t RateCode(std::uint32_t baud) {
    for (std::uint8_t c = 0; protocol::CommBlockBaud(c) != 0; ++c)
        if (protocol::CommBlockBaud(c) == baud) return c;
    return 0xFF;
}

}  // namespace

void AppendCrc(Bytes& bytes) {
    const std::uint16_t crc = protocol::ModbusCrc16(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
}

Bytes ExceptionReply(std::uint8_t address, std::uint8_t function, std::uint8_t code) {
    Bytes reply{address, static_cast<std::uint8_t>(function | 0x80), code};
    AppendCrc(reply);
    return reply;
}

RegisterDevice::RegisterDevice(RegisterDeviceConfig config, RegisterMap registers, LiveUpdate live)
    : config_(config), registers_(std::move(registers)), live_(std::move(live)) {}

std::size_t RegisterDevice::RequestLength(const std::uint8_t* bytes, std::size_t n) const {
    if (n >= 1 && bytes[0] == 0xFD) return 7;
    if (n < 2) return 0;
    if (bytes[1] == protocol::kWriteMultiple) return n < 7 ? 0 : 9 + std::size_t{bytes[6]};
    return 8;
}

bool RegisterDevice::ListensTo(std::uint8_t address) const {
    if (address == config_.address) return true;
    if (config_.mode == AddressingMode::Broadcast) return address == protocol::kBroadcastAddress;
    if (config_.mode == AddressingMode::Zero) return address == protocol::kZeroAddress;
    return false;
}

Bytes RegisterDevice::Answer(const std::uint8_t* request, std::size_t n) {
    std::lock_guard lock(mutex_);
    if (!protocol::CrcMatches(request, n)) return {};
    if (request[0] == 0xFD) {
        if (config_.mode != AddressingMode::Frame || n != 7) return {};
        if (request[1] != 0xFD || request[2] != 0xFD) return {};
        return AnswerAddressFrame(request);
    }
    if (!ListensTo(request[0])) return {};
    return AnswerModbus(request, n);
}

Bytes RegisterDevice::AnswerAddressFrame(const std::uint8_t* request) {
    const std::uint8_t code = request[3];
    const std::uint8_t value = request[4];
    if (code == 0 && value != 0) {
        config_.address = value;
    } else if (code >= 1 && code <= 3 && value == 0) {
        pendingBaud_ = protocol::AddressFrameBaud(code);
    } else if (code != 0) {
        return {};
    }
    const std::uint32_t baud = pendingBaud_ ? pendingBaud_ : config_.baud;
    Bytes reply{0xFD, 0xFD, 0xFD, RateCode(baud), config_.address};
    AppendCrc(reply);
    return reply;
}

bool RegisterDevice::ReadRegisterLocked(std::uint16_t reg, std::uint16_t* value) const {
    if (config_.mode != AddressingMode::Frame && reg >= protocol::kCommBlockRegister &&
        reg < protocol::kCommBlockRegister + protocol::kCommBlockCount) {
        const std::uint8_t code = config_.reportedBaudCode >= 0
                                      ? static_cast<std::uint8_t>(config_.reportedBaudCode)
                                      : RateCode(config_.baud);
        const std::uint16_t block[5] = {config_.address, code, config_.parity, config_.stop1,
                                        config_.stop2};
        *value = block[reg - protocol::kCommBlockRegister];
        return true;
    }
    const auto it = registers_.find(reg);
    if (it == registers_.end()) return false;
    *value = it->second;
    return true;
}

bool RegisterDevice::WriteRegisterLocked(std::uint16_t reg, std::uint16_t value) {
    if (config_.mode != AddressingMode::Frame && reg >= protocol::kCommBlockRegister &&
        reg < protocol::kCommBlockRegister + protocol::kCommBlockCount) {
        switch (reg - protocol::kCommBlockRegister) {
            case 0:
                config_.address = static_cast<std::uint8_t>(value);
                break;
            case 1:
                if (protocol::CommBlockBaud(value) == 0) return false;
                pendingBaud_ = protocol::CommBlockBaud(value);
                break;
            case 2:
                config_.parity = static_cast<std::uint8_t>(value);
                break;
            case 3:
                config_.stop1 = static_cast<std::uint8_t>(value);
                break;
            default:
                config_.stop2 = static_cast<std::uint8_t>(value);
                break;
        }
        return true;
    }
    const auto it = registers_.find(reg);
    if (it == registers_.end()) return false;
    it->second = value;
    return true;
}

Bytes RegisterDevice::AnswerModbus(const std::uint8_t* request, std::size_t n) {
    const std::uint8_t address = request[0];
    const std::uint8_t function = request[1];
    const std::uint16_t reg = static_cast<std::uint16_t>(request[2] << 8 | request[3]);
    const std::uint16_t word = static_cast<std::uint16_t>(request[4] << 8 | request[5]);
    if (function == protocol::kReadHolding) {
        if (word == 0 || word > 125) return ExceptionReply(address, function, 3);
        Bytes reply{address, function, static_cast<std::uint8_t>(2 * word)};
        for (std::uint16_t i = 0; i < word; ++i) {
            std::uint16_t value = 0;
            if (!ReadRegisterLocked(static_cast<std::uint16_t>(reg + i), &value))
                return ExceptionReply(address, function, 2);
            reply.push_back(static_cast<std::uint8_t>(value >> 8));
            reply.push_back(static_cast<std::uint8_t>(value & 0xFF));
        }
        AppendCrc(reply);
        return reply;
    }
    if (function == protocol::kWriteSingle) {
        if (!WriteRegisterLocked(reg, word)) return ExceptionReply(address, function, 2);
        return Bytes(request, request + 8);
    }
    if (function == protocol::kWriteMultiple) {
        if (word == 0 || n != 9 + std::size_t{request[6]} || request[6] != 2 * word)
            return ExceptionReply(address, function, 3);
        // All or nothing: check every register first.
        for (std::uint16_t i = 0; i < word; ++i) {
            std::uint16_t old;
            if (!ReadRegisterLocked(static_cast<std::uint16_t>(reg + i), &old))
                return ExceptionReply(address, function, 2);
        }
        for (std::uint16_t i = 0; i < word; ++i) {
            const std::uint16_t value =
                static_cast<std::uint16_t>(request[7 + 2 * i] << 8 | request[8 + 2 * i]);
            if (!WriteRegisterLocked(static_cast<std::uint16_t>(reg + i), value))
                return ExceptionReply(address, function, 3);
        }
        Bytes reply(request, request + 6);
        if (config_.answerWritesFromOwnAddress && address != config_.address)
            reply[0] = config_.address;
        AppendCrc(reply);
        return reply;
    }
    return ExceptionReply(address, function, 1);
}

void RegisterDevice::AfterReply() {
    std::lock_guard lock(mutex_);
    if (pendingBaud_) config_.baud = pendingBaud_;
    pendingBaud_ = 0;
}

std::uint32_t RegisterDevice::Baud() const {
    std::lock_guard lock(mutex_);
    return config_.baud;
}

void RegisterDevice::Tick(double seconds) {
    std::lock_guard lock(mutex_);
    if (live_ && !frozen_) live_(registers_, seconds);
}

std::uint8_t RegisterDevice::Address() const {
    std::lock_guard lock(mutex_);
    return config_.address;
}

void RegisterDevice::SetRegister(std::uint16_t reg, std::uint16_t value) {
    std::lock_guard lock(mutex_);
    registers_[reg] = value;
}

std::optional<std::uint16_t> RegisterDevice::Register(std::uint16_t reg) const {
    std::lock_guard lock(mutex_);
    std::uint16_t value = 0;
    if (!ReadRegisterLocked(reg, &value)) return std::nullopt;
    return value;
}

void RegisterDevice::SetCommBlock(std::uint8_t parity, std::uint8_t stop1, std::uint8_t stop2,
                                  int reportedBaudCode) {
    std::lock_guard lock(mutex_);
    config_.reportedBaudCode = reportedBaudCode;
    config_.parity = parity;
    config_.stop1 = stop1;
    config_.stop2 = stop2;
}

void RegisterDevice::Freeze() {
    std::lock_guard lock(mutex_);
    frozen_ = true;
}

}  // namespace sim
